// Dialog units to pixels from the dialog font's metrics.
#include "platform/DialogUnits.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QFontMetrics>
#include <QFontMetricsF>

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
    if (c == 0) return 0;
    const int64_t product = static_cast<int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const int64_t magnitude = (product < 0 ? -product : product);
    const int64_t divisor = (c < 0 ? -static_cast<int64_t>(c) : c);
    const int64_t rounded = (magnitude * 2 + divisor) / (divisor * 2);
    return static_cast<int32_t>(negative ? -rounded : rounded);
}

DialogUnits DialogUnits::ForFont(const QFont& font) {
    const QFontMetricsF metrics(font);
    double width =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52;
    for (const QChar digit : QStringLiteral("0123456789ABCDEFabcdef")) {
        width = std::max(width, metrics.horizontalAdvance(digit));
    }
    return DialogUnits{width, QFontMetrics(font).height()};
}

int DialogUnits::X(int units) const { return static_cast<int>(std::lround(units * baseX / 4)); }
int DialogUnits::Y(int units) const { return MulDiv(units, baseY, 8); }

QRect DialogUnits::Rect(int x, int y, int cx, int cy) const {
    return QRect(X(x), Y(y), X(cx), Y(cy));
}

QFont DialogFont() { return QApplication::font(); }
