// Value::PerformMathOp: element dstIdx of this Value combined in place with the one element of
// a source. The destination's kind decides the width and signedness of the computation.
// Signed 32-bit results are computed on uint32_t words and 64-bit ones on uint64_t, so every
// overflow wraps without undefined behaviour.
#include "interpreter/Opcodes.h"
#include "interpreter/Value.h"
#include "interpreter/ValueConversions.h"

namespace {


constexpr uint32_t kWordMin = 0x80000000u;  // -2147483648 as a word

bool IsWordKind(int32_t k) { return k == kKindInt || k == kKindUInt32; }

bool IsArithmeticKind(int32_t k) {
  return IsWordKind(k) || k == kKindUInt64 || k == kKindDouble;
}

// Remainder, shifts and the bitwise operations take integers only.
bool AcceptsKinds(MathOp op, int32_t dst, int32_t src) {
  if (!IsArithmeticKind(dst) || !IsArithmeticKind(src)) return false;
  const bool integersOnly =
      op == MathOp::Remainder || (op >= MathOp::ShiftLeft && op <= MathOp::Or);
  return !integersOnly || (dst != kKindDouble && src != kKindDouble);
}

// The source's one element, read by its kind.
struct Operand {
  int32_t kind;
  uint32_t word;  // int and uint32
  uint64_t wide;  // uint64
  double real;    // double
};

double InDouble(MathOp op, double a, double b) {
  switch (op) {
    case MathOp::Multiply:
      return a * b;
    case MathOp::Divide:
      return a / b;  // IEEE 754: a zero divisor gives an infinity or NaN
    case MathOp::Add:
      return a + b;
    default:
      return a - b;
  }
}

template <typename U>
U InIntegers(MathOp op, U a, U b) {
  switch (op) {
    case MathOp::Multiply:
      return static_cast<U>(a * b);
    case MathOp::Add:
      return static_cast<U>(a + b);
    case MathOp::Subtract:
      return static_cast<U>(a - b);
    case MathOp::And:
      return a & b;
    case MathOp::Xor:
      return a ^ b;
    default:
      return a | b;
  }
}

uint32_t ArithmeticShiftRight(uint32_t word, uint32_t shift) {
  // The sign bit fills; written on unsigned words so that no negative number is shifted.
  return (word & kWordMin) != 0 ? ~(~word >> shift) : word >> shift;
}

bool ComputeWord(MathOp op, int32_t dstKind, uint32_t d, const Operand& s, uint32_t& out) {
  if (s.kind == kKindDouble) {
    out = TruncateToWord(InDouble(op, WordToDouble(d), s.real));
    return true;
  }
  const bool wideSource = s.kind == kKindUInt64;
  switch (op) {
    case MathOp::Divide:
      if (wideSource) {
        if (s.wide == 0) return false;
        out = Low32(SignExtend(d) / s.wide);
        return true;
      }
      if (s.word == 0 || (d == kWordMin && s.word == 0xFFFFFFFFu)) return false;
      out = static_cast<uint32_t>(static_cast<int32_t>(d) / static_cast<int32_t>(s.word));
      return true;
    case MathOp::Remainder:
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
    case MathOp::ShiftLeft:
    case MathOp::ShiftRight: {
      const uint32_t shift = static_cast<uint32_t>(wideSource ? s.wide : s.word) & 31u;
      if (op == MathOp::ShiftLeft) {
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

bool ComputeUInt64(MathOp op, uint64_t d, const Operand& s, uint64_t& out) {
  if (s.kind == kKindDouble) {
    out = DoubleToUInt64(InDouble(op, UInt64ToDouble(d), s.real));
    return true;
  }
  const uint64_t wideS = s.kind == kKindUInt64 ? s.wide : SignExtend(s.word);
  switch (op) {
    case MathOp::Divide:
      if (wideS == 0) return false;
      out = d / wideS;
      return true;
    case MathOp::Remainder:
      if (wideS == 0) return false;
      out = d % wideS;
      return true;
    case MathOp::ShiftLeft:
      out = d << (wideS & 63u);
      return true;
    case MathOp::ShiftRight:
      out = d >> (wideS & 63u);
      return true;
    default:
      out = InIntegers<uint64_t>(op, d, wideS);
      return true;
  }
}

double ComputeDouble(MathOp op, double d, const Operand& s) {
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
  if (op > static_cast<uint32_t>(MathOp::Assign) || op == static_cast<uint32_t>(MathOp::None)) {
    return false;
  }
  const MathOp code = static_cast<MathOp>(op);
  if (code == MathOp::Assign) return AssignValue(source, &err, true, dstIdx, 0);
  if (!AcceptsKinds(code, kind, source.kind)) return false;
  // Neither side is read or written outside its elements; a source of count 0 has none.
  if (!HasElement(dstIdx) || !source.HasElement(0)) return false;

  const Operand s{source.kind, source.GetWord(0), source.GetUInt64(0), source.GetDouble(0)};
  if (IsWordKind(kind)) {
    uint32_t result = 0;
    return ComputeWord(code, kind, GetWord(dstIdx), s, result) && SetInt32(dstIdx, result);
  }
  if (kind == kKindUInt64) {
    uint64_t result = 0;
    return ComputeUInt64(code, GetUInt64(dstIdx), s, result) && SetUInt64(dstIdx, result);
  }
  return SetDouble(dstIdx, ComputeDouble(code, GetDouble(dstIdx), s));
}
