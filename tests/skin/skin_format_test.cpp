// The ".SHE" reader must accept what the writer makes and refuse anything
// damaged without reading outside the bytes it was given.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "skinlib/skin_format.h"

namespace {

using namespace morvane::skin;
using Block = std::vector<std::uint8_t>;

Skin sampleSkin() {
    Skin skin;
    for (std::size_t i = 0; i < kRoleCount; ++i)
        skin.colours[i] = Rgb{static_cast<std::uint8_t>(10 * i), static_cast<std::uint8_t>(255 - i),
                              static_cast<std::uint8_t>(i * 7 + 1)};
    skin.setName("Sample");
    skin.cornerRadius = 3;
    return skin;
}

std::uint32_t get32(const Block& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t get16(const Block& b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8)); }
void put(Block& b, std::size_t at, std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i) b[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Recomputes the checksum after a test has changed covered bytes, so that
// the check under test is the one that has to catch the change.  Leaves the
// checksum alone when the header points outside the block.
void reseal(Block& b) {
    const std::uint64_t paletteOffset = get32(b, 12), paletteBytes = get16(b, 16) * std::uint64_t{get16(b, 18)};
    const std::uint64_t nameOffset = get32(b, 20), nameLength = get16(b, 24);
    if (paletteOffset + paletteBytes > b.size() || nameOffset + nameLength > b.size()) return;
    std::uint32_t crc = crc32(b.data(), 28);
    crc = crc32(b.data() + paletteOffset, paletteBytes, crc);
    crc = crc32(b.data() + (nameLength ? nameOffset : 0), nameLength, crc);
    put(b, 28, crc, 4);
}

// Parses a copy that lives in a heap block of exactly `size` bytes, so that
// the sanitizers see any read past its end.
ParseResult parseExact(const std::uint8_t* data, std::size_t size) {
    auto copy = std::make_unique<std::uint8_t[]>(size);
    if (size) std::memcpy(copy.get(), data, size);
    return parseSkin(copy.get(), size);
}
ParseResult parseExact(const Block& b) { return parseExact(b.data(), b.size()); }

TEST(SkinFormat, Crc32MatchesTheStandardCheckValue) {
    const char* check = "123456789";
    EXPECT_EQ(crc32(reinterpret_cast<const std::uint8_t*>(check), 9), 0xCBF43926u);
}

TEST(SkinFormat, RoundTripsAtEverySize) {
    const Skin skin = sampleSkin();
    for (std::size_t size : {minimumSkinSize(skin), minimumSkinSize(skin) + 1, std::size_t{13192}}) {
        const Block block = serializeSkin(skin, size);
        ASSERT_EQ(block.size(), size);
        EXPECT_TRUE(std::equal(block.begin(), block.begin() + 4, ".SHE"));
        const ParseResult parsed = parseExact(block);
        ASSERT_TRUE(parsed.ok()) << size << ": error " << static_cast<int>(parsed.error);
        EXPECT_EQ(parsed.skin, skin);
    }
}

TEST(SkinFormat, SkinWithoutNameRoundTrips) {
    Skin skin = sampleSkin();
    skin.setName("");
    const ParseResult parsed = parseExact(serializeSkin(skin, 200));
    ASSERT_TRUE(parsed.ok());
    EXPECT_EQ(parsed.skin, skin);
}

TEST(SkinFormat, WriterRefusesWhatItCannotWrite) {
    Skin skin = sampleSkin();
    EXPECT_TRUE(serializeSkin(skin, minimumSkinSize(skin) - 1).empty());
    skin.cornerRadius = kMaxCornerRadius + 1;
    EXPECT_TRUE(serializeSkin(skin, 1000).empty());
    EXPECT_FALSE(skin.setName(std::string(kMaxNameLength + 1, 'a')));
    EXPECT_FALSE(skin.setName("caf\xC3\xA9"));
    EXPECT_EQ(skin.nameView(), "Sample");
}

TEST(SkinFormat, NoDataIsRefused) {
    const Block block = serializeSkin(sampleSkin(), 300);
    EXPECT_EQ(parseSkin(nullptr, 0).error, ParseError::NoData);
    EXPECT_EQ(parseSkin(nullptr, block.size()).error, ParseError::NoData);
    EXPECT_EQ(parseSkin(block.data(), 0).error, ParseError::TooShort);
}

TEST(SkinFormat, EveryTruncationIsRefused) {
    const Block block = serializeSkin(sampleSkin(), 1024);
    for (std::size_t n = 0; n < block.size(); ++n) EXPECT_FALSE(parseExact(block.data(), n).ok()) << n;
}

TEST(SkinFormat, ExtraBytesAreRefused) {
    Block block = serializeSkin(sampleSkin(), 300);
    block.push_back(0);
    EXPECT_EQ(parseExact(block).error, ParseError::SizeMismatch);
}

TEST(SkinFormat, EveryBitFlipInTheContentIsRefused) {
    const Skin skin = sampleSkin();
    const Block block = serializeSkin(skin, minimumSkinSize(skin) + 64);
    for (std::size_t i = 0; i < block.size(); ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            Block damaged = block;
            damaged[i] ^= static_cast<std::uint8_t>(1 << bit);
            const ParseResult parsed = parseExact(damaged);
            if (i < minimumSkinSize(skin)) {
                EXPECT_FALSE(parsed.ok()) << "byte " << i << " bit " << bit;
            } else {
                // Padding is not part of the skin.
                EXPECT_TRUE(parsed.ok()) << "byte " << i << " bit " << bit;
                EXPECT_EQ(parsed.skin, skin);
            }
        }
    }
}

