#include "interpreter/values/ValueConversions.h"

namespace {
constexpr double kTwoTo63 = 9223372036854775808.0;
constexpr double kTwoTo64 = 18446744073709551616.0;
constexpr uint64_t kInt64Min = uint64_t{1} << 63;
}  // namespace

double WordToDouble(uint32_t word) { return static_cast<double>(static_cast<int32_t>(word)); }

double UInt64ToDouble(uint64_t v) {
  const auto s = static_cast<int64_t>(v);
  double d = static_cast<double>(s);
  if (s < 0) d += kTwoTo64;
  return d;
}

uint32_t TruncateToWord(double v) {
  // The range test comes first: converting an out-of-range double to an integer is undefined.
  if (!(v > -2147483649.0 && v < 2147483648.0)) return 0x80000000u;
  return static_cast<uint32_t>(static_cast<int32_t>(v));
}

uint64_t TruncateTo64(double v) {
  if (!(v >= -kTwoTo63 && v < kTwoTo63)) return kInt64Min;
  return static_cast<uint64_t>(static_cast<int64_t>(v));
}

uint64_t DoubleToUInt64(double v) {
  if (v >= kTwoTo63) {
    const double reduced = v - kTwoTo63;  // exact below 2^64
    if (reduced < kTwoTo63) return TruncateTo64(reduced) + kInt64Min;
    return kInt64Min;
  }
  return TruncateTo64(v);
}

uint64_t SignExtend(uint32_t word) {
  return static_cast<uint64_t>(static_cast<int64_t>(static_cast<int32_t>(word)));
}

uint32_t Low32(uint64_t v) { return static_cast<uint32_t>(v); }
