#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "convert/gbk_text.h"

using morvane::GbkText;

namespace {

TEST(GbkText, DropsEverythingFromAZeroByte) {
    EXPECT_EQ(GbkText(std::string_view("ab\0cd", 5)).bytes(), "ab");
    EXPECT_EQ(GbkText(std::string_view("\0x", 2)).size(), 0u);
}

TEST(TextLength, CountsBytes) {
    EXPECT_EQ(morvane::textLength("譜V"), 3);
    EXPECT_EQ(morvane::textLength(""), 0);
    EXPECT_TRUE(morvane::isEmptyText(""));
    EXPECT_FALSE(morvane::isEmptyText(" "));
}

TEST(ConcatTexts, JoinsInOrderAndSkipsEmptyParts) {
    EXPECT_EQ(morvane::concatTexts("曲谱名称：", "abc", "\r\n\r\n", "1 2").bytes(),
              std::string("曲谱名称：abc\r\n\r\n1 2"));
    EXPECT_EQ(morvane::concatTexts("", "a", "", "b").bytes(), "ab");
    const GbkText left = "x";
    const GbkText joined = morvane::concatTexts(left, "y");
    EXPECT_EQ(left.bytes(), "x");  // arguments are values and stay as they were
    EXPECT_EQ(joined.bytes(), "xy");
}

struct MidCase {
    const char* text;
    int start;
    int count;
    const char* expected;
};

TEST(MidText, CutsBytesAndGivesEmptyOutOfRange) {
    const MidCase cases[] = {
        {"abc", 0, 1, ""},   {"abc", 4, 1, ""},      {"abc", 1, 0, ""},    {"abc", 1, -1, ""},
        {"abc", 2, 10, "bc"}, {"abc", 3, 1, "c"},    {"abc", -5, 2, ""},   {"", 1, 1, ""},
        {"版本开始4版本结束", 9, 1, "4"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(morvane::midText(c.text, c.start, c.count).bytes(), std::string(c.expected))
            << c.text << " from " << c.start << " count " << c.count;
}

struct FindCase {
    std::string text;
    const char* what;
    int start;
    bool ignoreCase;
    int expected;
};

TEST(FindText, WalksCharactersFromStart) {
    const FindCase cases[] = {
        {"譜V", "V", 1, false, 3},
        {"abc", "B", 1, true, 2},
        {"abc", "B", 1, false, -1},
        {"abc", "c", 4, false, -1},
        {"abc", "a", 0, false, 1},
        {"abc", "a", -7, false, 1},
        {"abc", "abcd", 1, false, -1},
        {"abc", "", 1, false, -1},
        {"", "a", 1, false, -1},
        {"版本开始4版本结束", "版本开始", 1, false, 1},
        {"版本开始4版本结束", "版本结束", 9, false, 10},
        {"版本开始4版本结束", "版本开始", 2, false, -1},
        {"開_", "_", 1, false, 3},               // never the second byte of 開
        {"a\xB0", "a", 2, false, -1},            // lead byte as the last byte ends the scan
        {"xY\xB0", "y", 1, true, 2},
        {"\xD7\x76", "\xD7\x56", 1, true, 1},   // folding is byte by byte, second bytes too
    };
    for (const auto& c : cases)
        EXPECT_EQ(morvane::findText(GbkText(c.text), c.what, c.start, c.ignoreCase), c.expected)
            << "'" << c.text << "' for '" << c.what << "' from " << c.start;
}

struct ReplaceCase {
    std::string text;
    const char* what;
    const char* replacement;
    std::string expected;
};

TEST(ReplaceSubtext, ReplacesWholeCharactersLeftToRight) {
    const ReplaceCase cases[] = {
        {"", "a", "b", ""},
        {"abc", "", "x", "abc"},
        {"aaa", "aa", "b", "ba"},
        {"..", ".", "[0.5];", "[0.5];[0.5];"},
        {"譜V", "V", "F", "譜F"},
        {"開", "_", ",2;", "開"},
        {"開_", "_", ",2;", "開,2;"},
        {"………", "……", "6", "6…"},
        {"Aa", "a", "b", "Ab"},
        {"a\xB0", "a", "x", "x\xB0"},
        {"a\xB0", "\xB0", "x", "ax"},   // a lone lead byte at the end is a character of its own
        {"ab", "abc", "x", "ab"},
        {"abab", "ab", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(morvane::replaceSubtext(GbkText(c.text), c.what, c.replacement).bytes(), c.expected)
            << "'" << c.text << "': '" << c.what << "' -> '" << c.replacement << "'";
}

TEST(ReplaceSubtext, LeavesItsArgumentUnchanged) {
    const GbkText text = "1 2";
    const GbkText result = morvane::replaceSubtext(text, "1", "Q");
    EXPECT_EQ(text.bytes(), "1 2");
    EXPECT_EQ(result.bytes(), "Q 2");
}

struct NumberCase {
    const char* text;
    double expected;
};

TEST(TextToNumber, ReadsTheLeadingDecimalNumber) {
    const NumberCase cases[] = {
        {"", 0},          {"abc", 0},      {"-", 0},        {".", 0},       {"+.", 0},
        {"4", 4},         {" 4", 4},       {"\t\r\n\v\f4", 4}, {"　４", 4},  {"4版本", 4},
        {"-.5", -0.5},    {"+5.", 5},      {"1E3", 1000},   {"1d3", 1000},  {"1D-3", 0.001},
        {"1e+2", 100},    {"4e", 4},       {"4e+", 4},      {"4.1-beta", 4.1}, {"1,000", 1},
        {"0x1A", 0},      {"4.00000001", 4.00000001}, {"１．５", 1.5}, {"－２", -2},
        {"２Ｅ２", 200},   {"1.2.3", 1.2},  {"<b>5</b>", 0}, {"- 5", 0},     {"00012", 12},
        {"5", 5},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(morvane::textToNumber(c.text), c.expected) << c.text;
}

TEST(TextToNumber, SaturatesOutsideTheRangeOfADouble) {
    EXPECT_EQ(morvane::textToNumber("1e999"), HUGE_VAL);
    EXPECT_EQ(morvane::textToNumber("-1e999"), -HUGE_VAL);
    EXPECT_EQ(morvane::textToNumber("1e-999"), 0.0);
    EXPECT_EQ(morvane::textToNumber("1e99999999999999999999"), HUGE_VAL);
    EXPECT_EQ(morvane::textToNumber(("0." + std::string(400, '0') + "1").c_str()), 0.0);
    EXPECT_EQ(morvane::textToNumber(("1" + std::string(400, '0')).c_str()), HUGE_VAL);
}

}  // namespace
