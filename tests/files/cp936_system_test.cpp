// The generated code page 936 table against Windows' own conversion, for every
// pair of bytes and every code point of the Basic Multilingual Plane.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "files/gbk_unicode.h"

using namespace morvane;

namespace {

constexpr UINT kCodePage = 936;

std::u16string systemDecode(const std::string& bytes) {
    wchar_t out[8];
    const int n = MultiByteToWideChar(kCodePage, 0, bytes.data(), static_cast<int>(bytes.size()), out, 8);
    return std::u16string(reinterpret_cast<const char16_t*>(out), n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string systemEncode(char16_t c, DWORD flags) {
    const wchar_t in[1] = {static_cast<wchar_t>(c)};
    char out[8];
    const int n = WideCharToMultiByte(kCodePage, flags, in, 1, out, sizeof(out), "?", nullptr);
    return std::string(out, n > 0 ? static_cast<std::size_t>(n) : 0);
}

TEST(Cp936System, DecodesEveryByteAndEveryPairAsWindows) {
    int mismatches = 0;
    for (unsigned b = 0; b < 0x100; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(gbkToUtf16(one), systemDecode(one)) << std::hex << b;
    }
    for (unsigned lead = 0; lead < 0x100; ++lead) {
        for (unsigned trail = 0; trail < 0x100; ++trail) {
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            if (gbkToUtf16(pair) != systemDecode(pair) && ++mismatches <= 20) {
                ADD_FAILURE() << std::hex << "bytes " << lead << ' ' << trail;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(Cp936System, EncodesEveryCodePointAsWindowsWithoutBestFit) {
    int mismatches = 0;
    int bestFit = 0;
    for (unsigned c = 0; c < 0x10000; ++c) {
        std::string ours;
        appendGbkCharacter(ours, c);
        if (ours != systemEncode(static_cast<char16_t>(c), WC_NO_BEST_FIT_CHARS) && ++mismatches <= 20) {
            ADD_FAILURE() << std::hex << "U+" << c;
        }
        // Where GBK holds the character, the default conversion agrees too; it
        // differs only where it puts a look-alike in place of "?".
        const std::string byDefault = systemEncode(static_cast<char16_t>(c), 0);
        if (ours != byDefault) {
            EXPECT_EQ(ours, "?") << std::hex << "U+" << c;
            ++bestFit;
        }
    }
    EXPECT_EQ(mismatches, 0);
    RecordProperty("bestFitOnly", bestFit);
    std::printf("code points that only Windows' best fit converts: %d\n", bestFit);
}

// Whole texts, as an import converts them.
TEST(Cp936System, WholeTextsAsWindows) {
    const std::u16string text = u"曲谱名称：月亮代表我的心\r\n\r\n5mx一 ！￥…… €\uE000\uF8F5 12";
    const std::wstring wide(text.begin(), text.end());
    char out[256];
    const int n = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                      out, sizeof(out), "?", nullptr);
    ASSERT_GT(n, 0);
    const std::string gbk(out, static_cast<std::size_t>(n));
    EXPECT_EQ(utf16ToGbk(text).bytes(), gbk);
    EXPECT_EQ(gbkToUtf16(gbk), text);
}

}  // namespace
