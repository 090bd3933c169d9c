#include <gtest/gtest.h>

#include <random>
#include <string>

#include "convert/auto_converter.h"
#include "convert/manual_converter.h"
#include "files/import_decoding.h"
#include "files/score_file.h"

using namespace morvane;

namespace {

using namespace std::string_literals;

std::string utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

std::string utf16le(const std::u16string& s) {
    std::string out;
    for (const char16_t c : s) out += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    return out;
}

std::string utf16be(const std::u16string& s) {
    std::string out;
    for (const char16_t c : s) out += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
    return out;
}

const std::string kUtf8Mark = "\xEF\xBB\xBF";
const std::string kUtf16leMark = "\xFF\xFE";
const std::string kUtf16beMark = "\xFE\xFF";

struct ImportCase {
    const char* what;
    std::string file;
    ImportEncoding encoding;
    std::string text;  // GBK: the literals below are compiled to GBK
};

TEST(ImportDecoding, ShowsTheTextOfEveryEncoding) {
    using E = ImportEncoding;
    const ImportCase cases[] = {
        {"empty file", "", E::gbk, ""},
        {"ASCII", "1 2 3\r\n5mx.", E::gbk, "1 2 3\r\n5mx."},
        {"GBK score", "5 3 2 1 | z b ！ @", E::gbk, "5 3 2 1 | z b ！ @"},
        {"GBK stops at a zero byte", "12\0" "34"s, E::gbk, "12"},
        {"a UTF-16 file without a mark is GBK up to its first zero", utf16le(u"12"), E::gbk, "1"},
        // GBK that is valid UTF-8 by accident: D2 BB decodes to U+04BB.
        {"5mx一", "5mx\xD2\xBB", E::gbk, "5mx一"},
        {"一 alone", "\xD2\xBB", E::gbk, "一"},
        // Marks
        {"UTF-8 mark", kUtf8Mark + utf8(u8"1 2 一二，。…"), E::utf8WithMark, "1 2 一二，。…"},
        {"UTF-8 mark alone", kUtf8Mark, E::utf8WithMark, ""},
        {"UTF-8 mark, ASCII", kUtf8Mark + "5mx.", E::utf8WithMark, "5mx."},
        {"UTF-8 mark, character GBK lacks", kUtf8Mark + utf8(u8"a😀b€"), E::utf8WithMark, "a?b\x80"},
        {"UTF-8 mark, invalid bytes", kUtf8Mark + "a\xC3(b\xE4\xB8", E::utf8WithMark, "a?(b??"},
        {"UTF-8 mark, zero byte", kUtf8Mark + "ab\0cd"s, E::utf8WithMark, "ab"},
        {"UTF-8 mark, Latin", kUtf8Mark + utf8(u8"café"), E::utf8WithMark, "caf\xA8\xA6"},
        {"UTF-16LE mark", kUtf16leMark + utf16le(u"曲谱名称：abc\r\n\r\n1 2"), E::utf16leWithMark,
         "曲谱名称：abc\r\n\r\n1 2"},
        {"UTF-16BE mark", kUtf16beMark + utf16be(u"一二三四 5mx。"), E::utf16beWithMark, "一二三四 5mx。"},
        {"UTF-16LE mark alone", kUtf16leMark, E::utf16leWithMark, ""},
        {"UTF-16LE odd last byte", kUtf16leMark + utf16le(u"ab") + "c", E::utf16leWithMark, "ab"},
        {"UTF-16LE stops at U+0000", kUtf16leMark + utf16le(u"ab\0cd"s), E::utf16leWithMark, "ab"},
        {"UTF-16LE pair and lone surrogate", kUtf16leMark + utf16le(u"a😀b\xD800" "c"), E::utf16leWithMark, "a?b?c"},
        {"UTF-16BE character GBK lacks", kUtf16beMark + utf16be(u"â一"), E::utf16beWithMark, "?一"},
        // UTF-8 without a mark
        {"UTF-8 score", utf8(u8"1 2 3 一二三四，。"), E::utf8, "1 2 3 一二三四，。"},
        {"UTF-8 general punctuation", utf8(u8"5……6—"), E::utf8, "5……6—"},
        {"UTF-8 full-width forms", utf8(u8"！￥（）１２"), E::utf8, "！￥（）１２"},
        {"UTF-8 ideographic space and marks", utf8(u8"\u3000「」《》"), E::utf8, "\xA1\xA1「」《》"},
        {"UTF-8 compatibility ideograph GBK lacks", utf8(u8"\uF900"), E::utf8, "?"},
        {"UTF-8 stops at a zero byte", utf8(u8"一") + "\0"s + utf8(u8"二"), E::utf8, "一"},
        {"UTF-8 with a character a score does not hold is GBK", utf8(u8"一é"), E::gbk, utf8(u8"一é")},
        {"UTF-8 with an emoji is GBK", utf8(u8"一😀"), E::gbk, utf8(u8"一😀")},
        {"invalid UTF-8 is GBK", "\xE4\xB8\x80\xFF", E::gbk, "\xE4\xB8\x80\xFF"},
        {"overlong UTF-8 is GBK", "\xC0\xAF", E::gbk, "\xC0\xAF"},
        {"encoded surrogate is GBK", "\xED\xA0\x80", E::gbk, "\xED\xA0\x80"},
        {"truncated UTF-8 is GBK", "\xE4\xB8", E::gbk, "\xE4\xB8"},
        // The header is not UTF-8, whatever follows.
        {"header file", "曲谱名称：" + utf8(u8"一"), E::gbk, "曲谱名称：" + utf8(u8"一")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ByteData data(c.file);
        EXPECT_EQ(detectImportEncoding(data), c.encoding);
        EXPECT_EQ(decodeImportedFile(data).bytes(), c.text);
    }
}

TEST(ImportDecoding, ScoreCharacters) {
    for (const char32_t c : {U'\u2026', U'\u2014', U'\u3000', U'\u3002', U'\u4E00', U'\u9FA5', U'\u3400', U'\uF92C',
                             U'\uFE30', U'\uFE50', U'\uFF01', U'\uFFE5'}) {
        EXPECT_TRUE(isScoreCharacter(c)) << std::hex << static_cast<unsigned>(c);
    }
    for (const char32_t c : {U'a', U'\u00B7', U'\u00E9', U'\u04BB', U'\u2192', U'\u266A', U'\u3040', U'\uE000',
                             U'\uFFFD', U'\U0001F600', U'\U00020000'}) {
        EXPECT_FALSE(isScoreCharacter(c)) << std::hex << static_cast<unsigned>(c);
    }
}

// Ordinary scores as the program writes them.
std::vector<GbkText> ordinaryNumberedScores() {
    return {
        "1 2 3 0 5",
        "5 3 2 1 | z b ！ @ | 0 6 5 3",
        "！￥……",
        "5 6 5 3 | 2 - - 0\r\n1 2 3\r\n!@# 0",
        "+5mx 3_ 2= 1mx。 -6mx一",
        "5mx三 5mx四\r\n1MX，2mx\r\n3__ 0.5",
        "第一段：\r\n5 6 5 3 | 2 - - 0\r\n（副歌）《月亮代表我的心》\r\n1 2 3 一 二",
        "歌词：你问我爱你有多深，我爱你有几分。",
        "  名字 带 空格  ",
        "",
    };
}

TEST(ImportDecoding, SavedHeaderFilesComeBackByteForByte) {
    for (const auto& score : ordinaryNumberedScores()) {
        for (const GbkText name : {"abc", "月亮代表我的心", " 名 ", "", "一"}) {
            const GbkText manual = ManualConverter::convert(score);
            for (const auto& body : {score, manual}) {
                const GbkText file = composeScoreFile(ScoreFileForm::withHeader, name, body);
                EXPECT_EQ(detectImportEncoding(textToBytes(file)), ImportEncoding::gbk) << file.bytes();
                EXPECT_EQ(decodeImportedFile(textToBytes(file)), file) << file.bytes();
            }
        }
    }
}

TEST(ImportDecoding, BareAutoScoresComeBackByteForByte) {
    for (const auto& score : ordinaryNumberedScores()) {
        const GbkText file = composeScoreFile(ScoreFileForm::bare, "abc", AutoConverter::convert(score));
        EXPECT_EQ(decodeImportedFile(textToBytes(file)), file) << file.bytes();
    }
}

// Texts of ASCII, the GB2312 symbols (lead bytes A1..A9) and its first-level
// characters (B0..D7) are never taken for UTF-8.
TEST(ImportDecoding, CommonGbkTextNeverPassesForUtf8) {
    std::mt19937 random(936);
    std::uniform_int_distribution<int> kind(0, 3), ascii(0x20, 0x7E), symbolLead(0xA1, 0xA9), hanziLead(0xB0, 0xD7),
        trail(0xA1, 0xFE), length(1, 40);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int n = length(random); n > 0; --n) {
            switch (kind(random)) {
            case 0:
                text += static_cast<char>(ascii(random));
                break;
            case 1:
                text += {static_cast<char>(symbolLead(random)), static_cast<char>(trail(random))};
                break;
            default:
                text += {static_cast<char>(hanziLead(random)), static_cast<char>(trail(random))};
            }
        }
        const ByteData data(text);
        ASSERT_EQ(decodeImportedFile(data).bytes(), text);
        ASSERT_EQ(detectImportEncoding(data), ImportEncoding::gbk);
    }
}

}  // namespace
