// Code page 936 <-> Unicode without the operating system, so that portable
// code (importing files, a command-line converter) converts exactly as the
// Windows program does.
//
// Decoding follows Windows' MultiByteToWideChar(936, 0):
//   - 0x00..0x7F are ASCII; the single bytes 0x80 and 0xFF are U+20AC (the
//     euro sign) and U+F8F5;
//   - a lead byte 0x81..0xFE and the byte after it are one character.  A pair
//     outside the code page becomes one "?" for both bytes; a lead byte at
//     the end, or before a zero byte, becomes "?" by itself.
// Encoding is the exact inverse: every character the code page holds gets
// its one code (U+20AC gives 0x80), every other one becomes "?".  Windows'
// "best fit" substitutes (such as "a" for "â") are not made: what GBK cannot
// hold is shown as "?", never as a look-alike.
#pragma once

#include <string>
#include <string_view>

#include "convert/gbk_text.h"

namespace morvane {

// The code point of the character that starts `bytes` (which must not be
// empty); `length` receives how many bytes it took (1 or 2).
char16_t decodeGbkCharacter(std::string_view bytes, std::size_t& length);

std::u16string gbkToUtf16(std::string_view gbk);
std::string gbkToUtf8(std::string_view gbk);

// Appends the GBK bytes of one code point, or "?" when code page 936 has no
// code for it (a code point beyond the Basic Multilingual Plane included).
void appendGbkCharacter(std::string& out, char32_t codePoint);

// UTF-16 code units -> GBK.  A surrogate pair is one character (and so one
// "?"); a lone surrogate is "?".  The text stops before a U+0000, since a
// GbkText holds no zero byte.
GbkText utf16ToGbk(std::u16string_view utf16);

// Code points -> GBK, by the same rules.
GbkText unicodeToGbk(std::u32string_view codePoints);

}  // namespace morvane
