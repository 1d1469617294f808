#include "interpreter/Opcodes.h"
#include "interpreter/ProgramContext.h"
#include "interpreter/RunBudget.h"

// One dispatch over the opcode table. Every statement reads its own fields after the 4-bit
// opcode; a false from a statement ends the run at once.
bool ProgramContext::Run(const std::vector<Value*>& callerValues, uint64_t startBit) {
  if (startBit >= bitLength) return false;
  CloseAllScopes();
  uint64_t pos = startBit;

  for (;;) {
    uint64_t opcode;
    if (!ReadBits(pos, 4, opcode)) return false;  // fewer than 4 bits left
    if (!SpendStatementBudget()) return false;

    bool ok;
    switch (static_cast<Opcode>(opcode)) {
      case Opcode::OpenScope:
        OpenScope();
        ok = true;
        break;
      case Opcode::CloseScope:
        ok = CloseScope(callerValues, pos);
        break;
      case Opcode::Assign:
        ok = Assignment(pos);
        break;
      case Opcode::Declare:
        ok = Declaration(callerValues, pos);
        break;
      case Opcode::JumpUnless:
      case Opcode::JumpUnlessToo:
        ok = ConditionalJump(pos);
        break;
      case Opcode::CallRoutine:
        ok = RoutineCall(pos);
        break;
      case Opcode::CallNative:
        ok = NativeCall(pos);
        break;
      case Opcode::CloseScopesAndJump:
      case Opcode::CloseScopesAndJumpToo:
        // A program may close all its scopes here and go on: no test for open scopes.
        if (!CloseScopesAndJump(pos)) return false;
        if (pos >= bitLength) return true;
        continue;
      default:  // 8 and 11 to 15 name no statement
        return false;
    }
    if (!ok) return false;
    if (scopeCounts.empty() || pos >= bitLength) return true;
  }
}
