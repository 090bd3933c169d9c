// GBK <-> UTF-16 at the boundary to the wide Win32 API.  Always code page
// 936, never the ANSI code page, so the program shows and writes the same
// Chinese on a system whose code page is something else.
#pragma once

#include <string>
#include <string_view>

#include "convert/gbk_text.h"

namespace morvane::win32 {

inline constexpr unsigned kGbkCodePage = 936;

std::wstring toWide(const GbkText& text);
// Characters GBK cannot hold become "?".
GbkText toGbk(std::wstring_view wide);

}  // namespace morvane::win32
