// The conditional jump (opcodes 4 and 5): compare one element of A with one element of B, and
// move by the statement's offset when the relation does not hold.
#include <cstdint>

#include "interpreter/Opcodes.h"
#include "interpreter/Operand.h"
#include "interpreter/ProgramContext.h"
#include "interpreter/ValueConversions.h"

namespace {

bool Comparable(int32_t kind) {
  return kind == kKindInt || kind == kKindDouble || kind == kKindUInt64 || kind == kKindUInt32;
}

template <typename T>
bool Holds(Relation relation, T a, T b) {
  switch (relation) {
    case Relation::Less:
      return a < b;
    case Relation::Greater:
      return a > b;
    case Relation::Equal:
      return a == b;
    case Relation::NotEqual:
      return a != b;
    case Relation::LessEqual:
      return a <= b;
    case Relation::GreaterEqual:
      return a >= b;
    default:
      return false;  // 6 and 7 never hold
  }
}

// Truncation toward zero; NaN, infinities and values outside the range give INT32_MIN.
int32_t TruncateToInt32(double d) { return static_cast<int32_t>(TruncateToWord(d)); }

int32_t Signed32(const Value& v) { return static_cast<int32_t>(v.GetWord(0)); }

// Element 0 in the double domain: int signed, uint32 unsigned, both exact.
double AsDouble(const Value& v) {
  switch (v.kind) {
    case kKindInt:
      return static_cast<double>(Signed32(v));
    case kKindUInt32:
      return static_cast<double>(v.GetWord(0));
    case kKindUInt64:
      return UInt64ToDouble(v.GetUInt64(0));
    default:
      return v.GetDouble(0);
  }
}

// Element 0 in the unsigned 64-bit domain: int sign-extended, uint32 zero-extended.
uint64_t AsUInt64(const Value& v) {
  switch (v.kind) {
    case kKindInt:
      return static_cast<uint64_t>(static_cast<int64_t>(Signed32(v)));
    case kKindUInt32:
      return v.GetWord(0);
    default:
      return v.GetUInt64(0);
  }
}

// The pair of kinds picks the domain: double if either side is one, else unsigned 64-bit if
// either side is uint64, else signed 32-bit. A uint32 B keeps the 32-bit signed domain even
// against a double A (truncated) or a uint64 A (its low 32 bits).
bool RelationHolds(Relation relation, const Value& a, const Value& b) {
  if (a.kind == kKindDouble || b.kind == kKindDouble) {
    if (a.kind == kKindDouble && b.kind == kKindUInt32) {
      return Holds(relation, TruncateToInt32(a.GetDouble(0)), Signed32(b));
    }
    return Holds(relation, AsDouble(a), AsDouble(b));
  }
  if (a.kind == kKindUInt64 || b.kind == kKindUInt64) {
    if (a.kind == kKindUInt64 && b.kind == kKindUInt32) {
      return Holds(relation, static_cast<int32_t>(static_cast<uint32_t>(a.GetUInt64(0))),
                   Signed32(b));
    }
    return Holds(relation, AsUInt64(a), AsUInt64(b));
  }
  return Holds(relation, Signed32(a), Signed32(b));
}

}  // namespace

bool ProgramContext::ConditionalJump(uint64_t& pos) {
  if (pos >= bitLength || bitLength - pos < 4) return false;
  uint64_t code;
  if (!ReadBits(pos, 3, code)) return false;
  StatementOperand a;
  StatementOperand b;
  ScratchRelease releaseA(operandScratch_[0]);
  ScratchRelease releaseB(operandScratch_[1]);
  if (!ReadOperand(pos, a, operandScratch_[0]) || !ReadOperand(pos, b, operandScratch_[1])) {
    return false;
  }
  if (!Comparable(a.value->kind) || !Comparable(b.value->kind)) return false;

  const bool holds = RelationHolds(static_cast<Relation>(code), *a.value, *b.value);
  if (holds) {
    uint64_t offset;
    return ReadBits(pos, 32, offset);  // consumed, not applied
  }
  return ReadJump(pos);
}