struct HeaderCase {
    const char* what;
    std::size_t offset;
    int width;
    std::uint64_t value;
    ParseError expected;
};

TEST(SkinFormat, HeaderOutOfRangeIsRefused) {
    const Block block = serializeSkin(sampleSkin(), 400);
    const std::uint64_t total = block.size();
    const HeaderCase cases[] = {
        {"magic", 3, 1, 'F', ParseError::BadMagic},
        {"version 0", 4, 2, 0, ParseError::BadVersion},
        {"version 2", 4, 2, 2, ParseError::BadVersion},
        {"header size 31", 6, 2, 31, ParseError::BadHeaderSize},
        {"header size 33", 6, 2, 33, ParseError::BadHeaderSize},
        {"total one more", 8, 4, total + 1, ParseError::TooShort},
        {"total huge", 8, 4, 0xFFFFFFFF, ParseError::TooShort},
        {"total one less", 8, 4, total - 1, ParseError::SizeMismatch},
        {"total zero", 8, 4, 0, ParseError::SizeMismatch},
        {"palette inside header", 12, 4, 31, ParseError::BadPalette},
        {"palette at zero", 12, 4, 0, ParseError::BadPalette},
        {"palette past end", 12, 4, total - 87, ParseError::BadPalette},
        {"palette offset huge", 12, 4, 0xFFFFFFFF, ParseError::BadPalette},
        {"too few entries", 16, 2, kRoleCount - 1, ParseError::BadPalette},
        {"too many entries", 16, 2, kRoleCount + 1, ParseError::BadPalette},
        {"entry count huge", 16, 2, 0xFFFF, ParseError::BadPalette},
        {"entry size 3", 18, 2, 3, ParseError::BadPalette},
        {"entry size 0", 18, 2, 0, ParseError::BadPalette},
        {"name inside header", 20, 4, 4, ParseError::BadName},
        {"name over palette", 20, 4, kHeaderSize + 8, ParseError::BadName},
        {"name past end", 20, 4, total - 2, ParseError::BadName},
        {"name offset huge", 20, 4, 0xFFFFFFF0, ParseError::BadName},
        {"name too long", 24, 2, kMaxNameLength + 1, ParseError::BadName},
        {"name length huge", 24, 2, 0xFFFF, ParseError::BadName},
        {"corner radius", 26, 1, kMaxCornerRadius + 1, ParseError::BadCornerRadius},
        {"flags", 27, 1, 1, ParseError::BadFlags},
    };
    for (const HeaderCase& c : cases) {
        Block damaged = block;
        put(damaged, c.offset, c.value, c.width);
        reseal(damaged);
        EXPECT_EQ(parseExact(damaged).error, c.expected) << c.what;
    }
}

