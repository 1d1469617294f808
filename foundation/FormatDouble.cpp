#include "foundation/FormatDouble.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "foundation/GeneralConversion.h"

namespace Zarnel {

namespace {

constexpr double kPlainLow = 1e-6;
constexpr double kPlainHigh = 1e6;
constexpr int32_t kMinGeneralDigits = 10;
constexpr int32_t kMaxScientificDigits = 12;
constexpr int32_t kMinNegativeDigits = 6;

// A NaN is neither inside nor outside: it goes on as a plain value.
bool OutsidePlainRange(double value) {
    if (value > 0.0) {
        return value > kPlainHigh || value < kPlainLow;
    }
    if (value < 0.0) {
        return value < -kPlainHigh || value > -kPlainLow;
    }
    return false;
}

bool IsInt32Integral(double value) {
    return value >= static_cast<double>(std::numeric_limits<int32_t>::min()) &&
           value <= static_cast<double>(std::numeric_limits<int32_t>::max()) &&
           value == std::trunc(value);
}

int32_t Length(const std::string& text) {
    return static_cast<int32_t>(text.size());
}

}  // namespace

int32_t FormatDouble(double value, char* out, int16_t width) {
    if (out == nullptr || width < 0) {
        return 0;
    }
    const int32_t outSize = int32_t{width} + 1;
    if (value == 0.0) {
        return CopyChars(out, "0", outSize) == 1 ? 1 : 0;
    }
    if (OutsidePlainRange(value)) {
        const int32_t digits = std::min(int32_t{width} - 8, kMaxScientificDigits);
        std::string scratch(static_cast<size_t>(width) + 10, '\0');
        const int32_t result =
            FormatScientific(value, scratch.data(), width, static_cast<int16_t>(digits));
        CopyChars(out, scratch.c_str(), outSize);
        return result;
    }
    if (IsInt32Integral(value)) {
        char integral[16];
        std::snprintf(integral, sizeof integral, "%" PRId32, static_cast<int32_t>(value));
        const bool fits = CountChars(integral, false) <= width;
        CopyChars(out, integral, outSize);
        return fits ? 1 : 0;
    }

    std::string text = ConvertGeneralTidy(value, int32_t{width} - 1);
    if (Length(text) <= width) {
        CopyChars(out, text.c_str(), outSize);
        return 1;
    }
    int32_t digits = (int32_t{width} - 1) + (int32_t{width} - Length(text));
    if (digits < 1) {
        CopyChars(out, text.c_str(), outSize);
        return 0;
    }
    if (value < 0.0 && digits < kMinNegativeDigits) {
        digits = kMinNegativeDigits;
    }
    text = ConvertGeneralTidy(value, digits);
    while (Length(text) > width) {
        // Even one digit is too wide: give up with the text cut to the width.
        if (--digits < 1) {
            CopyChars(out, text.c_str(), outSize);
            return 0;
        }
        text = ConvertGeneralTidy(value, digits);
    }
    CopyChars(out, text.c_str(), outSize);
    return 1;
}

int32_t FormatScientific(double value, char* out, int16_t width, int16_t digits) {
    if (out == nullptr) {
        return 0;
    }
    if (width > 0) {
        std::memset(out, 0, static_cast<size_t>(width));
    }
    FormatGeneral(value < 0.0 ? '-' : '+', std::fabs(value), out, width, digits);
    return 0;
}

void FormatGeneral(char sign, double magnitude, char* out, int16_t width, int16_t digits) {
    if (out == nullptr || width < 0) {
        return;
    }
    const std::string text =
        ConvertGeneralTidy(magnitude, digits > kMinGeneralDigits ? digits : kMinGeneralDigits);
    const size_t fitWidth = static_cast<size_t>(width);
    if (sign == '-' && text.size() < fitWidth) {
        out[0] = '-';
        std::memcpy(out + 1, text.c_str(), text.size() + 1);
        return;
    }
    if (sign != '-' && text.size() <= fitWidth) {
        std::memcpy(out, text.c_str(), text.size() + 1);
        return;
    }

    // Too wide: cut the digits but keep the exponent at the end, room permitting.
    std::memcpy(out, text.data(), fitWidth);
    size_t front = fitWidth;
    const size_t letter = text.find_first_of("eE");
    if (letter != std::string::npos) {
        const size_t exponentLength = text.size() - letter;
        if (fitWidth > exponentLength + 2) {
            front = fitWidth - exponentLength;
            std::memcpy(out + front, text.data() + letter, exponentLength);
        }
    }
    if (sign == '-' && front > 0) {
        std::memmove(out + 1, out, front - 1);
        out[0] = '-';
    }
    out[fitWidth] = '\0';
}

}  // namespace Zarnel
