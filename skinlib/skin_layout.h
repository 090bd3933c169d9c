// Byte layout of a ".SHE" block, shared by the reader (skin_format.cpp) and
// the writer (skin_writer.cpp).  Internal to skinlib; README.md documents it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "skinlib/skin_format.h"

namespace morvane::skin::layout {

inline constexpr std::uint8_t kMagic[4] = {0x2E, 0x53, 0x48, 0x45};  // ".SHE"

// Header fields, little-endian.
inline constexpr std::size_t kVersion = 4;         // u16
inline constexpr std::size_t kHeaderSizeField = 6; // u16
inline constexpr std::size_t kTotalSize = 8;       // u32
inline constexpr std::size_t kPaletteOffset = 12;  // u32
inline constexpr std::size_t kPaletteCount = 16;   // u16
inline constexpr std::size_t kEntrySizeField = 18; // u16
inline constexpr std::size_t kNameOffset = 20;     // u32
inline constexpr std::size_t kNameLength = 24;     // u16
inline constexpr std::size_t kCornerRadius = 26;   // u8
inline constexpr std::size_t kFlags = 27;          // u8
inline constexpr std::size_t kChecksum = 28;       // u32

inline std::uint16_t get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
inline std::uint32_t get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline void put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// What the checksum covers: the header up to the checksum field, the palette
// and the name.  Padding is not covered; readers ignore it.
inline std::uint32_t blockChecksum(const std::uint8_t* block, std::size_t paletteOffset, std::size_t paletteBytes,
                                   std::size_t nameOffset, std::size_t nameLength) {
    std::uint32_t crc = crc32(block, kChecksum);
    crc = crc32(block + paletteOffset, paletteBytes, crc);
    return crc32(block + nameOffset, nameLength, crc);
}

}  // namespace morvane::skin::layout
