// The conditional jump (opcodes 4 and 5): compare one element of A with one element of B, and
// move by the statement's offset when the relation does not hold.
#include <cstdint>

#include "interpreter/program/Comparison.h"
#include "interpreter/program/Opcodes.h"
#include "interpreter/program/Operand.h"
#include "interpreter/program/ProgramContext.h"


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
