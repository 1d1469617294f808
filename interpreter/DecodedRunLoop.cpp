// The run of decoded statements: one dispatch over the opcode table, as the step-by-step run
// makes, with the end tests after each statement. A statement that has no decoded form (it
// does not decode completely, or the memory bound is reached) is run step by step.
#include "interpreter/DecodedProgram.h"
#include "interpreter/ProgramContext.h"
#include "interpreter/RunBudget.h"

bool ProgramContext::RunDecoded(const std::vector<Value*>& callerValues, uint64_t pos) {
  DecodedStatements& statements = decodedProgram->ForKeyStream(keyStream);
  DecodedStatement* s = statements.At(*this, pos);
  for (;;) {
    if (s == nullptr) [[unlikely]] {
      const StepEnd end = Step(callerValues, pos);
      if (end != StepEnd::Next) return end == StepEnd::RunEnds;
      s = statements.At(*this, pos);
      continue;
    }
    if (!SpendStatementBudget()) return false;

    bool jumped = false;  // pos is s->target rather than s->next
    switch (s->opcode) {
      case Opcode::OpenScope:
        OpenScope();
        break;
      case Opcode::CloseScope:
        if (!CloseScopeAfterFields(callerValues)) return false;
        jumped = s->jumps;
        break;
      case Opcode::Assign:
        if (!Assignment(*s)) return false;
        break;
      case Opcode::Declare:
        if (!Declaration(callerValues, *s)) return false;
        break;
      case Opcode::JumpUnless:
      case Opcode::JumpUnlessToo: {
        bool holds;
        if (!ConditionalJump(*s, holds)) return false;
        jumped = !holds;
        break;
      }
      case Opcode::CallRoutine:
        if (!RoutineCall(*s)) return false;
        break;
      case Opcode::CallNative:
        if (!NativeCall(*s)) return false;
        break;
      case Opcode::CloseScopesAndJump:
      case Opcode::CloseScopesAndJumpToo:
        // A program may close all its scopes here and go on: no test for open scopes.
        CloseCountedScopes(s->number);
        pos = s->target;
        if (pos >= bitLength) return true;
        if (s->targetStatement == nullptr) s->targetStatement = statements.At(*this, pos);
        s = s->targetStatement;
        continue;
      default:  // never decoded
        return false;
    }
    if (scopeCounts.empty()) return true;
    pos = jumped ? s->target : s->next;
    if (pos >= bitLength) return true;
    DecodedStatement*& following = jumped ? s->targetStatement : s->nextStatement;
    if (following == nullptr) following = statements.At(*this, pos);
    s = following;
  }
}
