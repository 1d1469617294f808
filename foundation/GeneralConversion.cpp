#include "foundation/GeneralConversion.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "foundation/FormatDouble.h"

namespace Zarnel {

namespace {

constexpr int32_t kSignificantDigits = 17;
constexpr uint64_t kSignBit = 0x8000000000000000ULL;
constexpr uint64_t kQuietBit = 0x0008000000000000ULL;
constexpr uint64_t kMantissaBits = 0x000FFFFFFFFFFFFFULL;
// The NaN that an invalid operation produces: sign and quiet bit, nothing else.
constexpr uint64_t kIndefiniteBits = 0xFFF8000000000000ULL;

const char* NonFiniteText(uint64_t bits) {
    if ((bits & kMantissaBits) == 0) {
        return "1.#INF";
    }
    if (bits == kIndefiniteBits) {
        return "1.#IND";
    }
    return (bits & kQuietBit) != 0 ? "1.#QNAN" : "1.#SNAN";
}

// The 17 significant digits of a finite non-negative value and its decimal exponent.
void SeventeenDigits(double magnitude, std::string& digits, int32_t& exponent) {
    char text[40];
    std::snprintf(text, sizeof text, "%.16e", magnitude);
    digits.assign(1, text[0]);
    digits.append(text + 2, static_cast<size_t>(kSignificantDigits - 1));
    const char* letter = std::strchr(text, 'e');
    exponent = letter != nullptr ? static_cast<int32_t>(std::strtol(letter + 1, nullptr, 10)) : 0;
}

// Half up on the first dropped digit; a carry out of the first digit adds one in front.
std::string RoundDigits(const std::string& seventeen, int32_t n) {
    const size_t count = static_cast<size_t>(n);
    if (count >= seventeen.size()) {
        return seventeen + std::string(count - seventeen.size(), '0');
    }
    std::string rounded = seventeen.substr(0, count);
    if (seventeen[count] >= '5') {
        size_t i = count;
        while (i > 0 && rounded[i - 1] == '9') {
            rounded[i - 1] = '0';
            --i;
        }
        if (i > 0) {
            ++rounded[i - 1];
        } else {
            rounded.insert(rounded.begin(), '1');
        }
    }
    return rounded;
}

void DropFractionZeros(std::string& text) {
    const size_t point = text.find('.');
    if (point == std::string::npos) {
        return;
    }
    const size_t letter = text.find('e', point);
    const size_t fractionEnd = letter == std::string::npos ? text.size() : letter;
    size_t keep = fractionEnd;
    while (keep > point + 1 && text[keep - 1] == '0') {
        --keep;
    }
    text.erase(keep, fractionEnd - keep);
}

}  // namespace

std::string ConvertGeneral(double value, int32_t digits) {
    const uint64_t bits = std::bit_cast<uint64_t>(value);
    std::string text = (bits & kSignBit) != 0 ? "-" : "";
    if (!std::isfinite(value)) {
        text += NonFiniteText(bits);
        return text;
    }
    const int32_t n = digits < 1 ? 1 : digits;
    std::string seventeen;
    int32_t exponent = 0;
    SeventeenDigits(std::fabs(value), seventeen, exponent);

    // The form is chosen before rounding, so a carry can lengthen a fixed-form number.
    const bool fixedForm = exponent >= -1 && exponent <= n - 1;
    std::string rounded = RoundDigits(seventeen, n);
    const bool carried = rounded.size() > static_cast<size_t>(n);

    if (fixedForm) {
        const size_t decimals = static_cast<size_t>(n - (exponent + 1));
        const size_t integerDigits = rounded.size() - decimals;
        text += integerDigits == 0 ? std::string("0") : rounded.substr(0, integerDigits);
        if (decimals > 0) {
            text += '.';
            text.append(rounded, integerDigits, std::string::npos);
        }
    } else {
        if (carried) {
            rounded.pop_back();
            ++exponent;
        }
        text += rounded[0];
        text += '.';
        text.append(rounded, 1, std::string::npos);
        char exponentText[16];
        std::snprintf(exponentText, sizeof exponentText, "e%c%03d", exponent < 0 ? '-' : '+',
                      static_cast<int>(std::abs(exponent)));
        text += exponentText;
    }
    DropFractionZeros(text);
    return text;
}

std::string ConvertGeneralTidy(double value, int32_t digits) {
    std::string text = ConvertGeneral(value, digits);
    TidyNumberText(text.data());
    text.resize(std::strlen(text.c_str()));
    return text;
}

}  // namespace Zarnel
