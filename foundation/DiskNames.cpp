// Windows-1252 names to and from the file system's UTF-8.
#include "foundation/DiskNames.h"

#include <cstdint>

#include "foundation/Windows1252.h"

namespace disk_names {
namespace {

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {  // every character of the code page lies in the basic plane
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// The character that starts at text[at], strictly decoded (no overlong forms, surrogates or
// values beyond U+10FFFF); at moves past it. False at a byte that starts no character.
bool NextUtf8(std::string_view text, size_t& at, char32_t& c) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t lead = byte(at);
    size_t length = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        c = lead;
        ++at;
        return true;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, least = 0x80, c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, least = 0x800, c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, least = 0x10000, c = lead & 0x07;
    } else {
        return false;
    }
    if (text.size() - at < length) {
        return false;
    }
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return false;
        }
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return false;
    }
    at += length;
    return true;
}

}  // namespace

std::string ToDisk(std::string_view name) {
    std::string disk;
    disk.reserve(name.size());
    for (const char b : name) {
        AppendUtf8(windows1252::CharacterOf(static_cast<uint8_t>(b)), disk);
    }
    return disk;
}

bool FromDisk(std::string_view disk, std::string& program) {
    std::string converted;
    converted.reserve(disk.size());
    for (size_t at = 0; at < disk.size();) {
        char32_t c = 0;
        uint8_t b = 0;
        if (!NextUtf8(disk, at, c) || !windows1252::ByteOf(c, b)) {
            return false;
        }
        converted.push_back(static_cast<char>(b));
    }
    program = std::move(converted);
    return true;
}

}  // namespace disk_names
