// The run of a program: the reading step by step (the reference), and the choice between it
// and the run of decoded statements.
#include <memory>

#include "interpreter/program/Opcodes.h"
#include "interpreter/program/ProgramContext.h"
#include "interpreter/program/RunBudget.h"
#include "interpreter/program/decoded/DecodedProgram.h"

bool ProgramContext::Run(const std::vector<Value*>& callerValues, uint64_t startBit) {
  if (startBit >= bitLength) return false;
  if (callDepth == 0) BeginProgramRun();
  CloseAllScopes();
  if (stepByStep) return RunStepByStep(callerValues, startBit);
  if (decodedProgram != nullptr) return RunDecoded(callerValues, startBit);

  // A run of its own: its statements and its routines' last as long as it.
  DecodedProgram decoded(DecodedProgram::BoundFor(program != nullptr ? program->size() : 0));
  decodedProgram = &decoded;
  struct Forget {
    DecodedProgram*& shared;
    ~Forget() { shared = nullptr; }
  } forget{decodedProgram};
  return RunDecoded(callerValues, startBit);
}

bool ProgramContext::RunStepByStep(const std::vector<Value*>& callerValues, uint64_t pos) {
  for (;;) {
    const StepEnd end = Step(callerValues, pos);
    if (end != StepEnd::Next) return end == StepEnd::RunEnds;
  }
}

ProgramContext::StepEnd ProgramContext::StepToDecoded(DecodedStatements& statements,
                                                     const std::vector<Value*>& callerValues,
                                                     uint64_t& pos, DecodedStatement*& s) {
  do {
    const StepEnd end = Step(callerValues, pos);
    if (end != StepEnd::Next) return end;
    s = statements.At(*this, pos);
  } while (s == nullptr);
  return StepEnd::Next;
}

// One dispatch over the opcode table. Every statement reads its own fields after the 4-bit
// opcode; a false from a statement ends the run at once.
ProgramContext::StepEnd ProgramContext::Step(const std::vector<Value*>& callerValues,
                                             uint64_t& pos) {
  uint64_t opcode;
  if (!ReadBits(pos, 4, opcode)) return StepEnd::RunFails;  // fewer than 4 bits left
  if (!SpendStatementBudget()) return StepEnd::RunFails;

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
      if (!CloseScopesAndJump(pos)) return StepEnd::RunFails;
      return pos >= bitLength ? StepEnd::RunEnds : StepEnd::Next;
    default:  // 8 and 11 to 15 name no statement
      return StepEnd::RunFails;
  }
  if (!ok) return StepEnd::RunFails;
  if (scopeCounts.empty() || pos >= bitLength) return StepEnd::RunEnds;
  return StepEnd::Next;
}
