#include "convert/gbk_text.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <utility>

namespace morvane {

namespace {

std::string_view upToZero(std::string_view bytes) {
    const auto zero = bytes.find('\0');
    return zero == std::string_view::npos ? bytes : bytes.substr(0, zero);
}

// Bytes in a character starting at `pos`; a lead byte at the very end counts
// as a character of one byte, so no scan ever reads past the end.
std::size_t charLength(std::string_view s, std::size_t pos) {
    return (isLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size()) ? 2 : 1;
}

unsigned char foldAscii(unsigned char b) {
    return (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b - 'A' + 'a') : b;
}

bool matchesAt(std::string_view s, std::size_t pos, std::string_view what, bool ignoreCase) {
    if (!ignoreCase) return std::memcmp(s.data() + pos, what.data(), what.size()) == 0;
    for (std::size_t i = 0; i < what.size(); ++i) {
        if (foldAscii(static_cast<unsigned char>(s[pos + i])) !=
            foldAscii(static_cast<unsigned char>(what[i])))
            return false;
    }
    return true;
}

// Full-width digits, signs, letters and the ideographic space read as their
// ASCII forms, so a number typed with a Chinese input method still counts.
std::string foldFullWidth(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (isLeadByte(b) && i + 1 < s.size()) {
            const auto t = static_cast<unsigned char>(s[i + 1]);
            if (b == 0xA3 && t >= 0xA1 && t <= 0xFE) out += static_cast<char>(t - 0x80);
            else if (b == 0xA1 && t == 0xA1) out += ' ';
            else if (b == 0xA1 && t == 0xAB) out += '~';
            else if (b == 0xA1 && (t == 0xEE || t == 0xEF)) out += '*';
            else out.append(s.substr(i, 2));
            i += 2;
        } else {
            out += static_cast<char>(b);
            ++i;
        }
    }
    return out;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

GbkText::GbkText(const char* literal) : bytes_(literal ? literal : "") {}

GbkText::GbkText(std::string_view bytes) : bytes_(upToZero(bytes)) {}

GbkText GbkText::adopt(std::string&& bytes) {
    GbkText text;
    text.bytes_ = std::move(bytes);
    const auto zero = text.bytes_.find('\0');
    if (zero != std::string::npos) text.bytes_.resize(zero);
    return text;
}

int textLength(const GbkText& text) { return static_cast<int>(text.size()); }

bool isEmptyText(const GbkText& text) { return text.size() == 0; }

GbkText concatTexts(std::initializer_list<GbkText> parts) {
    std::string joined;
    std::size_t total = 0;
    for (const auto& p : parts) total += p.size();
    joined.reserve(total);
    for (const auto& p : parts) joined += p.bytes();
    return GbkText::adopt(std::move(joined));
}

GbkText midText(const GbkText& text, int start, int count) {
    if (start < 1 || start > textLength(text) || count <= 0) return {};
    return GbkText(text.view().substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count)));
}

int findText(const GbkText& text, const GbkText& what, int start, bool ignoreCase) {
    const std::string_view s = text.view();
    const std::string_view w = what.view();
    if (start < 1) start = 1;
    if (w.empty() || static_cast<std::size_t>(start) > s.size()) return -1;
    std::size_t pos = static_cast<std::size_t>(start - 1);
    while (s.size() - pos >= w.size()) {
        if (matchesAt(s, pos, w, ignoreCase)) return static_cast<int>(pos + 1);
        // A lead byte that is the last byte ends the search.
        if (isLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 == s.size()) break;
        pos += charLength(s, pos);
    }
    return -1;
}

GbkText replaceSubtext(const GbkText& text, const GbkText& what, const GbkText& replacement) {
    const std::string_view s = text.view();
    const std::string_view w = what.view();
    if (s.empty() || w.empty()) return text;
    const std::string_view r = replacement.view();

    std::string out;
    out.reserve(s.size());
    std::size_t pos = 0;
    std::size_t copied = 0;  // bytes before this are already in `out`
    const auto first = w.front();
    while (s.size() - pos >= w.size()) {
        if (s[pos] == first && std::memcmp(s.data() + pos, w.data(), w.size()) == 0) {
            out.append(s.substr(copied, pos - copied));
            out.append(r);
            pos += w.size();
            copied = pos;
        } else {
            pos += charLength(s, pos);
        }
    }
    out.append(s.substr(copied));
    return GbkText::adopt(std::move(out));
}

double textToNumber(const GbkText& text) {
    const std::string s = foldFullWidth(text.view());
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;

    std::string number;  // normalised for from_chars: sign, digits, point, 'e'
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-') number += '-';
        ++i;
    }
    bool seenPoint = false;
    std::size_t digits = 0;
    long long pointExponent = 0;  // decimal exponent of the first non-zero digit
    bool seenNonZero = false;
    for (; i < s.size(); ++i) {
        if (isDigit(s[i])) {
            ++digits;
            if (s[i] != '0' && !seenNonZero) seenNonZero = true;
            if (seenNonZero && !seenPoint) ++pointExponent;
            if (!seenNonZero && seenPoint) --pointExponent;
            number += s[i];
        } else if (s[i] == '.' && !seenPoint) {
            seenPoint = true;
            number += '.';
        } else {
            break;
        }
    }
    if (digits == 0) return 0.0;

    long long exponentValue = 0;  // saturated; only used to decide overflow
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        bool negative = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            negative = s[j] == '-';
            exponent += s[j++];
        }
        const std::size_t expDigitsStart = j;
        for (; j < s.size() && isDigit(s[j]); ++j) {
            exponent += s[j];
            if (exponentValue < 1000000000) exponentValue = exponentValue * 10 + (s[j] - '0');
        }
        if (negative) exponentValue = -exponentValue;
        if (j > expDigitsStart) number += exponent;  // no digits: the letter is not taken
        else exponentValue = 0;
    }

    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: saturate the way strtod does.
        const bool minus = number.front() == '-';
        if (pointExponent + exponentValue > 0) value = minus ? -HUGE_VAL : HUGE_VAL;
        else value = minus ? -0.0 : 0.0;
    }
    return value;
}

}  // namespace morvane
