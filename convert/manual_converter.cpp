#include "convert/manual_converter.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

namespace morvane {

const std::array<ReplacementStep, 32> ManualConverter::steps = {{
    {"1", "Q"}, {"2", "W"}, {"3", "E"}, {"4", "R"}, {"5", "T"}, {"6", "Y"}, {"7", "U"},
    {"!", "1"}, {"@", "2"}, {"#", "3"}, {"$", "4"}, {"%", "5"}, {"^", "6"}, {"&", "7"},
    {"！", "1"}, {"￥", "4"}, {"……", "6"},
    {"z", "A"}, {"x", "S"}, {"c", "D"}, {"v", "F"}, {"b", "G"}, {"n", "H"}, {"m", "J"},
    {"Z", "A"}, {"X", "S"}, {"C", "D"}, {"V", "F"}, {"B", "G"}, {"N", "H"}, {"M", "J"},
    {"0", "----"},
}};

GbkText ManualConverter::convertLiterally(const GbkText& numberedScore) {
    return applyReplacementSteps(numberedScore, steps);
}

namespace {

// Why one pass is enough: every find text is one character (or, for "……",
// two), every replacement is plain ASCII, and no replacement contains the
// find text of a later step.  Replacing whole characters by ASCII never moves
// a character boundary further on, so each input character is rewritten at
// most once, by the first step that matches it, and the 32 passes collapse
// into one lookup per character.  The map is built from `steps`, so the table
// stays the one place that says what the conversion does.
struct SinglePassMap {
    // For a byte below 0x80: what it becomes, packed, and how many bytes.
    // For a lead byte: `lead` is set and the byte pair decides.
    struct Entry {
        char out[4];
        std::uint8_t length;
        bool lead;
        bool startsMulti;
    };
    std::array<Entry, 256> entries{};
    struct Multi {
        std::string_view find;
        std::string_view replacement;
    };
    std::array<Multi, 8> multi{};  // finds that start with a lead byte, in table order
    std::size_t multiCount = 0;

    SinglePassMap() {
        for (std::size_t b = 0; b < entries.size(); ++b) {
            entries[b] = {{static_cast<char>(b)}, 1, b >= 0x80, false};
        }
        std::array<bool, 128> taken{};
        for (const auto& step : ManualConverter::steps) {
            const std::string_view find = step.find;
            const std::string_view replacement = step.replacement;
            const auto b = static_cast<unsigned char>(find[0]);
            if (find.size() == 1 && b < 0x80) {
                if (taken[b]) continue;  // an earlier step already took this byte
                if (replacement.size() > sizeof(Entry::out)) std::abort();
                taken[b] = true;
                auto& e = entries[b];
                std::memcpy(e.out, replacement.data(), replacement.size());
                e.length = static_cast<std::uint8_t>(replacement.size());
            } else {
                // Longer finds start with a lead byte and shrink, so the
                // eight-byte path and the output buffer bound both hold.
                if (b < 0x80 || replacement.size() > find.size() || multiCount == multi.size()) std::abort();
                multi[multiCount++] = {find, replacement};
                entries[b].startsMulti = true;
            }
        }
    }
};

const SinglePassMap& singlePassMap() {
    static const SinglePassMap map;
    return map;
}

}  // namespace

GbkText ManualConverter::convert(const GbkText& numberedScore) {
    const std::string_view in = numberedScore.view();
    const auto& map = singlePassMap();
    // One-byte finds may grow ("0" becomes "----"); the others never do.
    std::size_t growth = 0;
    for (std::size_t b = 0; b < 0x80; ++b) {
        if (map.entries[b].length > 1)
            growth += (map.entries[b].length - 1u) *
                      static_cast<std::size_t>(std::count(in.begin(), in.end(), static_cast<char>(b)));
    }
    // Four bytes of slack: every one-byte character is stored as a whole
    // four-byte entry and the write position then moves by its real length.
    std::string out(in.size() + growth + sizeof(SinglePassMap::Entry::out), '\0');
    char* o = out.data();
    const char* p = in.data();
    const char* const end = p + in.size();

    // One character of any kind; returns past it.
    const auto one = [&](const char* q) {
        const auto& e = map.entries[static_cast<unsigned char>(*q)];
        const auto left = static_cast<std::size_t>(end - q);
        if (!e.lead) {
            std::memcpy(o, e.out, sizeof(e.out));
            o += e.length;
            return q + 1;
        }
        if (left < 2) {  // a lone lead byte at the very end stays as it is
            *o++ = *q;
            return q + 1;
        }
        if (e.startsMulti) {
            for (std::size_t k = 0; k < map.multiCount; ++k) {
                const auto& m = map.multi[k];
                if (m.find.size() <= left && std::memcmp(q, m.find.data(), m.find.size()) == 0) {
                    std::memcpy(o, m.replacement.data(), m.replacement.size());
                    o += m.replacement.size();
                    return q + m.find.size();
                }
            }
        }
        std::memcpy(o, q, 2);
        o += 2;
        return q + 2;
    };

    // Eight bytes at a time: the one-byte characters in front of the first
    // lead byte go through the table without a branch (those behind it are
    // written too but do not move the output on, so the next write covers
    // them), then that lead byte's character goes through `one`.
    constexpr std::uint64_t highBits = 0x8080808080808080ull;
    while (end - p >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof(word));
        const std::uint64_t leads = word & highBits;
        const int ascii = leads == 0 ? 8 : std::countr_zero(leads) / 8;
        for (int i = 0; i < 8; ++i) {
            const auto& e = map.entries[static_cast<unsigned char>(p[i])];
            std::memcpy(o, e.out, sizeof(e.out));
            o += i < ascii ? e.length : 0;
        }
        p += ascii;
        if (ascii < 8) p = one(p);
    }
    while (p < end) p = one(p);
    out.resize(static_cast<std::size_t>(o - out.data()));
    return GbkText::adopt(std::move(out));
}

}  // namespace morvane
