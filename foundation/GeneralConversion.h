#pragma once
// The general conversion of a double with n significant digits, as number texts in this
// system have always been written: the value is first rounded to 17 significant digits,
// the fixed or exponent form is chosen from that, and only then are the digits rounded
// (half up) to n. Trailing zeros of the fraction go; the point stays ("2.", "1.e+012").
#include <cstdint>
#include <string>

namespace Zarnel {

// digits below 1 count as 1.
std::string ConvertGeneral(double value, int32_t digits);

// ConvertGeneral followed by TidyNumberText.
std::string ConvertGeneralTidy(double value, int32_t digits);

}  // namespace Zarnel
