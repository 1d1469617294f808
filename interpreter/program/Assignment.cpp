// The assignment statement: target element := target element (operation) operand.
#include <string>

#include "interpreter/program/Operand.h"
#include "interpreter/program/ProgramContext.h"


bool ProgramContext::Assignment(uint64_t& pos) {
  pos += 2;  // two skip bits
  uint64_t id;
  if (!ReadVarWidth(pos, id)) return false;
  Value* target = FindValue(id);
  if (target == nullptr) return false;
  return ExecuteAssignment(*target, pos);
}

bool ProgramContext::ExecuteAssignment(Value& target, uint64_t& pos) {
  uint32_t targetIndex = 0;
  uint64_t indexGiven;
  if (!ReadBits(pos, 1, indexGiven)) return false;
  if (indexGiven != 0) {
    bool indexImmediate;
    uint64_t field;
    if (!ReadElementIndex(pos, indexImmediate, field)) return false;
    if (indexImmediate) {
      targetIndex = static_cast<uint32_t>(field);
    } else {
      const Value* indexVariable = FindValue(field);
      if (indexVariable == nullptr || !TargetIndexFrom(*indexVariable, targetIndex)) return false;
    }
  }

  uint64_t op;
  if (!ReadBits(pos, 4, op)) return false;
  StatementOperand operand;
  ScratchRelease release(operandScratch_[0]);
  if (!ReadOperand(pos, operand, operandScratch_[0])) return false;

  // A string target may grow its list of texts to hold the index; other kinds may not.
  if (target.kind != kKindString && targetIndex >= target.count) return false;
  const bool wholeVariable = !operand.immediate && !operand.elementGiven;
  if (wholeVariable && operand.value->count > 1) return false;

  std::string err;  // the statement shows no message
  return target.PerformMathOp(static_cast<uint32_t>(op), *operand.value, err, !operand.immediate,
                              targetIndex);
}
