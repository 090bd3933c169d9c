#include "files/import_decoding.h"

#include <string>
#include <string_view>

#include "files/gbk_unicode.h"

namespace morvane {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16leMark = "\xFF\xFE";
constexpr std::string_view kUtf16beMark = "\xFE\xFF";

constexpr char32_t kReplacement = U'?';

// One UTF-8 sequence at the start of `in` (not empty).  Returns the code
// point and its length, or 0 for the length when the bytes there are no
// valid sequence: a stray or missing continuation byte, an overlong form, a
// surrogate or a code point beyond U+10FFFF.
char32_t decodeUtf8Sequence(std::string_view in, std::size_t& length) {
    const auto b0 = static_cast<unsigned char>(in[0]);
    length = 0;
    if (b0 < 0x80) {
        length = 1;
        return b0;
    }
    std::size_t need;
    char32_t c;
    char32_t min;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        need = 1, c = b0 & 0x1F, min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        need = 2, c = b0 & 0x0F, min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        need = 3, c = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (in.size() <= need) return 0;
    for (std::size_t i = 1; i <= need; ++i) {
        const auto b = static_cast<unsigned char>(in[i]);
        if ((b & 0xC0) != 0x80) return 0;
        c = c << 6 | (b & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    length = need + 1;
    return c;
}

// Strict: false on the first invalid sequence.
bool decodeUtf8Strictly(std::string_view in, std::u32string& out, bool& multiByte) {
    multiByte = false;
    while (!in.empty()) {
        std::size_t length;
        const char32_t c = decodeUtf8Sequence(in, length);
        if (length == 0) return false;
        multiByte = multiByte || length > 1;
        out += c;
        in.remove_prefix(length);
    }
    return true;
}

// Lenient, for a file that says it is UTF-8: a byte that starts no valid
// sequence becomes "?".
std::u32string decodeUtf8Leniently(std::string_view in) {
    std::u32string out;
    while (!in.empty()) {
        std::size_t length;
        const char32_t c = decodeUtf8Sequence(in, length);
        out += length == 0 ? kReplacement : c;
        in.remove_prefix(length == 0 ? 1 : length);
    }
    return out;
}

// A trailing odd byte is not a code unit and is dropped.
std::u16string utf16Units(std::string_view in, bool bigEndian) {
    std::u16string out;
    out.reserve(in.size() / 2);
    for (std::size_t i = 0; i + 1 < in.size(); i += 2) {
        const auto a = static_cast<unsigned char>(in[i]);
        const auto b = static_cast<unsigned char>(in[i + 1]);
        out += static_cast<char16_t>(bigEndian ? a << 8 | b : b << 8 | a);
    }
    return out;
}

std::string_view beforeFirstZero(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

bool isUnmarkedUtf8(std::string_view text, std::u32string& codePoints) {
    bool multiByte;
    if (!decodeUtf8Strictly(text, codePoints, multiByte) || !multiByte) return false;
    for (const char32_t c : codePoints) {
        if (c >= 0x80 && !isScoreCharacter(c)) return false;
    }
    return true;
}

}  // namespace

bool isScoreCharacter(char32_t c) {
    return (c >= 0x2000 && c <= 0x206F)      // general punctuation
           || (c >= 0x3000 && c <= 0x303F)   // CJK symbols and punctuation
           || (c >= 0x3400 && c <= 0x4DBF)   // CJK ideographs, extension A
           || (c >= 0x4E00 && c <= 0x9FFF)   // CJK unified ideographs
           || (c >= 0xF900 && c <= 0xFAFF)   // CJK compatibility ideographs
           || (c >= 0xFE10 && c <= 0xFE1F)   // vertical forms
           || (c >= 0xFE30 && c <= 0xFE6F)   // CJK compatibility forms, small forms
           || (c >= 0xFF00 && c <= 0xFFEF);  // half-width and full-width forms
}

ImportEncoding detectImportEncoding(const ByteData& data) {
    const std::string_view bytes = data.view();
    if (bytes.starts_with(kUtf8Mark)) return ImportEncoding::utf8WithMark;
    if (bytes.starts_with(kUtf16leMark)) return ImportEncoding::utf16leWithMark;
    if (bytes.starts_with(kUtf16beMark)) return ImportEncoding::utf16beWithMark;
    std::u32string codePoints;
    return isUnmarkedUtf8(beforeFirstZero(bytes), codePoints) ? ImportEncoding::utf8 : ImportEncoding::gbk;
}

GbkText decodeImportedFile(const ByteData& data) {
    const std::string_view bytes = data.view();
    if (bytes.starts_with(kUtf8Mark)) {
        return unicodeToGbk(decodeUtf8Leniently(beforeFirstZero(bytes.substr(kUtf8Mark.size()))));
    }
    if (bytes.starts_with(kUtf16leMark)) return utf16ToGbk(utf16Units(bytes.substr(2), false));
    if (bytes.starts_with(kUtf16beMark)) return utf16ToGbk(utf16Units(bytes.substr(2), true));
    const std::string_view text = beforeFirstZero(bytes);
    std::u32string codePoints;
    if (isUnmarkedUtf8(text, codePoints)) return unicodeToGbk(codePoints);
    return GbkText(text);
}

}  // namespace morvane
