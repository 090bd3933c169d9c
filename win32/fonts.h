// The font for controls that have none of their own.
#pragma once

#include <windows.h>

namespace morvane::win32 {

// The system's default GUI font, asked for with the GB2312 character set.
// On a Chinese system that is the stock font itself; elsewhere the stock
// font has no Chinese, and the same face and height with GB2312 make the
// system pick one that has.  Lives as long as the program.
HFONT defaultGuiFont();

}  // namespace morvane::win32
