#pragma once
// The element arithmetic behind Value::PerformMathOp, shared with the statements' in-place
// path: one destination element combined with one source element, by the destination's kind.
// Signed 32-bit results are computed on uint32_t words and 64-bit ones on uint64_t, so every
// overflow wraps without undefined behaviour.
#include <bit>
#include <cstdint>
#include <string>

#include "interpreter/program/Opcodes.h"
#include "interpreter/values/Value.h"
#include "interpreter/values/ValueConversions.h"

namespace element_arithmetic {

inline constexpr uint32_t kWordMin = 0x80000000u;  // -2147483648 as a word

inline bool IsWordKind(int32_t k) { return k == kKindInt || k == kKindUInt32; }

inline bool IsArithmeticKind(int32_t k) {
  return IsWordKind(k) || k == kKindUInt64 || k == kKindDouble;
}

// Remainder, shifts and the bitwise operations take integers only.
[[gnu::always_inline]] inline bool AcceptsKinds(MathOp op, int32_t dst, int32_t src) {
  if (!IsArithmeticKind(dst) || !IsArithmeticKind(src)) return false;
  const bool integersOnly =
      op == MathOp::Remainder || (op >= MathOp::ShiftLeft && op <= MathOp::Or);
  return !integersOnly || (dst != kKindDouble && src != kKindDouble);
}

// The source's one element, read by its kind.
struct SourceElement {
  int32_t kind;
  uint32_t word;  // int and uint32
  uint64_t wide;  // uint64
  double real;    // double
};

[[gnu::always_inline]] inline double InDouble(MathOp op, double a, double b) {
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
[[gnu::always_inline]] inline U InIntegers(MathOp op, U a, U b) {
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

inline uint32_t ArithmeticShiftRight(uint32_t word, uint32_t shift) {
  // The sign bit fills; written on unsigned words so that no negative number is shifted.
  return (word & kWordMin) != 0 ? ~(~word >> shift) : word >> shift;
}

[[gnu::always_inline]] inline bool ComputeWord(MathOp op, int32_t dstKind, uint32_t d,
                                               const SourceElement& s, uint32_t& out) {
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

[[gnu::always_inline]] inline bool ComputeUInt64(MathOp op, uint64_t d, const SourceElement& s,
                                                 uint64_t& out) {
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

[[gnu::always_inline]] inline double ComputeDouble(MathOp op, double d, const SourceElement& s) {
  double sv = s.real;
  if (IsWordKind(s.kind)) sv = WordToDouble(s.word);
  if (s.kind == kKindUInt64) sv = UInt64ToDouble(s.wide);
  return InDouble(op, d, sv);
}

}  // namespace element_arithmetic

// The held destination element of dstKind at dst combined with s; false where
// PerformMathOp refuses the values (a zero divisor, the one signed quotient that overflows).
[[gnu::always_inline]] inline bool ComputeInPlace(int32_t dstKind, uint8_t* dst, MathOp code,
                                                  const element_arithmetic::SourceElement& s) {
  using namespace element_arithmetic;
  if (dstKind == kKindInt || dstKind == kKindUInt32) {
    uint32_t result = 0;
    if (!ComputeWord(code, dstKind, LoadLE32(dst), s, result)) return false;
    StoreLE32(dst, result);
    return true;
  }
  if (dstKind == kKindUInt64) {
    uint64_t result = 0;
    if (!ComputeUInt64(code, LoadLE64(dst), s, result)) return false;
    StoreLE64(dst, result);
    return true;
  }
  StoreLE64(dst,
            std::bit_cast<uint64_t>(ComputeDouble(code, std::bit_cast<double>(LoadLE64(dst)), s)));
  return true;
}

// The number s converted into the held destination element of dstKind at dst, as AssignValue
// converts one number into another.
[[gnu::always_inline]] inline void AssignNumberInPlace(int32_t dstKind, uint8_t* dst,
                                                       const element_arithmetic::SourceElement& s) {
  using element_arithmetic::IsWordKind;
  if (IsWordKind(dstKind)) {
    uint32_t word = s.word;
    if (s.kind == kKindUInt64) word = Low32(s.wide);
    if (s.kind == kKindDouble) {
      word = dstKind == kKindInt ? TruncateToWord(s.real) : Low32(TruncateTo64(s.real));
    }
    StoreLE32(dst, word);
  } else if (dstKind == kKindDouble) {
    double v = s.real;
    if (IsWordKind(s.kind)) v = WordToDouble(s.word);
    if (s.kind == kKindUInt64) v = UInt64ToDouble(s.wide);
    StoreLE64(dst, std::bit_cast<uint64_t>(v));
  } else {
    uint64_t v = s.wide;
    if (IsWordKind(s.kind)) v = SignExtend(s.word);
    if (s.kind == kKindDouble) v = DoubleToUInt64(s.real);
    StoreLE64(dst, v);
  }
}

// PerformMathOp with its message dropped, as the statements call it.
bool PerformMathOpQuietly(Value& target, uint32_t op, const Value& source, bool allowRef,
                          uint32_t dstIdx);

// What PerformMathOp(op, source, err, allowRef, dstIdx) does, computed straight on the held
// elements when both sides are numbers that it can read and write in place; every other case
// (assignment, texts, missing storage, refusals) goes through PerformMathOp itself.
[[gnu::always_inline]] inline bool PerformMathOpInPlace(Value& target, uint32_t op,
                                                        const Value& source, bool allowRef,
                                                        uint32_t dstIdx) {
  using namespace element_arithmetic;
  const MathOp code = static_cast<MathOp>(op);
  const uint32_t dstWidth = Value::ElementWidth(target.kind);
  const uint32_t srcWidth = Value::ElementWidth(source.kind);
  uint8_t* dst = target.HeldNumeric(dstIdx, dstWidth);
  const uint8_t* src = source.HeldNumeric(0, srcWidth);
  const bool inPlace = op < static_cast<uint32_t>(MathOp::None) && source.count == 1 &&
                       (allowRef || source.id == 0) && dst != nullptr &&
                       (src != nullptr || !source.HasStorage()) &&
                       AcceptsKinds(code, target.kind, source.kind);
  if (!inPlace) [[unlikely]] {
    return PerformMathOpQuietly(target, op, source, allowRef, dstIdx);
  }
  // Only the field of the source's kind is read; a source without storage reads as zero.
  SourceElement s{source.kind, 0, 0, 0.0};
  if (src != nullptr) {
    if (srcWidth == 4) {
      s.word = LoadLE32(src);
    } else {
      s.wide = LoadLE64(src);
      s.real = std::bit_cast<double>(s.wide);
    }
  }
  return ComputeInPlace(target.kind, dst, code, s);
}