TEST(SkinFormat, DamagedContentIsRefused) {
    const Block block = serializeSkin(sampleSkin(), 400);
    const std::size_t entries = kHeaderSize, name = kHeaderSize + kRoleCount * kEntrySize;
    const struct {
        const char* what;
        std::size_t offset;
        std::uint8_t value;
        ParseError expected;
    } cases[] = {
        {"unknown role", entries, kRoleCount, ParseError::BadRole},
        {"repeated role", entries + kEntrySize, 0, ParseError::BadRole},
        {"control character in name", name, 0x1F, ParseError::BadName},
        {"non-ASCII name", name + 1, 0xC3, ParseError::BadName},
    };
    for (const auto& c : cases) {
        Block damaged = block;
        damaged[c.offset] = c.value;
        EXPECT_EQ(parseExact(damaged).error, ParseError::ChecksumMismatch) << c.what;
        reseal(damaged);
        EXPECT_EQ(parseExact(damaged).error, c.expected) << c.what;
    }
}

TEST(SkinFormat, ReaderFollowsOffsetsAndRoleTags) {
    // A block laid out differently from what the writer makes: palette and
    // name further back, entries in reverse order.
    const Skin skin = sampleSkin();
    const Block plain = serializeSkin(skin, 600);
    Block moved(plain.begin(), plain.begin() + kHeaderSize);
    moved.resize(plain.size(), 0);
    const std::size_t palette = 300, name = 500;
    for (std::size_t i = 0; i < kRoleCount; ++i)
        std::copy_n(plain.begin() + kHeaderSize + i * kEntrySize, kEntrySize,
                    moved.begin() + palette + (kRoleCount - 1 - i) * kEntrySize);
    std::copy_n(plain.begin() + kHeaderSize + kRoleCount * kEntrySize, skin.nameView().size(), moved.begin() + name);
    put(moved, 12, palette, 4);
    put(moved, 20, name, 4);
    reseal(moved);
    const ParseResult parsed = parseExact(moved);
    ASSERT_TRUE(parsed.ok()) << static_cast<int>(parsed.error);
    EXPECT_EQ(parsed.skin, skin);
}

TEST(SkinFormat, RandomDataIsReadSafely) {
    std::mt19937 random(20240611);
    const Block valid = serializeSkin(sampleSkin(), 256);
    for (int round = 0; round < 3000; ++round) {
        Block data(random() % 300);
        for (auto& byte : data) byte = static_cast<std::uint8_t>(random());
        // Mostly a valid header with random changes, sometimes pure noise.
        if (round % 4 != 0) {
            std::copy_n(valid.begin(), std::min(data.size(), valid.size()), data.begin());
            for (int k = 0; k < 3 && !data.empty(); ++k) data[random() % data.size()] = static_cast<std::uint8_t>(random());
        }
        const ParseResult parsed = parseExact(data);
        if (!parsed.ok()) {
            EXPECT_EQ(parsed.skin, Skin{});
        }
    }
}

TEST(SkinFormat, RoleNamesRoundTrip) {
    for (std::size_t i = 0; i < kRoleCount; ++i) {
        Role role{};
        ASSERT_TRUE(roleFromName(roleName(static_cast<Role>(i)), role)) << i;
        EXPECT_EQ(static_cast<std::size_t>(role), i);
    }
    Role role{};
    EXPECT_FALSE(roleFromName("window.Back", role));
    EXPECT_FALSE(roleFromName("", role));
}

}  // namespace
