// GBK <-> UTF-16 at the boundary to the window, always through code page 936.
#include <gtest/gtest.h>

#include <string>

#include "win32/text.h"

namespace {

struct BoundaryCase {
    const wchar_t* wide;
    std::string gbk;
};

TEST(Win32Text, ConvertsWithCodePage936WhateverTheSystemUses) {
    const BoundaryCase cases[] = {
        {L"", ""},
        {L"1 2 3", "1 2 3"},
        {L"曲谱名称：", "\xC7\xFA\xC6\xD7\xC3\xFB\xB3\xC6\xA3\xBA"},
        {L"！￥……", "\xA3\xA1\xA3\xA4\xA1\xAD\xA1\xAD"},
        {L"譜V", "\xD7\x56V"},
        {L"1\r\n2", "1\r\n2"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(morvane::win32::toGbk(c.wide).bytes(), c.gbk);
        EXPECT_EQ(morvane::win32::toWide(morvane::GbkText(c.gbk)), std::wstring(c.wide));
    }
}

TEST(Win32Text, CharactersGbkLacksBecomeQuestionMarksNotLookAlikes) {
    EXPECT_EQ(morvane::win32::toGbk(L"\u00E2b\u00DF").bytes(), "?b?");
}

}  // namespace
