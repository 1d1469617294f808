// Windows-1252 bytes to and from the widgets' Unicode text.
#include "platform/Text1252.h"

#include <array>
#include <cstdint>

#include "foundation/Windows1252.h"

namespace {

// The character of every byte, so that a text converts with one lookup a byte.
constexpr std::array<char16_t, 256> kCharacters = [] {
    std::array<char16_t, 256> characters{};
    for (size_t byte = 0; byte < characters.size(); ++byte) {
        characters[byte] = windows1252::CharacterOf(static_cast<uint8_t>(byte));
    }
    return characters;
}();

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
        bytes.push_back(windows1252::ByteOf(unit, byte) ? static_cast<char>(byte) : '?');
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
