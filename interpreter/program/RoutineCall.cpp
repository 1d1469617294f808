// The routine call (opcode 6): runs a stretch of the same program from bit T in a context of
// its own, under the key stream of a key made from one of the caller's variables.
#include <vector>

#include "interpreter/keys/RoutineKey.h"
#include "interpreter/program/ProgramContext.h"

bool ProgramContext::RoutineCall(uint64_t& pos) {
  uint64_t startBit;
  if (!ReadBits(pos, 64, startBit)) return false;
  std::vector<Value*> arguments;
  if (!ReadCallArguments(pos, arguments)) return false;

  ProgramKey key{};
  uint64_t keyGiven;
  if (!ReadBits(pos, 1, keyGiven)) return false;
  if (keyGiven != 0) {
    pos += 1;  // skip bit
    uint64_t keyId;
    if (!ReadVarWidth(pos, keyId)) return false;
    const Value* keyVariable = FindValue(keyId);
    if (keyVariable == nullptr || !MakeRoutineKey(*keyVariable, key)) return false;
  }

  // Too deep a call counts as a routine that failed: the caller goes on.
  if (callDepth >= kMaxRoutineDepth) return true;

  // The routine's result is not used: it hands results back only through its caller Values,
  // and its failure does not reach the caller. Its context goes with this frame, also when an
  // exception leaves the routine.
  RunRoutine(arguments, key, startBit);
  return true;
}

void ProgramContext::RunRoutine(const std::vector<Value*>& arguments, const ProgramKey& key,
                                uint64_t startBit) {
  ProgramContext routine;
  routine.callDepth = callDepth + 1;
  routine.stepByStep = stepByStep;
  routine.decodedProgram = decodedProgram;
  routine.Init(program, bitLength, key.data());
  routine.Run(arguments, startBit);
}

bool ProgramContext::RoutineCall(DecodedStatement& s) {
  std::vector<Value*> arguments;
  if (!Arguments(s, arguments)) return false;
  ProgramKey key{};
  if (s.jumps) {
    const Value* keyVariable = Resolve(s.variable);
    if (keyVariable == nullptr || !MakeRoutineKey(*keyVariable, key)) return false;
  }
  if (callDepth >= kMaxRoutineDepth) return true;
  RunRoutine(arguments, key, s.target);
  return true;
}
