#include "skinlib/skin_description.h"

#include <charconv>

namespace morvane::skin {
namespace {

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

bool parseNumber(std::string_view s, unsigned long long max, unsigned long long& value) {
    if (s.empty()) return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc{} && end == s.data() + s.size() && value <= max;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool parseColour(std::string_view s, Rgb& colour) {
    if (s.size() != 7 || s[0] != '#') return false;
    std::uint8_t parts[3];
    for (int i = 0; i < 3; ++i) {
        const int hi = hexDigit(s[1 + 2 * i]), lo = hexDigit(s[2 + 2 * i]);
        if (hi < 0 || lo < 0) return false;
        parts[i] = static_cast<std::uint8_t>(hi * 16 + lo);
    }
    colour = Rgb{parts[0], parts[1], parts[2]};
    return true;
}

// The keys besides the colour roles, numbered after them for the "seen" list.
enum Extra : std::size_t { kNumber = kRoleCount, kName, kSize, kCorner, kKeyCount };

}  // namespace

DescriptionResult readSkinDescription(std::string_view text) {
    DescriptionResult result;
    SkinDescription& d = result.description;
    bool seen[kKeyCount] = {};
    int lineNumber = 0;
    auto fail = [&](const std::string& what) {
        result.error = "line " + std::to_string(lineNumber) + ": " + what;
        return result;
    };

    while (!text.empty()) {
        ++lineNumber;
        const auto eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);

        // Only whole lines are comments: colours contain '#' themselves.
        line = trim(line);
        if (line.empty() || line[0] == '#') continue;
        const auto eq = line.find('=');
        if (eq == std::string_view::npos) return fail("expected 'key = value'");
        const std::string_view key = trim(line.substr(0, eq));
        const std::string_view value = trim(line.substr(eq + 1));
        const std::string keyText(key);

        std::size_t slot;
        Role role{};
        unsigned long long number = 0;
        if (key == "number") {
            slot = kNumber;
            if (!parseNumber(value, 999, number) || number == 0) return fail("number must be 1..999");
            d.number = static_cast<int>(number);
        } else if (key == "name") {
            slot = kName;
            if (value.empty() || !d.skin.setName(value))
                return fail("name must be 1.." + std::to_string(kMaxNameLength) + " printable ASCII characters");
        } else if (key == "size") {
            slot = kSize;
            if (!parseNumber(value, 0xFFFFFFFFu, number)) return fail("size must be a byte count");
            d.size = static_cast<std::size_t>(number);
        } else if (key == "corner") {
            slot = kCorner;
            if (!parseNumber(value, kMaxCornerRadius, number))
                return fail("corner must be 0.." + std::to_string(kMaxCornerRadius));
            d.skin.cornerRadius = static_cast<std::uint8_t>(number);
        } else if (roleFromName(key, role)) {
            slot = static_cast<std::size_t>(role);
            if (!parseColour(value, d.skin.colour(role))) return fail(keyText + ": colour must be #RRGGBB");
        } else {
            return fail("unknown key '" + keyText + "'");
        }
        if (seen[slot]) return fail("'" + keyText + "' given twice");
        seen[slot] = true;
    }

    ++lineNumber;  // problems of the whole text are reported after its last line
    for (std::size_t i = 0; i < kRoleCount; ++i)
        if (!seen[i]) return fail("missing colour '" + std::string(roleName(static_cast<Role>(i))) + "'");
    static constexpr const char* kExtraNames[] = {"number", "name", "size", "corner"};
    for (std::size_t i = kNumber; i < kKeyCount; ++i)
        if (!seen[i]) return fail(std::string("missing '") + kExtraNames[i - kNumber] + "'");
    if (d.size < minimumSkinSize(d.skin))
        return fail("size " + std::to_string(d.size) + " is below the " + std::to_string(minimumSkinSize(d.skin)) +
                    " bytes the skin needs");
    return result;
}

}  // namespace morvane::skin
