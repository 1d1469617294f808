#include "foundation/FormatDouble.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace Zarnel;

constexpr double kInf = std::numeric_limits<double>::infinity();

// The text and the result, as "text 1". The buffer is exactly width + 1 bytes, so the
// sanitizer build catches any overrun.
std::string Format(double value, int16_t width) {
    std::vector<char> out(static_cast<size_t>(width) + 1, '#');
    const int32_t result = FormatDouble(value, out.data(), width);
    EXPECT_NE(std::memchr(out.data(), '\0', out.size()), nullptr);
    std::string text = out.data();
    text += ' ';
    text += std::to_string(result);
    return text;
}

TEST(FormatDouble, GivesTheTextsProgramsDependOnAtBothWidths) {
    volatile double infinity = kInf;
    const auto nan = [](uint64_t bits) { return std::bit_cast<double>(bits); };
    const std::pair<double, const char*> cases[] = {
        {0.0, "0 1"}, {-0.0, "0 1"}, {-0.5, "-0.5 1"}, {0.1, "0.10000000000000001 1"},
        {1e6, "1000000 1"}, {-1e6, "-1000000 1"}, {0.001, "1e-3 1"}, {0.05, "5.0000000000000003e-2 1"},
        {1e-6, "9.9999999999999995e-7 1"}, {-1e-6, "-9.9999999999999995e-7 1"},
        // NaNs go on as plain values.
        {infinity - infinity, "-1.#IND 1"}, {nan(0x7FF8000000000000), "1.#QNAN 1"},
        {nan(0xFFF8000000000001), "-1.#QNAN 1"}, {nan(0x7FF0000000000001), "1.#SNAN 1"},
        {nan(0xFFF4000000000000), "-1.#SNAN 1"},
        // The exponent path: at most 12 digits, and false whatever the text.
        {2e7, "20000000. 0"}, {-2.5e10, "-25000000000. 0"}, {1000000.5, "1000000.5 0"},
        {9e-7, "9e-7 0"}, {kInf, "1.#INF 0"}, {-kInf, "-1.#INF 0"},
        {123456789012345.0, "1.23456789012e+14 0"}, {1e11, "100000000000 0"},
        {1e12, "1e+12 0"}, {99999999999.99, "100000000000. 0"},
        {std::numeric_limits<double>::denorm_min(), "4.94065645841e-324 0"},
        {std::numeric_limits<double>::max(), "1.79769313486e+308 0"},
        // A carry out of the first digit: fixed form grows a digit, exponent form moves on.
        {999999999999.5, "1000000000000 0"}, {9.999999999995e14, "1e+15 0"},
    };
    for (const int16_t width : {int16_t{63}, int16_t{127}}) {
        for (const auto& [value, expected] : cases) {
            EXPECT_EQ(Format(value, width), expected) << value << " at width " << width;
        }
    }
}

// Narrower widths: every plain text reads back as its value, and no text leaves its buffer.
TEST(FormatDouble, NarrowerWidthsKeepTheValueAndTheBuffer) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    for (int i = 0; i < 20000; ++i) {
        const double value = std::ldexp(unit(random), 20 - i % 41);
        for (const int16_t width : {int16_t{24}, int16_t{63}}) {
            const std::string got = Format(value, width);
            EXPECT_TRUE(got.back() == '0' || std::strtod(got.c_str(), nullptr) == value) << got;
        }
    }
    for (const double value : {0.123456, -0.123456, -0.5, 0.99999, -1e6, -1e-6, 2e7, -2.5e10,
                               123456789012345.0, -1.5e-7, -kInf, -std::nan("")}) {
        for (int16_t width = 0; width <= 30; ++width) {
            Format(value, width);  // which checks the buffer
        }
    }
}

TEST(FormatDouble, NarrowWidthsAndHelpersGiveTheirTexts) {
    const auto general = [](char sign, double magnitude, int16_t width) -> std::string {
        std::vector<char> out(static_cast<size_t>(width) + 1, '#');
        FormatGeneral(sign, magnitude, out.data(), width, 12);
        return out.data();
    };
    const auto tidy = [](std::string text) -> std::string {
        TidyNumberText(text.data());
        return text.c_str();
    };
    const auto copy = [](const char* src, int32_t size) {
        char dst[16] = "keep";
        return std::to_string(CopyChars(dst, src, size)) + " " + dst;
    };
    const std::pair<std::string, const char*> cases[] = {
        // Narrow widths: fewer digits, never fewer than six for a negative value.
        {Format(0.123456, 5), "0.123 1"}, {Format(-0.123456, 5), "-0.12 1"},
        {Format(0.99999, 4), "1. 1"}, {Format(-0.5, 3), "-0. 0"}, {Format(1e6, 4), "1000 0"},
        {Format(0.5, 0), " 0"},
        // FormatGeneral cuts the digits but keeps the exponent.
        {general('+', 123456789012345.0, 10), "1.2345e+14"}, {general('+', 1e308, 2), "1e"},
        {general('-', 123456789012345.0, 10), "-1.234e+14"}, {general('-', 1.5e-7, 7), "-1.5e-7"},
        {general('-', 1.5e-7, 6), "-1.e-7"}, {general('+', 1.5e-7, 6), "1.5e-7"},
        {general('-', 2e7, 5), "-2000"}, {tidy("1.5e-007"), "1.5e-7"}, {tidy("1.e+012"), "1e+12"},
        {tidy("1.50E+010"), "1.50E+10"}, {tidy("2.500"), "2.5"}, {tidy("2.000"), "2.0"},
        {tidy("100"), "100"}, {tidy("20000000."), "20000000."},
        {std::to_string(CountChars(" a\tb ", true)), "2"},
        {std::to_string(CountChars(" a\tb ", false)), "5"},
        {std::to_string(CountChars(nullptr, false)), "0"}, {copy("abcdef", 1), "0 "},
        {copy("abcdef", 4), "3 abc"}, {copy("abc", 0), "0 keep"}, {copy(nullptr, 5), "0 keep"},
    };
    for (const auto& [got, expected] : cases) {
        EXPECT_EQ(got, expected);
    }
}

}  // namespace
