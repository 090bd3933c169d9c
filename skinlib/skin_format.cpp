// Reading and checking ".SHE" blocks: everything SkinH_EL.dll needs of the
// format, with no allocation and no exceptions.
#include "skinlib/skin_format.h"
#include "skinlib/skin_layout.h"

#include <algorithm>
#include <iterator>

namespace morvane::skin {
namespace {

using namespace layout;

constexpr std::string_view kRoleNames[kRoleCount] = {
    "window.back",        "window.text",           "page.back",          "page.text",
    "tab.face",           "tab.text",              "tab.border",         "tab.accent",
    "button.face.top",    "button.face.bottom",    "button.hot.top",     "button.hot.bottom",
    "button.pressed.top", "button.pressed.bottom", "button.text",        "button.text.disabled",
    "button.border",      "button.focus",          "edit.back",          "edit.text",
    "edit.readonly.back", "edit.border",
};

bool printable(char c) { return c >= 0x20 && c <= 0x7E; }

}  // namespace

std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc) noexcept {
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

bool Skin::setName(std::string_view text) {
    if (text.size() > kMaxNameLength || !std::all_of(text.begin(), text.end(), printable)) return false;
    name.fill('\0');
    std::copy(text.begin(), text.end(), name.begin());
    return true;
}

std::string_view roleName(Role role) {
    const auto index = static_cast<std::size_t>(role);
    return index < kRoleCount ? kRoleNames[index] : std::string_view{};
}

bool roleFromName(std::string_view name, Role& role) {
    for (std::size_t i = 0; i < kRoleCount; ++i) {
        if (kRoleNames[i] == name) {
            role = static_cast<Role>(i);
            return true;
        }
    }
    return false;
}

ParseResult parseSkin(const std::uint8_t* data, std::size_t size) noexcept {
    ParseResult result;
    auto fail = [&result](ParseError error) {
        result.error = error;
        result.skin = Skin{};
        return result;
    };
    if (data == nullptr) return fail(ParseError::NoData);
    if (size < sizeof kMagic) return fail(ParseError::TooShort);
    if (!std::equal(std::begin(kMagic), std::end(kMagic), data)) return fail(ParseError::BadMagic);
    if (size < kHeaderSize) return fail(ParseError::TooShort);
    if (get16(data + kVersion) != kFormatVersion) return fail(ParseError::BadVersion);
    if (get16(data + kHeaderSizeField) != kHeaderSize) return fail(ParseError::BadHeaderSize);

    // All extents in 64 bits, so that no sum of 32-bit fields can wrap.
    const std::uint64_t total = get32(data + kTotalSize);
    if (total > size) return fail(ParseError::TooShort);
    if (total != size) return fail(ParseError::SizeMismatch);

    const std::uint64_t paletteOffset = get32(data + kPaletteOffset);
    const std::uint64_t paletteCount = get16(data + kPaletteCount);
    const std::uint64_t paletteEnd = paletteOffset + paletteCount * kEntrySize;
    if (get16(data + kEntrySizeField) != kEntrySize || paletteCount != kRoleCount || paletteOffset < kHeaderSize ||
        paletteEnd > total)
        return fail(ParseError::BadPalette);

    const std::uint64_t nameOffset = get32(data + kNameOffset);
    const std::uint64_t nameLength = get16(data + kNameLength);
    const std::uint64_t nameEnd = nameOffset + nameLength;
    if (nameLength > kMaxNameLength) return fail(ParseError::BadName);
    if (nameLength > 0 &&
        (nameOffset < kHeaderSize || nameEnd > total || (nameOffset < paletteEnd && paletteOffset < nameEnd)))
        return fail(ParseError::BadName);

    const std::uint8_t corner = data[kCornerRadius];
    if (corner > kMaxCornerRadius) return fail(ParseError::BadCornerRadius);
    if (data[kFlags] != 0) return fail(ParseError::BadFlags);

    const std::size_t nameStart = nameLength > 0 ? static_cast<std::size_t>(nameOffset) : 0;
    if (blockChecksum(data, static_cast<std::size_t>(paletteOffset), static_cast<std::size_t>(paletteEnd - paletteOffset),
                      nameStart, static_cast<std::size_t>(nameLength)) != get32(data + kChecksum))
        return fail(ParseError::ChecksumMismatch);

    bool seen[kRoleCount] = {};
    for (std::uint64_t i = 0; i < paletteCount; ++i) {
        const std::uint8_t* entry = data + paletteOffset + i * kEntrySize;
        if (entry[0] >= kRoleCount || seen[entry[0]]) return fail(ParseError::BadRole);
        seen[entry[0]] = true;
        result.skin.colours[entry[0]] = Rgb{entry[1], entry[2], entry[3]};
    }
    // The count equals kRoleCount and no role repeats, so every role is there.

    for (std::uint64_t i = 0; i < nameLength; ++i) {
        const char c = static_cast<char>(data[nameStart + i]);
        if (!printable(c)) return fail(ParseError::BadName);
        result.skin.name[i] = c;
    }
    result.skin.cornerRadius = corner;
    return result;
}

}  // namespace morvane::skin
