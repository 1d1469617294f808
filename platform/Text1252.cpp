// Windows-1252 bytes to and from the widgets' Unicode text.
#include "platform/Text1252.h"

#include <array>
#include <cstdint>

namespace {

// Bytes 0x80..0x9F; the five the code page leaves unassigned keep their own value (U+0081...).
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The character of every byte, so that a text converts with one lookup a byte.
constexpr std::array<char16_t, 256> kCharacters = [] {
    std::array<char16_t, 256> characters{};
    for (size_t byte = 0; byte < characters.size(); ++byte) {
        characters[byte] = (byte >= 0x80 && byte <= 0x9F) ? kHighControls[byte - 0x80]
                                                           : static_cast<char16_t>(byte);
    }
    return characters;
}();

bool ByteOf(char16_t character, uint8_t& byte) {
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

}  // namespace

std::string ToWindows1252(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        // A character outside the basic plane is one character: one '?' for its pair.
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            ++i;
            bytes.push_back('?');
            continue;
        }
        uint8_t byte = 0;
        bytes.push_back(ByteOf(unit, byte) ? static_cast<char>(byte) : '?');
    }
    return bytes;
}

QString FromWindows1252(std::string_view bytes) {
    // Written straight into the string's storage: one table lookup a byte, which leaves the
    // first writes to fresh memory as the larger part of the cost.
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) *out++ = QChar(kCharacters[static_cast<uint8_t>(c)]);
    return text;
}
