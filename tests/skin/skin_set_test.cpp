// The skin set as the build generates it: the sizes the program carries, the
// ".SHE" mark, data the skin library accepts, and readable colours.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "skinlib/skin_description.h"
#include "skinlib/skin_format.h"

namespace {

using namespace morvane::skin;

constexpr std::size_t kSkinSizes[33] = {
    15574, 9533,  19786, 19497, 17699, 41098, 12564, 18930, 13192, 24409, 30738,
    8321,  26370, 15733, 12105, 23603, 20863, 16746, 11676, 17997, 12882, 37461,
    30958, 25715, 34523, 28961, 29447, 15562, 20738, 18765, 31134, 44110, 20275,
};

std::string twoDigits(int n) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d", n);
    return buffer;
}

std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> skinBytes(int n) { return readFile(MORVANE_SKIN_DIR "/" + twoDigits(n) + ".she"); }

// WCAG contrast ratio of two colours.
double contrast(Rgb a, Rgb b) {
    auto luminance = [](Rgb c) {
        auto channel = [](std::uint8_t v) {
            const double s = v / 255.0;
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.r) + 0.7152 * channel(c.g) + 0.0722 * channel(c.b);
    };
    double la = luminance(a), lb = luminance(b);
    if (la < lb) std::swap(la, lb);
    return (la + 0.05) / (lb + 0.05);
}

TEST(SkinSet, EverySkinHasItsSizeAndIsAccepted) {
    for (int n = 1; n <= 33; ++n) {
        const auto bytes = skinBytes(n);
        ASSERT_EQ(bytes.size(), kSkinSizes[n - 1]) << "skin " << n;
        EXPECT_EQ(bytes[0], 0x2E) << n;
        EXPECT_EQ(bytes[1], 0x53) << n;
        EXPECT_EQ(bytes[2], 0x48) << n;
        EXPECT_EQ(bytes[3], 0x45) << n;
        const ParseResult parsed = parseSkin(bytes.data(), bytes.size());
        EXPECT_TRUE(parsed.ok()) << "skin " << n << ": error " << static_cast<int>(parsed.error);
    }
}

TEST(SkinSet, DescriptionsCarryTheirOwnNumber) {
    for (int n = 1; n <= 33; ++n) {
        const auto text = readFile(MORVANE_SKIN_SOURCES "/" + twoDigits(n) + ".txt");
        const DescriptionResult read = readSkinDescription(std::string(text.begin(), text.end()));
        ASSERT_TRUE(read.ok()) << n << ": " << read.error;
        EXPECT_EQ(read.description.number, n);
        EXPECT_EQ(read.description.size, kSkinSizes[n - 1]) << n;
    }
}

TEST(SkinSet, TextStaysReadable) {
    struct Pair {
        Role text, back;
    };
    const Pair pairs[] = {
        {Role::WindowText, Role::WindowBack},       {Role::PageText, Role::PageBack},
        {Role::TabText, Role::TabFace},             {Role::TabText, Role::PageBack},
        {Role::ButtonText, Role::ButtonFaceTop},    {Role::ButtonText, Role::ButtonFaceBottom},
        {Role::ButtonText, Role::ButtonHotBottom},  {Role::ButtonText, Role::ButtonPressedTop},
        {Role::EditText, Role::EditBack},           {Role::EditText, Role::EditReadOnlyBack},
    };
    for (int n = 1; n <= 33; ++n) {
        const auto bytes = skinBytes(n);
        const ParseResult parsed = parseSkin(bytes.data(), bytes.size());
        ASSERT_TRUE(parsed.ok()) << n;
        // The skin in use is held to the stricter level.
        const double needed = n == 9 ? 7.0 : 4.5;
        for (const Pair& p : pairs) {
            EXPECT_GE(contrast(parsed.skin.colour(p.text), parsed.skin.colour(p.back)), needed)
                << "skin " << n << ": " << roleName(p.text) << " on " << roleName(p.back);
        }
    }
}

TEST(SkinSet, SkinNineKeepsEditBoxesBlackOnWhite) {
    const auto bytes = skinBytes(9);
    const ParseResult parsed = parseSkin(bytes.data(), bytes.size());
    ASSERT_TRUE(parsed.ok());
    const Rgb white{255, 255, 255}, black{0, 0, 0};
    EXPECT_EQ(parsed.skin.colour(Role::EditBack), white);
    EXPECT_EQ(parsed.skin.colour(Role::EditReadOnlyBack), white);
    EXPECT_EQ(parsed.skin.colour(Role::EditText), black);
}

}  // namespace
