// Value::PerformMathOp: element dstIdx of this Value combined in place with the one element of
// a source. The destination's kind decides the width and signedness of the computation.
// Signed 32-bit results are computed on uint32_t words and 64-bit ones on uint64_t, so every
// overflow wraps without undefined behaviour.
#include "interpreter/Value.h"
#include "interpreter/ValueConversions.h"

namespace {

enum MathOp : uint32_t {
  kMultiply = 0,
  kRemainder = 1,
  kDivide = 2,
  kAdd = 3,
  kSubtract = 4,
  kShiftLeft = 5,
  kShiftRight = 6,
  kAnd = 7,
  kXor = 8,
  kOr = 9,
  kNoOp = 10,
  kAssign = 11,
};

constexpr uint32_t kWordMin = 0x80000000u;  // -2147483648 as a word

bool IsWordKind(int32_t k) { return k == kKindInt || k == kKindUInt32; }

bool IsArithmeticKind(int32_t k) {
  return IsWordKind(k) || k == kKindUInt64 || k == kKindDouble;
}

// Remainder, shifts and the bitwise operations take integers only.
bool AcceptsKinds(uint32_t op, int32_t dst, int32_t src) {
  if (!IsArithmeticKind(dst) || !IsArithmeticKind(src)) return false;
  const bool integersOnly = op == kRemainder || (op >= kShiftLeft && op <= kOr);
  return !integersOnly || (dst != kKindDouble && src != kKindDouble);
}

// The source's one element, read by its kind.
struct Operand {
  int32_t kind;
  uint32_t word;  // int and uint32
  uint64_t wide;  // uint64
  double real;    // double
};

double InDouble(uint32_t op, double a, double b) {
  switch (op) {
    case kMultiply:
      return a * b;
    case kDivide:
      return a / b;  // IEEE 754: a zero divisor gives an infinity or NaN
    case kAdd:
      return a + b;
    default:
      return a - b;
  }
}

template <typename U>
U InIntegers(uint32_t op, U a, U b) {
  switch (op) {
    case kMultiply:
      return static_cast<U>(a * b);
    case kAdd:
      return static_cast<U>(a + b);
    case kSubtract:
      return static_cast<U>(a - b);
    case kAnd:
      return a & b;
    case kXor:
      return a ^ b;
    default:
      return a | b;
  }
}

uint32_t ArithmeticShiftRight(uint32_t word, uint32_t shift) {
  // The sign bit fills; written on unsigned words so that no negative number is shifted.
  return (word & kWordMin) != 0 ? ~(~word >> shift) : word >> shift;
}

bool ComputeWord(uint32_t op, int32_t dstKind, uint32_t d, const Operand& s, uint32_t& out) {
  if (s.kind == kKindDouble) {
    out = TruncateToWord(InDouble(op, WordToDouble(d), s.real));
    return true;
  }
  const bool wideSource = s.kind == kKindUInt64;
  switch (op) {
    case kDivide:
      if (wideSource) {
        if (s.wide == 0) return false;
        out = Low32(SignExtend(d) / s.wide);
        return true;
      }
      if (s.word == 0 || (d == kWordMin && s.word == 0xFFFFFFFFu)) return false;
      out = static_cast<uint32_t>(static_cast<int32_t>(d) / static_cast<int32_t>(s.word));
      return true;
    case kRemainder:
      if (wideSource) {
        if (s.wide == 0) return false;
        // An int widens with its sign, a uint32 with zeros.
        const uint64_t wideD = dstKind == kKindInt ? SignExtend(d) : uint64_t{d};
        out = Low32(wideD % s.wide);
        return true;
      }
      if (s.word == 0) return false;
      if (dstKind == kKindUInt32) {
        out = d % s.word;
        return true;
      }
      if (d == kWordMin && s.word == 0xFFFFFFFFu) return false;
      out = static_cast<uint32_t>(static_cast<int32_t>(d) % static_cast<int32_t>(s.word));
      return true;
    case kShiftLeft:
    case kShiftRight: {
      const uint32_t shift = static_cast<uint32_t>(wideSource ? s.wide : s.word) & 31u;
      if (op == kShiftLeft) {
        out = d << shift;
      } else {
        out = dstKind == kKindInt ? ArithmeticShiftRight(d, shift) : d >> shift;
      }
      return true;
    }
    default:
      out = InIntegers<uint32_t>(op, d, wideSource ? Low32(s.wide) : s.word);
      return true;
  }
}

bool ComputeUInt64(uint32_t op, uint64_t d, const Operand& s, uint64_t& out) {
  if (s.kind == kKindDouble) {
    out = DoubleToUInt64(InDouble(op, UInt64ToDouble(d), s.real));
    return true;
  }
  const uint64_t wideS = s.kind == kKindUInt64 ? s.wide : SignExtend(s.word);
  switch (op) {
    case kDivide:
      if (wideS == 0) return false;
      out = d / wideS;
      return true;
    case kRemainder:
      if (wideS == 0) return false;
      out = d % wideS;
      return true;
    case kShiftLeft:
      out = d << (wideS & 63u);
      return true;
    case kShiftRight:
      out = d >> (wideS & 63u);
      return true;
    default:
      out = InIntegers<uint64_t>(op, d, wideS);
      return true;
  }
}

double ComputeDouble(uint32_t op, double d, const Operand& s) {
  double sv = s.real;
  if (IsWordKind(s.kind)) sv = WordToDouble(s.word);
  if (s.kind == kKindUInt64) sv = UInt64ToDouble(s.wide);
  return InDouble(op, d, sv);
}

}  // namespace

bool Value::PerformMathOp(const uint32_t& op, const Value& source, std::string& err,
                          bool allowRef, uint32_t dstIdx) {
  if (source.count > 1) return false;
  if (!allowRef && (source.kind == kKindUnset || source.id != 0)) {
    err = "Value::PerformMathOp() passed in value must be immediate.";
    return false;
  }
  if (op > kAssign || op == kNoOp) return false;
  if (op == kAssign) return AssignValue(source, &err, true, dstIdx, 0);
  if (!AcceptsKinds(op, kind, source.kind)) return false;
  // Neither side is read or written outside its elements; a source of count 0 has none.
  if (!HasElement(dstIdx) || !source.HasElement(0)) return false;

  const Operand s{source.kind, source.GetWord(0), source.GetUInt64(0), source.GetDouble(0)};
  if (IsWordKind(kind)) {
    uint32_t result = 0;
    return ComputeWord(op, kind, GetWord(dstIdx), s, result) && SetInt32(dstIdx, result);
  }
  if (kind == kKindUInt64) {
    uint64_t result = 0;
    return ComputeUInt64(op, GetUInt64(dstIdx), s, result) && SetUInt64(dstIdx, result);
  }
  return SetDouble(dstIdx, ComputeDouble(op, GetDouble(dstIdx), s));
}
