#include <gtest/gtest.h>

#include <string>

#include "convert/auto_converter.h"

using morvane::AutoConverter;
using morvane::GbkText;

namespace {

struct ConversionCase {
    std::string numbered;
    std::string automatic;
};

// Literals are compiled to GBK, so every Chinese sign below is its GBK bytes.
const ConversionCase kAutoCases[] = {
    // Worked examples
    {"5mx。", "5,3;[0.5];"},
    {"5mx.", "5,3;[0.5];"},
    {"+5mx 3_ 2= 1mx。 -6mx一", "+5,3; 3,2; 2,1; 1,3;[0.5]; -6,3;4;"},
    {"+5MX-3=", "+5,3;-3,1;"},
    {"6mx二", "6,3;5;"},
    {"5mx三 5mx四", "5,3;6; 5,3;7;"},
    {"1MX，2mx", "1,3;,2,3;"},
    {"3__", "3,2;,2;"},
    {"0.5", "0[0.5];5"},
    // Each mark on its own
    {".", "[0.5];"},
    {"_", ",2;"},
    {"=", ",1;"},
    {"一二三四", "4;5;6;7;"},
    {"，", ","},
    {"。", "[0.5];"},
    // The point that a replacement brings is never replaced again
    {"...", "[0.5];[0.5];[0.5];"},
    {"。。", "[0.5];[0.5];"},
    {".。", "[0.5];[0.5];"},
    // Only "mx" and "MX" are the no-line mark
    {"5Mx", "5Mx"},
    {"5mX", "5mX"},
    {"mmxx", "m,3;x"},
    {"MXMX", ",3;,3;"},
    {"0mx", "0,3;"},
    // Digits, "+", "-", blanks and line breaks pass
    {"+1 -2 3\r\n4567 890", "+1 -2 3\r\n4567 890"},
    // Only the ASCII underscore is a mark; the full-width dash passes
    {"5——", "5——"},
    {"5－", "5－"},
    // Marks match only at character starts: "開" is E9 5F ("_"), "乵" is
    // 81 6D ("m"), "癕" is B0 4D ("M")
    {"開_", "開,2;"},
    {"開", "開"},
    {"乵x", "乵x"},
    {"癕X", "癕X"},
    {"乵mx", "乵,3;"},
    // Other Chinese text passes
    {"歌词五六", "歌词五六"},
    {"", ""},
};

TEST(AutoConverter, ConvertsTheTable) {
    for (const auto& c : kAutoCases) {
        EXPECT_EQ(AutoConverter::convert(GbkText(c.numbered)).bytes(), c.automatic) << c.numbered;
    }
}

TEST(AutoConverter, TableHasItsElevenStepsInOrder) {
    ASSERT_EQ(AutoConverter::steps.size(), 11u);
    EXPECT_STREQ(AutoConverter::steps[0].find, ".");
    EXPECT_STREQ(AutoConverter::steps[3].find, "\xD2\xBB");  // 一
    EXPECT_STREQ(AutoConverter::steps[7].find, "mx");
    EXPECT_STREQ(AutoConverter::steps[9].find, "\xA3\xAC");  // ，
    EXPECT_STREQ(AutoConverter::steps[10].find, "\xA1\xA3");  // 。
    EXPECT_STREQ(AutoConverter::steps[10].replacement, "[0.5];");
}

}  // namespace
