// Skin descriptions are what people edit; mistakes in them must stop the
// build with a message that points at the line.
#include <gtest/gtest.h>

#include <string>

#include "skinlib/skin_description.h"

namespace {

using namespace morvane::skin;

std::string colourLine(std::size_t role, const char* colour) {
    return std::string(roleName(static_cast<Role>(role))) + " = " + colour + "\n";
}

std::string validText() {
    std::string text = "# a comment\nnumber = 12\nname   = Test Skin\nsize   = 5000\ncorner = 2\n\n";
    for (std::size_t i = 0; i < kRoleCount; ++i) text += colourLine(i, i % 2 ? "#A0b1C2" : "#000000");
    return text;
}

// `text` with the line that starts with `key` replaced (or dropped when
// `line` is empty).
std::string withLine(const std::string& key, const std::string& line) {
    std::string text = validText();
    const auto at = text.find("\n" + key) + 1;
    const auto end = text.find('\n', at) + 1;
    return text.replace(at, end - at, line.empty() ? "" : line + "\n");
}

TEST(SkinDescription, ReadsEveryField) {
    const DescriptionResult read = readSkinDescription(validText());
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.description.number, 12);
    EXPECT_EQ(read.description.size, 5000u);
    EXPECT_EQ(read.description.skin.nameView(), "Test Skin");
    EXPECT_EQ(read.description.skin.cornerRadius, 2);
    EXPECT_EQ(read.description.skin.colour(Role::WindowBack), (Rgb{0, 0, 0}));
    EXPECT_EQ(read.description.skin.colour(Role::WindowText), (Rgb{0xA0, 0xB1, 0xC2}));
}

TEST(SkinDescription, ToleratesWindowsLineEndsAndIndentedComments) {
    std::string text = "  # indented comment\n";
    for (char c : validText()) {
        if (c == '\n') text += '\r';
        text += c;
    }
    const DescriptionResult read = readSkinDescription(text);
    ASSERT_TRUE(read.ok()) << read.error;
    EXPECT_EQ(read.description.skin.nameView(), "Test Skin");
}

TEST(SkinDescription, ReportsMistakesWithTheirLine) {
    const std::size_t lastLine = 6 + kRoleCount + 1;  // problems of the whole text
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {withLine("number", "number 12"), "line 2: expected 'key = value'"},
        {withLine("number", "number = 0"), "line 2: number must be 1..999"},
        {withLine("number", "number = 12x"), "line 2: number must be 1..999"},
        {withLine("name", "name ="), "line 3: name must be"},
        {withLine("name", "name = " + std::string(64, 'x')), "line 3: name must be"},
        {withLine("name", "name = Caf\xC3\xA9"), "line 3: name must be"},
        {withLine("size", "size = -1"), "line 4: size must be a byte count"},
        {withLine("size", "size = 4294967296"), "line 4: size must be a byte count"},
        {withLine("size", "size = 100"), "line " + std::to_string(lastLine) + ": size 100 is below"},
        {withLine("corner", "corner = 9"), "line 5: corner must be 0..8"},
        {withLine("window.text", "window.text = #12345"), "line 8: window.text: colour must be #RRGGBB"},
        {withLine("window.text", "window.text = #12345G"), "line 8: window.text: colour must be #RRGGBB"},
        {withLine("window.text", "window.text = 123456"), "line 8: window.text: colour must be #RRGGBB"},
        {withLine("window.text", "window.txt = #123456"), "line 8: unknown key 'window.txt'"},
        {withLine("window.text", "window.back = #123456"), "line 8: 'window.back' given twice"},
        {withLine("corner", ""), "line " + std::to_string(lastLine - 1) + ": missing 'corner'"},
        {withLine("edit.border", ""), "line " + std::to_string(lastLine - 1) + ": missing colour 'edit.border'"},
    };
    for (const auto& c : cases) {
        const DescriptionResult read = readSkinDescription(c.text);
        EXPECT_EQ(read.error.substr(0, c.error.size()), c.error) << c.text;
    }
}

}  // namespace
