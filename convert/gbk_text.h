// GbkText: the program's one text type, a byte string in code page 936.
//
// Everything the program handles (box contents, scores, files, the version
// page, message texts) is kept as GBK bytes.  The type is a plain value: every
// operation below returns a new text and leaves its arguments alone.
//
// Positions are 1-based byte positions and lengths count bytes.  The scanning
// operations (findText, replaceSubtext) walk characters by the high-bit rule:
// a byte >= 0x80 starts a two-byte character, every other byte is a character
// on its own.  That rule is deliberately cruder than the real GBK lead-byte
// table; the converters depend on it.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace morvane {

class GbkText {
public:
    GbkText() = default;
    // From a literal of this program (compiled as GBK) or from raw bytes.  A
    // text never holds a zero byte, so anything from the first zero on is
    // dropped.
    GbkText(const char* literal);  // NOLINT: literals convert implicitly
    explicit GbkText(std::string_view bytes);
    // Takes the bytes over without copying them (still cut at a zero byte).
    static GbkText adopt(std::string&& bytes);

    const std::string& bytes() const { return bytes_; }
    std::string_view view() const { return bytes_; }
    std::size_t size() const { return bytes_.size(); }

    friend bool operator==(const GbkText&, const GbkText&) = default;

private:
    std::string bytes_;
};

// True when byte `b` starts a two-byte character.
constexpr bool isLeadByte(unsigned char b) { return b >= 0x80; }

int textLength(const GbkText& text);
bool isEmptyText(const GbkText& text);
GbkText concatTexts(std::initializer_list<GbkText> parts);
template <class... T>
GbkText concatTexts(const GbkText& first, const T&... rest) {
    return concatTexts({first, GbkText(rest)...});
}

// At most `count` bytes from 1-based position `start`; empty when start is
// out of range or count <= 0.
GbkText midText(const GbkText& text, int start, int count);

// 1-based position of the first `what` at a character start at or after
// `start`, or -1.  ignoreCase folds only the 26 ASCII letters, byte by byte.
// An empty `what` gives -1: nothing is ever searched for the empty text.
int findText(const GbkText& text, const GbkText& what, int start, bool ignoreCase);

// Every non-overlapping occurrence of `what`, left to right, matched only at
// character starts and case-sensitively, replaced by `replacement`.
GbkText replaceSubtext(const GbkText& text, const GbkText& what, const GbkText& replacement);

// The decimal number at the start of the text (after blanks), or 0.
// Full-width digits, signs and points count as their ASCII forms; the
// exponent may be written e, E, d or D; the point is always ".".
double textToNumber(const GbkText& text);

}  // namespace morvane
