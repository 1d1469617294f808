// Programs too large for all their decoded statements to fit the memory bound: 100,000 and
// 1,000,000 distinct assignments with a loop around them that passes over all of them 3 times.
// Each iteration runs the program once decoded (as a request runs it, with a fresh bound of
// its size) and once bit by bit, and reports the ratio of the two times, the bytes that the
// decoded statements took and how many of the statements were decoded.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <random>
#include <vector>

#include "interpreter/keys/KeyStream.h"
#include "interpreter/program/ProgramContext.h"
#include "interpreter/program/decoded/DecodedProgram.h"
#include "programwriter/ProgramWriter.h"

using namespace testprog;

namespace {

constexpr ProgramKey kBenchKey{0x6C, 0x61, 0x72, 0x67, 0x65, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
constexpr uint32_t kPasses = 3;
constexpr uint64_t kVariables = 8;  // ids 2 to 9 take the assignments; 1 counts the passes

// The arithmetic that the assignments draw from: none of them can fail on ints.
constexpr MathOp kOps[] = {MathOp::Add, MathOp::Subtract, MathOp::Xor, MathOp::Or,
                           MathOp::And, MathOp::Multiply, MathOp::Assign};

std::vector<uint8_t> LargeProgram(int64_t statements) {
  std::mt19937_64 rng(static_cast<uint64_t>(statements));
  ProgramWriter w;
  w.OpenScope().Declare(kKindInt, 1);
  for (uint64_t id = 2; id < 2 + kVariables; ++id) w.Declare(kKindInt, id);
  const Label top = w.Here();
  for (int64_t i = 0; i < statements; ++i) {
    const uint64_t bits = rng();
    w.Assign(Target(2 + bits % kVariables), kOps[(bits >> 8) % std::size(kOps)],
             Imm::Int(static_cast<int32_t>(bits >> 32)));
  }
  w.Assign(Target(1), MathOp::Add, Imm::Int(1));
  w.JumpUnless(Relation::GreaterEqual, Opnd::Var(1), Imm::Int(kPasses), top);
  w.CloseScope();
  return w.Finish(kBenchKey);
}

// Built once per process: the writer takes longer than a run.
const std::vector<uint8_t>& ProgramOf(int64_t statements) {
  static std::map<int64_t, std::vector<uint8_t>> programs;
  std::vector<uint8_t>& bytes = programs[statements];
  if (bytes.empty()) bytes = LargeProgram(statements);
  return bytes;
}

struct Outcome {
  double seconds;
  uint64_t decodedBytes;
  uint64_t decodedStatements;
  int32_t passes;
};

Outcome RunOnce(const std::vector<uint8_t>& bytes, bool stepByStep) {
  ProgramContext context;
  context.Init(&bytes, bytes.size() * 8, kBenchKey.data());
  context.stepByStep = stepByStep;
  DecodedProgram decoded(DecodedProgram::BoundFor(bytes.size()));
  context.decodedProgram = &decoded;
  Value passes;
  passes.kind = kKindInt;
  passes.SetInt32(0, 0);
  const std::vector<Value*> args{&passes};
  const auto start = std::chrono::steady_clock::now();
  const bool ended = context.Run(args, 0);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  return {took.count(), decoded.BytesUsed(),
          decoded.ForKeyStream(context.keyStream, context.bitLength).size(),
          ended ? static_cast<int32_t>(passes.GetWord(0)) : -1};
}

void BM_LargeProgramDecodedAgainstBitByBit(benchmark::State& state) {
  const std::vector<uint8_t>& bytes = ProgramOf(state.range(0));
  double decodedSeconds = 0;
  double bitByBitSeconds = 0;
  uint64_t decodedBytes = 0;
  uint64_t decodedStatements = 0;
  for (auto _ : state) {
    const Outcome decoded = RunOnce(bytes, false);
    const Outcome bitByBit = RunOnce(bytes, true);
    if (decoded.passes != static_cast<int32_t>(kPasses) || bitByBit.passes != decoded.passes) {
      state.SkipWithError("run");
    }
    decodedSeconds += decoded.seconds;
    bitByBitSeconds += bitByBit.seconds;
    decodedBytes = decoded.decodedBytes;
    decodedStatements = decoded.decodedStatements;
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["decoded/bitByBit"] = decodedSeconds / bitByBitSeconds;
  state.counters["decoded_ms"] = decodedSeconds / runs * 1e3;
  state.counters["bitByBit_ms"] = bitByBitSeconds / runs * 1e3;
  state.counters["program_bytes"] = static_cast<double>(bytes.size());
  state.counters["decoded_bytes"] = static_cast<double>(decodedBytes);
  state.counters["decoded_statements"] = static_cast<double>(decodedStatements);
  state.counters["bound_bytes"] = static_cast<double>(DecodedProgram::BoundFor(bytes.size()));
}
BENCHMARK(BM_LargeProgramDecodedAgainstBitByBit)
    ->ArgName("statements")
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
