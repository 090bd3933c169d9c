#include <gtest/gtest.h>

#include <string>

#include "files/cp936_table.h"
#include "files/gbk_unicode.h"

using namespace morvane;

namespace {

using namespace std::string_literals;

std::string utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

TEST(GbkUnicode, DecodesAsWindowsDoes) {
    struct Case {
        std::string gbk;
        std::u16string utf16;
    };
    const Case cases[] = {
        {"", u""},
        {"abc", u"abc"},
        {"\xD2\xBB", u"一"},
        {"\xC7\xFA\xC6\xD7", u"曲谱"},
        {"\xA1\xAD", u"…"},
        {"\xA1\xA4", u"\u00B7"},   // the middle dot, as code page 936 has it
        {"\x80", u"\u20AC"},       // the single byte 0x80 is the euro sign
        {"\xFF", u"\uF8F5"},
        {"\xAA\xA1", u"\uE000"},   // first user-defined code
        {"\xA1\x40", u"\uE4C6"},
        {"\xA2\xAB", u"\uE766"},   // first code outside GBK proper
        {"\xFE\xA0", u"\uE864"},
        {"\x81", u"?"},            // a lead byte at the end
        {"a\x81", u"a?"},
        {"\x81\x30", u"?"},        // a pair outside the code page is one "?"
        {"\x81\x7F", u"?"},
        {"\x81\xFF", u"?"},
        {"\x81\0a"s, u"?\0a"s},    // a zero byte is never a trail byte
        {"\x80\xA1", u"\u20AC?"},
    };
    for (const auto& c : cases) EXPECT_EQ(gbkToUtf16(c.gbk), c.utf16) << c.gbk;
}

TEST(GbkUnicode, ConvertsToUtf8) {
    EXPECT_EQ(gbkToUtf8("\xC7\xFA\xC6\xD7\xC3\xFB\xB3\xC6\xA3\xBA" "abc"), utf8(u8"曲谱名称：abc"));
    EXPECT_EQ(gbkToUtf8("\x80"), utf8(u8"€"));
    EXPECT_EQ(gbkToUtf8(""), "");
}

TEST(GbkUnicode, EncodesEveryCharacterOfTheCodePageAndNothingElse) {
    struct Case {
        std::u16string utf16;
        std::string gbk;
    };
    const Case cases[] = {
        {u"", ""},
        {u"abc", "abc"},
        {u"一二三四", "\xD2\xBB\xB6\xFE\xC8\xFD\xCB\xC4"},
        {u"，。……", "\xA3\xAC\xA1\xA3\xA1\xAD\xA1\xAD"},
        {u"€", "\x80"},
        {u"\uF8F5", "\xFF"},
        {u"\uE000", "\xAA\xA1"},
        {u"â", "?"},           // no look-alike: what GBK lacks is "?"
        {u"\u00A5", "?"},      // the yen sign is not the full-width "￥"
        {u"\uF900", "?"},      // a compatibility ideograph GBK lacks
        {u"😀", "?"},          // a pair is one character
        {u"a\xD800" "b", "a?b"},  // a lone surrogate
        {u"a\xDC00", "a?"},
        {u"ab\0cd"s, "ab"},    // a text stops before U+0000
    };
    for (const auto& c : cases) EXPECT_EQ(utf16ToGbk(c.utf16).bytes(), c.gbk);
    EXPECT_EQ(unicodeToGbk(U"曲\U0001F600").bytes(), "\xC7\xFA?");
}

// Each of the 23940 two-byte codes has its own character and comes back.
TEST(GbkUnicode, EveryCodeRoundTrips) {
    std::u16string seen;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) continue;
            const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
            std::size_t length = 0;
            const char16_t c = decodeGbkCharacter(code, length);
            ASSERT_EQ(length, 2u) << std::hex << lead << ' ' << trail;
            ASSERT_NE(c, u'?') << std::hex << lead << ' ' << trail;
            std::string back;
            appendGbkCharacter(back, c);
            ASSERT_EQ(back, code) << std::hex << lead << ' ' << trail;
            seen += c;
        }
    }
    EXPECT_EQ(seen.size(), cp936::kLeadCount * cp936::kTrailCount);
    for (unsigned b = 0; b < 0x100; ++b) {
        if (b >= 0x81 && b <= 0xFE) continue;
        const std::string one(1, static_cast<char>(b));
        std::size_t length = 0;
        std::string back;
        appendGbkCharacter(back, decodeGbkCharacter(one, length));
        EXPECT_EQ(back, one) << b;
    }
}

}  // namespace
