#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "cli/passed_through.h"
#include "convert/auto_converter.h"
#include "convert/manual_converter.h"

using namespace morvane;

namespace {

// Literals are compiled to GBK, so every Chinese sign below is its GBK bytes.

// The traced passes are the conversion itself: the same bytes as the
// converters the window runs, and every byte that claims to be an input byte
// is that byte, in input order.
void expectTraceAgrees(const std::string& input) {
    const GbkText text(input);
    const struct {
        ConversionMode mode;
        GbkText converted;
    } conversions[] = {
        {ConversionMode::manual, ManualConverter::convert(text)},
        {ConversionMode::autoScore, AutoConverter::convert(text)},
    };
    for (const auto& c : conversions) {
        const TracedText traced = traceReplacementSteps(text, conversionSteps(c.mode));
        ASSERT_EQ(traced.text, c.converted) << testing::PrintToString(input);
        ASSERT_EQ(traced.sources.size(), traced.text.size());
        std::size_t next = 0;  // the first input position a later byte may come from
        for (std::size_t i = 0; i < traced.sources.size(); ++i) {
            const std::size_t source = traced.sources[i];
            if (source == TracedText::kInsertedByte) continue;
            ASSERT_GE(source, next) << testing::PrintToString(input);
            ASSERT_EQ(traced.text.bytes()[i], input[source]) << testing::PrintToString(input);
            next = source + 1;
        }
    }
}

TEST(TracedConversion, GivesTheConvertersBytesOnTheirTables) {
    for (const char* input : {
             "1 2 3 0 5", "5 3 2 1 | z b ！ @ | 0 6 5 3", "！￥……", "………", "zxcvbnm ZXCVBNM", "1!", "00",
             "8 9 q Q A", "１２３", "譜V", "abc", "+5mx 3_ 2= 1mx。 -6mx一", "5mx三 5mx四", "1MX，2mx", "3__",
             "0.5", "...", ".。", "mmxx", "MXMX", "5Mx 5mX", "開_", "乵mx", "癕X", "5——", "",
             "\x80\xB0\xD2\xBB\xA1", "\x80\xD7V", "x\xA3",
         }) {
        expectTraceAgrees(input);
    }
}

// Every find text of both tables, the lead bytes of the two-byte finds with
// other second bytes, single high bytes that shift the character rule, and a
// lead byte at the very end.
TEST(TracedConversion, GivesTheConvertersBytesOnRandomText) {
    static const char* const pieces[] = {
        "1", "2", "3", "4", "5", "6", "7", "0", "!", "@", "#", "$", "%", "^", "&", "z", "x", "c", "v", "b", "n",
        "m", "Z", "X", "C", "V", "B", "N", "M", "q", " ", "|", "-", "\r\n", "\n", ".", "_", "=", "mx", "MX", "Mx",
        "！", "￥", "…", "……", "一", "二", "三", "四", "，", "。", "譜", "開", "\x80", "\xFF", "\xA3", "\xA1",
        "\xD2", "\xBB", "\xC8",
    };
    std::mt19937 random(936);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(pieces)) - 1);
    std::uniform_int_distribution<int> anyByte(1, 255), length(0, 60), coin(0, 9);
    for (int round = 0; round < 3000; ++round) {
        std::string input;
        for (int n = length(random); n > 0; --n) {
            if (coin(random) == 0) input += static_cast<char>(anyByte(random));
            else input += pieces[pick(random)];
        }
        expectTraceAgrees(input);
        if (HasFatalFailure()) return;
    }
}

struct CheckCase {
    const char* what;
    ConversionMode mode;
    std::string input;
    std::vector<PassedThrough> found;
};

TEST(PassedThrough, ListsWhatTheConversionIgnoredWithLineAndColumn) {
    using enum ConversionMode;
    const CheckCase cases[] = {
        {"a clean manual score", manual, "1 2 3 0 5 | z b ！ @ | 6 - - 0\r\n!@# ￥……", {}},
        {"layout only", manual, " \t|｜-－—()[]{}（）［］｛｝【】〔〕　\r\n", {}},
        {"signs no step knows", manual, "8 9 q Q", {{1, 1, "8"}, {1, 3, "9"}, {1, 5, "q"}, {1, 7, "Q"}}},
        {"a run of them", manual, "1 2 89 3", {{1, 5, "89"}}},
        {"runs end at converted signs", manual, "8z9", {{1, 1, "8"}, {1, 3, "9"}}},
        {"full-width digits", manual, "１２ 3", {{1, 1, "１２"}}},
        {"two-byte characters before count one column each", manual, "！￥8", {{1, 3, "8"}}},
        {"lyrics", manual, "5 6 小星星 1", {{1, 5, "小星星"}}},
        {"a single … of three", manual, "………", {{1, 3, "…"}}},
        {"a character ending in a find byte stays whole", manual, "譜V8", {{1, 1, "譜"}, {1, 3, "8"}}},
        {"the octave sign of the auto score", manual, "+5", {{1, 1, "+"}}},
        {"LF ends a line", manual, "8\n9", {{1, 1, "8"}, {2, 1, "9"}}},
        {"CR LF ends a line", manual, "1\r\n 8\r\n\r\n小 9", {{2, 2, "8"}, {4, 1, "小"}, {4, 3, "9"}}},
        {"a lone CR does not", manual, "1\r8", {{1, 3, "8"}}},
        {"a clean auto score", autoScore, "+5mx 3_ 2= 1mx。 -6mx一\r\n5mx三 5mx四 1MX，2mx 0.5", {}},
        {"the script's own separators", autoScore, "5,3; 1,2;", {}},
        {"marks in the wrong case", autoScore, "5Mx 3mX 8", {{1, 2, "Mx"}, {1, 6, "mX"}, {1, 9, "8"}}},
        {"halves of a mark", autoScore, "mmxx", {{1, 1, "m"}, {1, 4, "x"}}},
        {"the full-width digit", autoScore, "０.5", {{1, 1, "０"}}},
        {"a character before a mark", autoScore, "開_", {{1, 1, "開"}}},
        {"the manual score's signs", autoScore, "1 ! z", {{1, 3, "!"}, {1, 5, "z"}}},
        {"dashes", autoScore, "5——-1", {}},
        // "€" shifts the character rule: the mark is found across the two
        // characters after it, which are then neither of them unchanged.
        {"characters cut by a mark", autoScore, "\x80\xB0\xD2\xBB\xA1", {{1, 1, "\x80"}}},
        {"empty", autoScore, "", {}},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto found = findPassedThrough(c.mode, GbkText(c.input));
        ASSERT_EQ(found.size(), c.found.size());
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(found[i].line, c.found[i].line) << i;
            EXPECT_EQ(found[i].column, c.found[i].column) << i;
            EXPECT_EQ(found[i].text.bytes(), c.found[i].text.bytes()) << i;
        }
    }
}

}  // namespace
