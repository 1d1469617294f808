#pragma once
// The Windows-1252 code page: the Unicode character of each byte. Bytes 0x81, 0x8D, 0x8F, 0x90
// and 0x9D, which the code page leaves unassigned, stand for U+0081..., so every byte has a
// character of its own and round-trips. Inline, as bulk conversions call it per byte.
#include <array>
#include <cstddef>
#include <cstdint>

namespace windows1252 {

// Bytes 0x80..0x9F; the five the code page leaves unassigned keep their own value (U+0081...).
inline constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char16_t CharacterOf(uint8_t byte) {
    return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : char16_t{byte};
}

// False when the code page has no byte for the character.
constexpr bool ByteOf(char32_t character, uint8_t& byte) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) {
        byte = static_cast<uint8_t>(character);
        return true;
    }
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == character) {
            byte = static_cast<uint8_t>(0x80 + i);
            return true;
        }
    }
    return false;
}

}  // namespace windows1252
