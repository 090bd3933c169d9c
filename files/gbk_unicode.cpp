#include "files/gbk_unicode.h"

#include <array>
#include <cstdint>
#include <memory>

#include "files/cp936_table.h"

namespace morvane {

namespace {

constexpr char16_t kQuestionMark = u'?';
constexpr char16_t kEuroSign = 0x20AC;    // the single byte 0x80
constexpr char16_t kSingleByteFF = 0xF8F5;  // the single byte 0xFF, a private-use code point

// Code point -> GBK code: a value below 0x100 is a single byte, a larger one
// the lead byte (high) and trail byte (low), 0 none (U+0000 is the only code
// point whose single byte is 0, and it is handled before the table).
struct EncodeTable {
    std::array<std::uint16_t, 0x10000> codes{};

    EncodeTable() {
        for (unsigned b = 1; b < 0x80; ++b) codes[b] = static_cast<std::uint16_t>(b);
        codes[kEuroSign] = 0x80;
        codes[kSingleByteFF] = 0xFF;
        for (unsigned l = 0; l < cp936::kLeadCount; ++l) {
            const unsigned lead = cp936::kFirstLead + l;
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
                if (!cp936::isTrail(static_cast<unsigned char>(trail))) continue;
                const auto codePoint =
                    cp936::kDoubleByteTable[l * cp936::kTrailCount + cp936::trailIndex(static_cast<unsigned char>(trail))];
                codes[codePoint] = static_cast<std::uint16_t>(lead << 8 | trail);
            }
        }
    }
};

const EncodeTable& encodeTable() {
    static const auto table = std::make_unique<EncodeTable>();
    return *table;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

char16_t decodeGbkCharacter(std::string_view bytes, std::size_t& length) {
    const auto first = static_cast<unsigned char>(bytes[0]);
    length = 1;
    if (first < 0x80) return first;
    if (first == 0x80) return kEuroSign;
    if (first == 0xFF) return kSingleByteFF;
    if (bytes.size() < 2 || bytes[1] == '\0') return kQuestionMark;
    length = 2;
    const auto trail = static_cast<unsigned char>(bytes[1]);
    if (!cp936::isTrail(trail)) return kQuestionMark;
    return cp936::kDoubleByteTable[(first - cp936::kFirstLead) * cp936::kTrailCount + cp936::trailIndex(trail)];
}

std::u16string gbkToUtf16(std::string_view gbk) {
    std::u16string out;
    out.reserve(gbk.size());
    while (!gbk.empty()) {
        std::size_t length;
        out += decodeGbkCharacter(gbk, length);
        gbk.remove_prefix(length);
    }
    return out;
}

std::string gbkToUtf8(std::string_view gbk) {
    std::string out;
    out.reserve(gbk.size() * 3 / 2);
    while (!gbk.empty()) {
        std::size_t length;
        appendUtf8(out, decodeGbkCharacter(gbk, length));
        gbk.remove_prefix(length);
    }
    return out;
}

void appendGbkCharacter(std::string& out, char32_t codePoint) {
    if (codePoint == 0) {
        out += '\0';
        return;
    }
    const std::uint16_t code = codePoint < 0x10000 ? encodeTable().codes[codePoint] : 0;
    if (code == 0) {
        out += '?';
    } else if (code < 0x100) {
        out += static_cast<char>(code);
    } else {
        out += static_cast<char>(code >> 8);
        out += static_cast<char>(code & 0xFF);
    }
}

GbkText utf16ToGbk(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size() * 2);
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t unit = utf16[i];
        if (unit == 0) break;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            ++i;  // a pair: one character beyond the plane, which GBK lacks
            out += '?';
            continue;
        }
        appendGbkCharacter(out, unit);  // a lone surrogate has no code either
    }
    return GbkText::adopt(std::move(out));
}

GbkText unicodeToGbk(std::u32string_view codePoints) {
    std::string out;
    out.reserve(codePoints.size() * 2);
    for (const char32_t c : codePoints) {
        if (c == 0) break;
        appendGbkCharacter(out, c);
    }
    return GbkText::adopt(std::move(out));
}

}  // namespace morvane
