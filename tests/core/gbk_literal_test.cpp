// The program's texts must reach boxes, files and the clipboard as GBK bytes.
#include <gtest/gtest.h>

#include <string>

#include "convert/gbk_text.h"

namespace {

struct LiteralCase {
    const char* literal;
    std::string bytes;
};

TEST(GbkLiterals, AreStoredAsGbkBytes) {
    const LiteralCase cases[] = {
        {"！", "\xA3\xA1"},
        {"……", "\xA1\xAD\xA1\xAD"},
        {"曲谱名称：", "\xC7\xFA\xC6\xD7\xC3\xFB\xB3\xC6\xA3\xBA"},
        {"譜V", "\xD7\x56V"},
        {"開", "\xE9\x5F"},
        {"一二三四", "\xD2\xBB\xB6\xFE\xC8\xFD\xCB\xC4"},
    };
    for (const auto& c : cases) EXPECT_EQ(morvane::GbkText(c.literal).bytes(), c.bytes) << c.literal;
}

}  // namespace
