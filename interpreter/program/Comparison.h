#pragma once
// The relations of a conditional jump between two elements of comparable kinds.
#include <bit>
#include <cstdint>

#include "interpreter/program/Opcodes.h"
#include "interpreter/values/Value.h"
#include "interpreter/values/ValueConversions.h"

// int, double, uint64 and uint32 compare; strings, byte arrays and kinds 6 and 7 do not.
inline bool Comparable(int32_t kind) {
  return kind == kKindInt || kind == kKindDouble || kind == kKindUInt64 || kind == kKindUInt32;
}

namespace comparison {

// Every relation's outcome at once, one bit each in the order of the relation codes; 6 and 7
// never hold. With a NaN on either side only != holds, as IEEE 754 has it.
template <typename T>
[[gnu::always_inline]] inline bool Holds(Relation relation, T a, T b) {
  const uint32_t less = a < b;
  const uint32_t greater = a > b;
  const uint32_t equal = a == b;
  const uint32_t outcomes = less | greater << 1 | equal << 2 | (equal ^ 1u) << 3 |
                            (less | equal) << 4 | (greater | equal) << 5;
  return (outcomes >> static_cast<uint32_t>(relation)) & 1u;
}

// Where a relation holds between two ordered numbers (no NaN): bit 0 when a < b, bit 1 when
// they are equal, bit 2 when a > b. Relations 6 and 7 never hold.
inline uint8_t OrderedOutcomes(Relation relation) {
  static constexpr uint8_t kOutcomes[8] = {0b001, 0b100, 0b010, 0b101, 0b011, 0b110, 0, 0};
  return kOutcomes[static_cast<uint32_t>(relation) & 7u];
}

// Holds between integers, with the relation's OrderedOutcomes worked out beforehand. One
// comparison gives the order: (a >= b) + (a > b) is 0, 1 or 2 for less, equal, greater.
template <typename T>
[[gnu::always_inline]] inline bool HoldsOrdered(uint8_t outcomes, T a, T b) {
  const uint32_t order = static_cast<uint32_t>(a >= b) + static_cast<uint32_t>(a > b);
  return (outcomes >> order) & 1u;
}

// Truncation toward zero; NaN, infinities and values outside the range give INT32_MIN.
inline int32_t TruncateToInt32(double d) { return static_cast<int32_t>(TruncateToWord(d)); }

// Element 0 of a comparable Value, or a numeric immediate: its kind and its bits (a 32-bit
// kind's in the low 32 bits). A Value without storage reads as 0.
struct ComparedNumber {
  int32_t kind;
  uint64_t bits;
};

[[gnu::always_inline]] inline ComparedNumber NumberOf(const Value& v) {
  return {v.kind, Value::ElementWidth(v.kind) == 4 ? v.GetWord(0) : v.GetUInt64(0)};
}

inline int32_t Signed32(ComparedNumber n) { return static_cast<int32_t>(n.bits); }

// In the double domain: int signed, uint32 unsigned, both exact.
[[gnu::always_inline]] inline double AsDouble(ComparedNumber n) {
  switch (n.kind) {
    case kKindInt:
      return static_cast<double>(Signed32(n));
    case kKindUInt32:
      return static_cast<double>(static_cast<uint32_t>(n.bits));
    case kKindUInt64:
      return UInt64ToDouble(n.bits);
    default:
      return std::bit_cast<double>(n.bits);
  }
}

// In the unsigned 64-bit domain: int sign-extended, uint32 zero-extended.
[[gnu::always_inline]] inline uint64_t AsUInt64(ComparedNumber n) {
  switch (n.kind) {
    case kKindInt:
      return static_cast<uint64_t>(static_cast<int64_t>(Signed32(n)));
    case kKindUInt32:
      return static_cast<uint32_t>(n.bits);
    default:
      return n.bits;
  }
}

}  // namespace comparison

// Whether the relation holds between a and b; relations 6 and 7 never hold. The pair of kinds
// picks the domain: double if either side is one, else unsigned 64-bit if either side is
// uint64, else signed 32-bit. A uint32 B keeps the 32-bit signed domain even against a double A
// (truncated) or a uint64 A (its low 32 bits).
[[gnu::always_inline]] inline bool RelationHolds(Relation relation, comparison::ComparedNumber a,
                                                 comparison::ComparedNumber b) {
  using namespace comparison;
  if (a.kind == kKindDouble || b.kind == kKindDouble) {
    if (a.kind == kKindDouble && b.kind == kKindUInt32) {
      return Holds(relation, TruncateToInt32(std::bit_cast<double>(a.bits)), Signed32(b));
    }
    return Holds(relation, AsDouble(a), AsDouble(b));
  }
  if (a.kind == kKindUInt64 || b.kind == kKindUInt64) {
    if (a.kind == kKindUInt64 && b.kind == kKindUInt32) {
      return Holds(relation, Signed32(a), Signed32(b));
    }
    return Holds(relation, AsUInt64(a), AsUInt64(b));
  }
  return Holds(relation, Signed32(a), Signed32(b));
}

// The same between element 0 of a and element 0 of b.
[[gnu::always_inline]] inline bool RelationHolds(Relation relation, const Value& a,
                                                 const Value& b) {
  return RelationHolds(relation, comparison::NumberOf(a), comparison::NumberOf(b));
}
