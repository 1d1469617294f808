#pragma once
// Dialog units to pixels: x × average character width / 4, y × character height / 8, from the
// dialog's font, with the average width taken over the 52 letters A–Z and a–z.
#include <cstdint>

#include <QFont>
#include <QRect>

struct DialogUnits {
    int baseX;  // average character width in pixels
    int baseY;  // character height in pixels

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
