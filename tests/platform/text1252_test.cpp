// Texts crossing between the widgets and the program as Windows-1252.
#include "platform/Text1252.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

TEST(Text1252, EveryByteRoundTripsThroughACharacterOfItsOwn) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const QString text = FromWindows1252(all);
    EXPECT_EQ(ToWindows1252(text), all);
    EXPECT_EQ(QSet<QChar>(text.begin(), text.end()).size(), 256);

    // The edges of the ranges, the euro sign and the five bytes the code page leaves unassigned.
    const struct {
        uint8_t byte;
        char16_t character;
    } cases[] = {
        {0x00, 0x0000}, {0x7F, 0x007F}, {0x80, 0x20AC}, {0x81, 0x0081}, {0x85, 0x2026}, {0x8D, 0x008D},
        {0x8F, 0x008F}, {0x90, 0x0090}, {0x9D, 0x009D}, {0x9F, 0x0178}, {0xA0, 0x00A0}, {0xFF, 0x00FF},
    };
    for (const auto& c : cases) EXPECT_EQ(text[c.byte], QChar(c.character)) << int(c.byte);
}

TEST(Text1252, CharactersWithoutAByteBecomeOneQuestionMarkEach) {
    const struct {
        QString text;
        std::string bytes;
    } cases[] = {
        {QString::fromUtf8("Ω"), "?"},
        {QString(QChar(0x0080)), "?"},  // a C1 control that the code page gives to the euro sign
        {QString::fromUtf8("a😀b"), "a?b"},  // outside the basic plane: one character, one '?'
        {QString(QChar(0xD800)) + "x", "?x"},  // an unpaired surrogate
        {QString("x") + QChar(0xDC00), "x?"},
    };
    for (const auto& c : cases) EXPECT_EQ(ToWindows1252(c.text), c.bytes) << c.text.toStdString();
}

// Whole texts convert as their bytes do one by one, whatever their length and where the upper
// half of the code page falls in them.
TEST(Text1252, TextsConvertAsTheirBytesDoOneByOne) {
    std::string bytes;
    for (int i = 0; i < 300; ++i) bytes.push_back(static_cast<char>((i * 37 + 11) % 256));
    for (size_t start : {0, 1, 7, 128}) {
        for (size_t length : {0, 1, 7, 8, 9, 15, 16, 17, 100, 172}) {
            const std::string_view part = std::string_view(bytes).substr(start, length);
            QString byByte;
            for (const char c : part) byByte += FromWindows1252(std::string_view(&c, 1));
            EXPECT_EQ(FromWindows1252(part), byByte) << start << "+" << length;
        }
    }
}

}  // namespace
