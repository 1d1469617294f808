#pragma once
// Dialog units to pixels: x × character width / 4, y × character height / 8, from the dialog's
// font. The character width is the average of the 52 letters A–Z and a–z, but never less than
// the font's widest hex digit: templates give a number field four units a digit, which the
// dialog font they were drawn in keeps and a desktop font with wide digits does not.
#include <cstdint>

#include <QFont>
#include <QRect>

struct DialogUnits {
    double baseX;  // character width in pixels
    int baseY;     // character height in pixels

    static DialogUnits ForFont(const QFont& font);
    int X(int units) const;
    int Y(int units) const;
    QRect Rect(int x, int y, int cx, int cy) const;
};

// a × b / c rounded to the nearest integer, halves away from zero; 0 when c is 0.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

// The font a dialog is laid out in: the desktop's own user-interface font, since the
// template's font names a face of another system.
QFont DialogFont();
