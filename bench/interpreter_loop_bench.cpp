// Speed of the run loop and of field reads.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "interpreter/KeyStream.h"
#include "interpreter/ProgramContext.h"
#include "programwriter/ProgramWriter.h"

using namespace testprog;

namespace {

constexpr ProgramKey kBenchKey{0x62, 0x65, 0x6E, 0x63, 0x68, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

struct BoundProgram {
  explicit BoundProgram(const ProgramWriter& w) : bytes(w.Finish(kBenchKey)) {
    context.Init(&bytes, bytes.size() * 8, kBenchKey.data());
  }
  std::vector<uint8_t> bytes;
  ProgramContext context;
};

// One assignment and one conditional jump per turn, counting a variable to 10,000,000.
void BM_CountingLoop(benchmark::State& state) {
  constexpr int32_t kTurns = 10'000'000;
  ProgramWriter w;
  w.OpenScope().Declare(kKindInt, 1);
  const Label top = w.Here();
  w.Assign(Target(1), MathOp::Add, Imm::Int(1));
  w.JumpUnless(Relation::GreaterEqual, Opnd::Var(1), Imm::Int(kTurns), top);
  w.CloseScope();
  BoundProgram p(w);
  Value counter;
  counter.kind = kKindInt;
  counter.SetInt32(0, 0);
  const std::vector<Value*> args{&counter};

  for (auto _ : state) {
    counter.SetInt32(0, 0);
    if (!p.context.Run(args, 0) || counter.GetWord(0) != kTurns) state.SkipWithError("run");
  }
  state.counters["statements/s"] = benchmark::Counter(
      2.0 * kTurns * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CountingLoop)->Unit(benchmark::kMillisecond);

// A long straight program of assignments whose fields are wide: a 63-bit element index and a
// 64-bit immediate, most of them straddling byte boundaries.
void BM_WideFieldAssignments(benchmark::State& state) {
  constexpr int kStatements = 100'000;
  std::mt19937_64 rng(1);
  ProgramWriter w;
  w.OpenScope().Declare(kKindUInt64, 1);
  for (int i = 0; i < kStatements; ++i) {
    w.Assign(Target::At(1, Forced(0, 7)), MathOp::Xor, Imm::UInt64(rng()));
  }
  w.CloseScope();
  BoundProgram p(w);
  for (auto _ : state) {
    if (!p.context.Run({}, 0)) state.SkipWithError("run");
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["statements/s"] =
      benchmark::Counter(kStatements * runs, benchmark::Counter::kIsRate);
  state.counters["program bytes/s"] =
      benchmark::Counter(static_cast<double>(p.bytes.size()) * runs, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WideFieldAssignments)->Unit(benchmark::kMillisecond);

// Field reads on their own: fields of every width at every bit offset, under a key stream.
void BM_ReadBits(benchmark::State& state) {
  std::mt19937_64 rng(2);
  std::vector<uint8_t> bytes(1 << 20);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(rng());
  ProgramContext context;
  context.Init(&bytes, bytes.size() * 8, kBenchKey.data());
  std::vector<uint32_t> widths(4096);
  for (uint32_t& n : widths) n = 1 + static_cast<uint32_t>(rng() % 64);

  uint64_t fields = 0;
  for (auto _ : state) {
    uint64_t pos = 0;
    uint64_t sum = 0;
    uint64_t value;
    for (size_t i = 0; context.ReadBits(pos, widths[i & 4095], value); ++i) {
      sum += value;
      ++fields;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.counters["fields/s"] =
      benchmark::Counter(static_cast<double>(fields), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadBits)->Unit(benchmark::kMillisecond);

}  // namespace
