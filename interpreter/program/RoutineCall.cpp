// The routine call (opcode 6): runs a stretch of the same program from bit T in a context of
// its own, under the key stream of a key made from one of the caller's variables.
#include <atomic>
#include <memory>
#include <vector>

#include "interpreter/LittleEndian.h"
#include "interpreter/keys/RoutineKey.h"
#include "interpreter/program/CallArguments.h"
#include "interpreter/program/ProgramContext.h"
#include "interpreter/program/decoded/DecodedProgram.h"

bool ProgramContext::RoutineCall(uint64_t& pos) {
  uint64_t startBit;
  if (!ReadBits(pos, 64, startBit)) return false;
  const ClearOnExit clear(callArguments_);
  if (!ReadCallArguments(pos, callArguments_)) return false;

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
  // and its failure does not reach the caller.
  RunRoutine(key, startBit);
  return true;
}

bool ProgramContext::RoutineCall(DecodedStatement& s) {
  const ClearOnExit clear(callArguments_);
  if (!Arguments(s, callArguments_)) return false;
  ProgramKey key{};
  if (s.jumps) {
    Resolve(s);
    const Value* keyVariable = s.subject;
    if (keyVariable == nullptr || !MakeRoutineKey(*keyVariable, key)) return false;
  }
  if (callDepth >= kMaxRoutineDepth) return true;
  RunRoutine(key, s.Target());
  return true;
}

void ProgramContext::RunRoutine(const ProgramKey& key, uint64_t startBit) {
  if (routine_ == nullptr) routine_ = std::make_unique<ProgramContext>();
  ProgramContext& routine = *routine_;
  routine.callDepth = callDepth + 1;
  routine.stepByStep = stepByStep;
  routine.decodedProgram = decodedProgram;
  try {
    routine.BindRoutine(program, bitLength, key);
    routine.Run(callArguments_, startBit);
  } catch (...) {
    // Whatever the routine had open, at any depth, goes with it: the next call starts afresh.
    routine_.reset();
    throw;
  }
  // The routine's scopes and Values end with the call, as its own context would.
  routine.CloseAllScopes();
  routine.decodedProgram = nullptr;
}

namespace {

// Numbered across threads, so that a context bound in one program run never takes another
// run's number for its own, whichever thread runs it.
std::atomic<uint64_t> g_programRun{0};

uint64_t ProgramRun() { return g_programRun.load(std::memory_order_relaxed); }

bool SameKey(const ProgramKey& a, const ProgramKey& b) {
  return LoadLE64(a.data()) == LoadLE64(b.data()) &&
         LoadLE64(a.data() + 8) == LoadLE64(b.data() + 8);
}

}  // namespace

void ProgramContext::BeginProgramRun() { g_programRun.fetch_add(1, std::memory_order_relaxed); }

void ProgramContext::BindRoutine(const std::vector<uint8_t>* programBytes,
                                 uint64_t programBitLength, const ProgramKey& key) {
  if (binding_.programRun == ProgramRun() && SameKey(binding_.key, key)) {
    program = programBytes;
    bitLength = programBitLength;
    keyStream = binding_.keyStream;
    return;
  }
  Init(programBytes, programBitLength, key.data());
  binding_ = Binding{ProgramRun(), key, keyStream, nullptr, nullptr};
}

DecodedStatements& ProgramContext::StatementsOfRun() {
  if (binding_.programRun != ProgramRun() || binding_.keyStream != keyStream ||
      binding_.decoded != decodedProgram || binding_.statements == nullptr) {
    DecodedStatements& statements = decodedProgram->ForKeyStream(keyStream, bitLength);
    if (callDepth == 0) return statements;  // a program's own run binds nothing
    binding_.decoded = decodedProgram;
    binding_.statements = &statements;
    binding_.first = nullptr;
  }
  return *binding_.statements;
}

// A decoded statement stays where it is for as long as its statements last.
DecodedStatement* ProgramContext::FirstStatementOfRun(DecodedStatements& statements,
                                                      uint64_t startBit) {
  if (binding_.first != nullptr && binding_.startBit == startBit &&
      binding_.statements == &statements) {
    return binding_.first;
  }
  DecodedStatement* first = statements.At(*this, startBit);
  if (binding_.statements == &statements) {
    binding_.startBit = startBit;
    binding_.first = first;
  }
  return first;
}
