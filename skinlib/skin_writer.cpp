// Writing ".SHE" blocks: used by the skin generator and the tests, never by
// SkinH_EL.dll, which only reads (keeping the allocating code out of it).
#include <algorithm>
#include <iterator>

#include "skinlib/skin_format.h"
#include "skinlib/skin_layout.h"

namespace morvane::skin {

using namespace layout;

std::size_t minimumSkinSize(const Skin& skin) {
    return kHeaderSize + kRoleCount * kEntrySize + skin.nameView().size();
}

std::vector<std::uint8_t> serializeSkin(const Skin& skin, std::size_t totalSize) {
    const std::string_view name = skin.nameView();
    if (totalSize < minimumSkinSize(skin) || totalSize > 0xFFFFFFFFu || skin.cornerRadius > kMaxCornerRadius)
        return {};
    std::vector<std::uint8_t> block(totalSize, 0);
    std::uint8_t* p = block.data();
    std::copy(std::begin(kMagic), std::end(kMagic), p);
    put16(p + kVersion, kFormatVersion);
    put16(p + kHeaderSizeField, kHeaderSize);
    put32(p + kTotalSize, static_cast<std::uint32_t>(totalSize));
    put32(p + kPaletteOffset, kHeaderSize);
    put16(p + kPaletteCount, kRoleCount);
    put16(p + kEntrySizeField, kEntrySize);
    const std::size_t nameOffset = kHeaderSize + kRoleCount * kEntrySize;
    put32(p + kNameOffset, static_cast<std::uint32_t>(nameOffset));
    put16(p + kNameLength, static_cast<std::uint16_t>(name.size()));
    p[kCornerRadius] = skin.cornerRadius;
    p[kFlags] = 0;
    for (std::size_t i = 0; i < kRoleCount; ++i) {
        std::uint8_t* entry = p + kHeaderSize + i * kEntrySize;
        entry[0] = static_cast<std::uint8_t>(i);
        entry[1] = skin.colours[i].r;
        entry[2] = skin.colours[i].g;
        entry[3] = skin.colours[i].b;
    }
    std::copy(name.begin(), name.end(), p + nameOffset);
    put32(p + kChecksum, blockChecksum(p, kHeaderSize, kRoleCount * kEntrySize, nameOffset, name.size()));
    return block;
}

}  // namespace morvane::skin
