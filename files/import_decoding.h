// What an imported file shows: its text as GBK, whatever encoding it came in.
//
//   - A file that starts with a UTF-8, UTF-16LE or UTF-16BE byte order mark
//     is converted to GBK; the mark never reaches the box.
//   - A file without a mark is converted from UTF-8 only when it is valid
//     UTF-8 with at least one multi-byte sequence and every non-ASCII
//     character in it is one a score can hold (isScoreCharacter).
//   - Every other file is taken byte for byte as GBK.
// In every case the text ends before the first zero byte (before the first
// U+0000 of a UTF-16 file), and a character GBK cannot hold becomes "?".
//
// A score file that this program wrote starts with "曲谱名称：" (C7 FA ...),
// which is not UTF-8, so it always comes back byte for byte.  So does every
// GBK text of ASCII, the symbols of GB2312 (lead bytes A1..A9) and its
// first-level characters (B0..D7): read as UTF-8 those are either invalid or
// two-byte sequences below U+0600, none of them a score character.
#pragma once

#include "convert/gbk_text.h"
#include "files/byte_data.h"

namespace morvane {

enum class ImportEncoding {
    gbk,              // no mark; taken byte for byte
    utf8,             // no mark, but UTF-8 by the rule above
    utf8WithMark,     // EF BB BF
    utf16leWithMark,  // FF FE
    utf16beWithMark,  // FE FF
};

ImportEncoding detectImportEncoding(const ByteData& data);

// The text the import puts into the box.
GbkText decodeImportedFile(const ByteData& data);

// The non-ASCII characters that make an unmarked file count as UTF-8: CJK
// ideographs (U+3400..U+4DBF, U+4E00..U+9FFF, U+F900..U+FAFF), CJK symbols
// and punctuation (U+3000..U+303F), general punctuation (U+2000..U+206F,
// "…" and "—" among them), the vertical, compatibility and small forms
// (U+FE10..U+FE1F, U+FE30..U+FE6F) and the full-width and half-width forms
// (U+FF00..U+FFEF).
bool isScoreCharacter(char32_t codePoint);

}  // namespace morvane
