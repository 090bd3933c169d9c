#include <gtest/gtest.h>

#include <random>
#include <string>

#include "convert/manual_converter.h"

using morvane::GbkText;
using morvane::ManualConverter;

namespace {

struct ConversionCase {
    std::string numbered;
    std::string manual;
};

const ConversionCase kManualCases[] = {
    // Worked examples
    {"1 2 3 0 5", "Q W E ---- T"},
    {"5 3 2 1 | z b ！ @ | 0 6 5 3", "T E W Q | A G 1 2 | ---- Y T E"},
    {"！￥……", "146"},
    {"zxcvbnm ZXCVBNM", "ASDFGHJ ASDFGHJ"},
    {"5 6 5 3 | 2 - - 0", "T Y T E | W - - ----"},
    {"1 2 3\r\n!@# 0", "Q W E\r\n123 ----"},
    {"1234567", "QWERTYU"},
    {"!@#$%^&", "1234567"},
    // Order of the steps: produced digits are not converted again
    {"1!", "Q1"},
    {"！", "1"},
    {"……", "6"},
    {"…", "…"},
    {"………", "6…"},
    {"0", "----"},
    {"00", "--------"},
    // Untouched signs
    {"8 9 q Q A", "8 9 q Q A"},
    {"１２３４５６７", "１２３４５６７"},
    {"(1 2)", "(Q W)"},
    {"zZ", "AA"},
    {"abc", "aGD"},
    {"譜V", "譜F"},
    {"中文歌词", "中文歌词"},
    {"", ""},
};

TEST(ManualConverter, ConvertsTheTable) {
    for (const auto& c : kManualCases) {
        EXPECT_EQ(ManualConverter::convert(GbkText(c.numbered)).bytes(), c.manual) << c.numbered;
        EXPECT_EQ(ManualConverter::convertLiterally(GbkText(c.numbered)).bytes(), c.manual) << c.numbered;
    }
}

TEST(ManualConverter, TableHasItsThirtyTwoStepsInOrder) {
    ASSERT_EQ(ManualConverter::steps.size(), 32u);
    EXPECT_STREQ(ManualConverter::steps[0].find, "1");
    EXPECT_STREQ(ManualConverter::steps[16].find, "……");
    EXPECT_STREQ(ManualConverter::steps[31].replacement, "----");
}

// Bytes that make the single pass and the literal passes most likely to part
// ways: every find text, the lead bytes of the full-width finds with other
// second bytes, and arbitrary high bytes.
std::string randomScore(std::mt19937& rng, std::size_t length) {
    static const char* const pieces[] = {
        "1", "2", "3", "4", "5", "6", "7", "0", "!", "@", "#", "$", "%", "^", "&", "z", "x", "c",
        "v", "b", "n", "m", "Z", "X", "C", "V", "B", "N", "M", "q", " ", "|", "-", "\r\n",
        "！", "￥", "…", "……", "譜", "開", "\xA3", "\xA1", "\xAD", "\xA4",
    };
    std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(pieces)) - 1);
    std::uniform_int_distribution<int> anyByte(1, 255);
    std::uniform_int_distribution<int> coin(0, 7);
    std::string s;
    while (s.size() < length) {
        if (coin(rng) == 0) s += static_cast<char>(anyByte(rng));
        else s += pieces[pick(rng)];
    }
    return s;
}

TEST(ManualConverter, SinglePassMatchesTheLiteralPassesOnRandomInput) {
    std::mt19937 rng(20261211);
    std::uniform_int_distribution<int> length(0, 64);
    std::uniform_int_distribution<int> highByte(0x80, 0xFF);
    for (int round = 0; round < 20000; ++round) {
        std::string input = randomScore(rng, static_cast<std::size_t>(length(rng)));
        if (round % 3 == 0) input += static_cast<char>(highByte(rng));  // lead byte at the very end
        const GbkText text(input);
        ASSERT_EQ(ManualConverter::convert(text).bytes(), ManualConverter::convertLiterally(text).bytes())
            << "input bytes: " << testing::PrintToString(input);
    }
}

}  // namespace
