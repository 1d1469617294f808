#include "foundation/FormatDouble.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

double FromBits(uint64_t bits) {
    return std::bit_cast<double>(bits);
}

struct Formatted {
    std::string text;
    int32_t result;
};

// The buffer is exactly width + 1 bytes, so the sanitizer build catches any overrun.
Formatted Format(double value, int16_t width) {
    std::vector<char> out(static_cast<size_t>(width) + 1, '#');
    const int32_t result = Zarnel::FormatDouble(value, out.data(), width);
    EXPECT_NE(std::memchr(out.data(), '\0', out.size()), nullptr);
    return {out.data(), result};
}

TEST(FormatDouble, GivesTheTextsProgramsDependOnAtBothWidths) {
    volatile double infinity = kInf;
    const struct { double value; const char* text; int32_t result; } cases[] = {
        {0.0, "0", 1}, {-0.0, "0", 1}, {0.5, "0.5", 1}, {-0.5, "-0.5", 1}, {-42.0, "-42", 1},
        {123456.75, "123456.75", 1}, {0.1, "0.10000000000000001", 1},
        {3.14159, "3.1415899999999999", 1}, {0.001, "1e-3", 1}, {0.05, "5.0000000000000003e-2", 1},
        {1e6, "1000000", 1}, {-1e6, "-1000000", 1}, {1e-6, "9.9999999999999995e-7", 1},
        {-1e-6, "-9.9999999999999995e-7", 1}, {0.0123, "1.23e-2", 1},
        {1e-5, "1.0000000000000001e-5", 1}, {1.0 / 3.0, "0.33333333333333331", 1},
        // NaNs go on as plain values.
        {infinity - infinity, "-1.#IND", 1}, {FromBits(0xFFF8000000000000), "-1.#IND", 1},
        {FromBits(0x7FF8000000000000), "1.#QNAN", 1}, {FromBits(0xFFF8000000000001), "-1.#QNAN", 1},
        {FromBits(0x7FF0000000000001), "1.#SNAN", 1}, {FromBits(0xFFF4000000000000), "-1.#SNAN", 1},
        // The exponent path: at most 12 digits, and false whatever the text.
        {2e7, "20000000.", 0}, {-2.5e10, "-25000000000.", 0}, {1000000.5, "1000000.5", 0},
        {1.5e-7, "1.5e-7", 0}, {9e-7, "9e-7", 0}, {1e308, "1e+308", 0}, {kInf, "1.#INF", 0},
        {-kInf, "-1.#INF", 0}, {123456789012345.0, "1.23456789012e+14", 0},
        {1e11, "100000000000", 0}, {1e12, "1e+12", 0}, {99999999999.99, "100000000000.", 0},
        {std::numeric_limits<double>::denorm_min(), "4.94065645841e-324", 0},
        {DBL_MAX, "1.79769313486e+308", 0}, {-DBL_MAX, "-1.79769313486e+308", 0},
        // A carry out of the first digit: fixed form grows a digit, exponent form moves on.
        {999999999999.5, "1000000000000", 0}, {9.999999999995e14, "1e+15", 0},
    };
    for (const int16_t width : {int16_t{63}, int16_t{127}}) {
        for (const auto& c : cases) {
            const Formatted got = Format(c.value, width);
            EXPECT_EQ(got.text, c.text) << c.value << " at width " << width;
            EXPECT_EQ(got.result, c.result) << c.value << " at width " << width;
        }
    }
}

TEST(FormatDouble, PlainTextsReadBackAsTheSameValue) {
    uint64_t state = 0x9E3779B97F4A7C15ULL;
    for (int i = 0; i < 20000; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double unit = static_cast<double>(state >> 11) / 9007199254740992.0;
        const double value = (i % 2 == 0 ? 1.0 : -1.0) * std::ldexp(unit, 20 - i % 41);
        for (const int16_t width : {int16_t{24}, int16_t{63}}) {
            const Formatted got = Format(value, width);
            if (got.result == 1) {
                EXPECT_EQ(std::strtod(got.text.c_str(), nullptr), value) << got.text;
            }
        }
    }
}

TEST(FormatDouble, NarrowWidthsStayInsideTheBuffer) {
    for (const double value : {0.123456, -0.123456, -0.5, 0.99999, -1e6, -1e-6, 2e7, -2.5e10,
                               123456789012345.0, -1.5e-7, -kInf, FromBits(0xFFF8000000000000)}) {
        for (int16_t width = 0; width <= 30; ++width) {
            EXPECT_LE(Format(value, width).text.size(), static_cast<size_t>(width));
        }
    }
    const struct { double value; int16_t width; const char* text; int32_t result; } cases[] = {
        {0.123456, 5, "0.123", 1}, {-0.123456, 5, "-0.12", 1}, {0.99999, 4, "1.", 1},
        {-0.5, 3, "-0.", 0}, {1e6, 4, "1000", 0}, {0.5, 0, "", 0},
    };
    for (const auto& c : cases) {
        const Formatted got = Format(c.value, c.width);
        EXPECT_EQ(got.text, c.text) << c.value << " at width " << c.width;
        EXPECT_EQ(got.result, c.result) << c.value << " at width " << c.width;
    }
}

TEST(FormatGeneral, CutsTheDigitsButKeepsTheExponent) {
    const struct { char sign; double magnitude; int16_t width; const char* text; } cases[] = {
        {'+', 123456789012345.0, 10, "1.2345e+14"}, {'-', 123456789012345.0, 10, "-1.234e+14"},
        {'-', 1.5e-7, 7, "-1.5e-7"}, {'-', 1.5e-7, 6, "-1.e-7"}, {'+', 1.5e-7, 6, "1.5e-7"},
        {'-', 2e7, 5, "-2000"}, {'+', 1e308, 2, "1e"},
    };
    for (const auto& c : cases) {
        std::vector<char> out(static_cast<size_t>(c.width) + 1, '#');
        Zarnel::FormatGeneral(c.sign, c.magnitude, out.data(), c.width, 12);
        EXPECT_STREQ(out.data(), c.text) << c.sign << c.magnitude << " at width " << c.width;
    }
}

TEST(TidyNumberText, CleansExponentPointAndFractionZeros) {
    const struct { const char* in; const char* out; } cases[] = {
        {"1.5e-007", "1.5e-7"}, {"1.e+012", "1e+12"}, {"1.50E+010", "1.50E+10"}, {"2.500", "2.5"},
        {"2.000", "2.0"}, {"20.0", "20.0"}, {"20000000.", "20000000."}, {"100", "100"},
    };
    for (const auto& c : cases) {
        std::string text = c.in;
        Zarnel::TidyNumberText(text.data());
        EXPECT_STREQ(text.c_str(), c.out) << c.in;
    }
}

TEST(BoundedChars, CountAndCopyWithinTheirLimits) {
    EXPECT_EQ(Zarnel::CountChars(" a\tb ", true), 2);
    EXPECT_EQ(Zarnel::CountChars(" a\tb ", false), 5);
    EXPECT_EQ(Zarnel::CountChars(nullptr, false), 0);
    const struct { const char* src; int32_t size; const char* dst; int32_t copied; } cases[] = {
        {"abcdef", 1, "", 0}, {"abcdef", 4, "abc", 3}, {"abc", 10, "abc", 3},
        {"abc", 0, "keep", 0}, {nullptr, 5, "keep", 0},
    };
    for (const auto& c : cases) {
        char dst[16] = "keep";
        EXPECT_EQ(Zarnel::CopyChars(dst, c.src, c.size), c.copied);
        EXPECT_STREQ(dst, c.dst);
    }
}

}  // namespace
