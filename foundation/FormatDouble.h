#pragma once
// Turns a double into text of at most a given width, with the exact characters that
// programs depend on (17 significant digits, kept trailing point, exponent form).
#include <cstdint>

namespace Zarnel {

// Writes the text of value into out (width + 1 bytes). 1 when the plain form was used,
// 0 when the value went through the exponent path; the text is complete either way.
int32_t FormatDouble(double value, char* out, int16_t width);

// The exponent path for magnitudes outside [1e-6, 1e6]; always 0.
int32_t FormatScientific(double value, char* out, int16_t width, int16_t digits);

// General conversion of a magnitude with at least ten digits, fitted to width.
void FormatGeneral(char sign, double magnitude, char* out, int16_t width, int16_t digits);

// In-place clean-up: exponent leading zeros, point before 'e', trailing fraction zeros.
void TidyNumberText(char* text);

int32_t CountChars(const char* text, bool nonBlankOnly);
int32_t CopyChars(char* dst, const char* src, int32_t size);

}  // namespace Zarnel
