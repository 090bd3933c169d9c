// The ".SHE" skin format: reading, checking and writing one skin block.
//
// Portable code, no Windows headers: the skin library reads blocks with
// parseSkin (skin_format.cpp), the skin generator writes them with
// serializeSkin (skin_writer.cpp).  The byte layout is in skinlib/README.md.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace morvane::skin {

// Every colour a skin defines.  The numbers are stored in the file and never
// change meaning; a new role gets a new number and a new format version.
enum class Role : std::uint8_t {
    WindowBack,          // client area of top-level windows and dialogs
    WindowText,          // labels placed directly on such windows
    PageBack,            // body of a tab control, where its pages lie
    PageText,            // labels on a tab page
    TabFace,             // tabs that are not selected
    TabText,             // captions of all tabs
    TabBorder,           // outline of the tabs and of the page body
    TabAccent,           // stripe along the top of the selected tab
    ButtonFaceTop,       // push button face, a vertical gradient...
    ButtonFaceBottom,    // ...from top to bottom
    ButtonHotTop,        // the same while the mouse is over the button
    ButtonHotBottom,
    ButtonPressedTop,    // the same while the button is held down
    ButtonPressedBottom,
    ButtonText,
    ButtonTextDisabled,
    ButtonBorder,
    ButtonFocus,         // outline of the focused and of the default button
    EditBack,
    EditText,
    EditReadOnlyBack,    // read-only and disabled edit boxes
    EditBorder,          // frame of edit boxes with a sunken edge
};

inline constexpr std::size_t kRoleCount = 22;

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr std::size_t kMaxNameLength = 63;
inline constexpr std::uint8_t kMaxCornerRadius = 8;

struct Skin {
    std::array<Rgb, kRoleCount> colours{};
    // Printable ASCII, for people looking at a file; not used for drawing.
    std::array<char, kMaxNameLength + 1> name{};  // zero-terminated
    std::uint8_t cornerRadius = 0;                // of buttons, in pixels

    Rgb colour(Role role) const { return colours[static_cast<std::size_t>(role)]; }
    Rgb& colour(Role role) { return colours[static_cast<std::size_t>(role)]; }
    std::string_view nameView() const { return name.data(); }
    // False when the name is too long or not printable ASCII.
    bool setName(std::string_view text);

    friend bool operator==(const Skin&, const Skin&) = default;
};

// The name a role has in skin descriptions ("button.face.top"), and back.
std::string_view roleName(Role role);
bool roleFromName(std::string_view name, Role& role);

// Layout constants of format version 1.
inline constexpr std::uint16_t kFormatVersion = 1;
inline constexpr std::size_t kHeaderSize = 32;
inline constexpr std::size_t kEntrySize = 4;

enum class ParseError {
    None,
    NoData,           // null address
    TooShort,         // fewer bytes than the header, or than the header says
    BadMagic,
    BadVersion,
    BadHeaderSize,
    SizeMismatch,     // the block's stated size is not the size handed over
    BadPalette,       // entry size, count, offset or extent out of range
    BadRole,          // unknown, repeated or missing role
    BadName,          // out of range, overlapping the palette, not printable
    BadCornerRadius,
    BadFlags,
    ChecksumMismatch,
};

struct ParseResult {
    ParseError error = ParseError::None;
    Skin skin{};
    bool ok() const { return error == ParseError::None; }
};

// Checks everything before using anything; reads only data[0, size).
ParseResult parseSkin(const std::uint8_t* data, std::size_t size) noexcept;

// The block for `skin`, padded with zeros to exactly `totalSize` bytes; empty
// when `totalSize` cannot hold it or does not fit the 32-bit size field.
std::vector<std::uint8_t> serializeSkin(const Skin& skin, std::size_t totalSize);

// The smallest block that holds `skin`.
std::size_t minimumSkinSize(const Skin& skin);

// CRC-32 (the zlib/PNG polynomial), continued from `crc` (0 to start).
std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) noexcept;

}  // namespace morvane::skin
