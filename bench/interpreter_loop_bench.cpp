// Speed of the run loop on loops that compute (counting, doubles, a string array) and call
// (routines, byte-array natives), each beside the same loop in Lua 5.4 for scale, and field
// reads on their own.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "interpreter/keys/KeyStream.h"
#include "interpreter/natives/Natives.h"
#include "interpreter/program/ProgramContext.h"
#include "programwriter/ProgramWriter.h"

#ifdef TARNVAULT_HAVE_LUA
#include <lua.hpp>
#endif

using namespace testprog;

namespace {

constexpr ProgramKey kBenchKey{0x62, 0x65, 0x6E, 0x63, 0x68, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
constexpr int64_t kTurns = 10'000'000;

struct BoundProgram {
  explicit BoundProgram(const ProgramWriter& w) : bytes(w.Finish(kBenchKey)) {
    context.Init(&bytes, bytes.size() * 8, kBenchKey.data());
  }
  std::vector<uint8_t> bytes;
  ProgramContext context;
};

Value UInt64Value() {
  Value v;
  v.kind = kKindUInt64;
  v.SetUInt64(0, 0);
  return v;
}

// Runs a program whose first parameter counts the turns to `turns`; state.range(0) 1 reads the
// program bit by bit (the reference) instead of from decoded statements.
void RunCounted(benchmark::State& state, const ProgramWriter& w, int64_t turns,
                int64_t statementsPerTurn) {
  BoundProgram p(w);
  p.context.stepByStep = state.range(0) != 0;
  Value counter = UInt64Value();
  Value sum = UInt64Value();
  const std::vector<Value*> args{&counter, &sum};
  for (auto _ : state) {
    counter.SetUInt64(0, 0);
    if (!p.context.Run(args, 0) || counter.GetUInt64(0) != static_cast<uint64_t>(turns)) {
      state.SkipWithError("run");
    }
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["ns/turn"] = benchmark::Counter(
      static_cast<double>(turns) * runs, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["ns/statement"] =
      benchmark::Counter(static_cast<double>(turns * statementsPerTurn) * runs,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Each turn: add 1 to a uint64 counter, add the counter into a sum, jump back while the counter
// is below the turns.
void BM_CountingLoop(benchmark::State& state) {
  ProgramWriter w;
  w.OpenScope().Declare(kKindUInt64, 1).Declare(kKindUInt64, 2);
  const Label top = w.Here();
  w.Assign(Target(1), MathOp::Add, Imm::UInt64(1));
  w.Assign(Target(2), MathOp::Add, Opnd::Var(1));
  w.JumpUnless(Relation::GreaterEqual, Opnd::Var(1), Imm::UInt64(kTurns), top);
  w.CloseScope();
  RunCounted(state, w, kTurns, 3);
}
BENCHMARK(BM_CountingLoop)->ArgName("stepByStep")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Each turn: copy element (counter mod 64) of a 64-text array into a text, add 1 to the
// counter, jump back. The texts are 16 characters, so no copy is a short-text copy.
void BM_StringArrayLoop(benchmark::State& state) {
  constexpr int64_t kArrayTurns = kTurns / 4;
  ProgramWriter w;
  w.OpenScope().Declare(kKindUInt64, 1).Declare(kKindUInt64, 2);
  w.Declare(kKindString, 3, 64).Declare(kKindString, 4).Declare(kKindUInt64, 5);
  for (uint32_t i = 0; i < 64; ++i) {
    w.Assign(Target::At(3, i), MathOp::Assign,
             Imm::String("text number " + std::to_string(1000 + i)));
  }
  const Label top = w.Here();
  w.Assign(Target(5), MathOp::Assign, Opnd::Var(1)).Assign(Target(5), MathOp::And, Imm::UInt64(63));
  w.Assign(Target(4), MathOp::Assign, Opnd::VarAtVar(3, 5));
  w.Assign(Target(1), MathOp::Add, Imm::UInt64(1));
  w.JumpUnless(Relation::GreaterEqual, Opnd::Var(1), Imm::UInt64(kArrayTurns), top);
  w.CloseScope();
  RunCounted(state, w, kArrayTurns, 5);
}
BENCHMARK(BM_StringArrayLoop)->ArgName("stepByStep")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Each turn calls a routine (under the all-zero key) that adds 1 to its parameter, then jumps
// back while the counter is below the turns.
void BM_RoutineCallLoop(benchmark::State& state) {
  constexpr int64_t kCallTurns = kTurns / 10;
  ProgramWriter w;
  const Label routine = w.NewLabel();
  w.OpenScope().Declare(kKindUInt64, 1).Declare(kKindUInt64, 2);
  const Label top = w.Here();
  w.CallRoutine(routine, {1});
  w.JumpUnless(Relation::GreaterEqual, Opnd::Var(1), Imm::UInt64(kCallTurns), top);
  w.CloseScope();
  w.BeginRegion(kZeroKey).Bind(routine);
  w.OpenScope().Declare(kKindUInt64, 10).Assign(Target(10), MathOp::Add, Imm::UInt64(1));
  w.CloseScope();
  RunCounted(state, w, kCallTurns, 6);
}
BENCHMARK(BM_RoutineCallLoop)->ArgName("stepByStep")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Runs a Lua 5.4 chunk that takes the turns as its argument and returns the turns it made.
void TimeLuaLoop(benchmark::State& state, const char* source, int64_t turns) {
#ifdef TARNVAULT_HAVE_LUA
  lua_State* lua = luaL_newstate();
  luaL_openlibs(lua);
  if (luaL_loadstring(lua, source) != LUA_OK) state.SkipWithError("lua source");
  const int chunk = luaL_ref(lua, LUA_REGISTRYINDEX);
  for (auto _ : state) {
    lua_rawgeti(lua, LUA_REGISTRYINDEX, chunk);
    lua_pushinteger(lua, turns);
    if (lua_pcall(lua, 1, 1, 0) != LUA_OK || lua_tointeger(lua, -1) != turns) {
      state.SkipWithError("lua run");
    }
    lua_pop(lua, 1);
  }
  lua_close(lua);
  state.counters["ns/turn"] =
      benchmark::Counter(static_cast<double>(turns) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
#else
  (void)source;
  (void)turns;
  state.SkipWithError("Lua 5.4 is not installed (Debian package liblua5.4-dev)");
#endif
}

// The counting loop in Lua 5.4, for scale: the same three steps a turn on 64-bit integers.
void BM_LuaCountingLoop(benchmark::State& state) {
  TimeLuaLoop(state,
              "local n = ... local c, sum = 0, 0 "
              "repeat c = c + 1 sum = sum + c until c >= n return c",
              kTurns);
}
BENCHMARK(BM_LuaCountingLoop)->Unit(benchmark::kMillisecond);

// ---- Doubles and the string array, each beside its Lua 5.4 equivalent ----

// Each turn: add 1.0 to a double counter, add the counter into a double sum, halve the sum,
// jump back while the counter is below the turns.
void BM_DoublesLoop(benchmark::State& state) {
  ProgramWriter w;
  w.OpenScope().Declare(kKindDouble, 1).Declare(kKindDouble, 2);
  const Label top = w.Here();
  w.Assign(Target(1), MathOp::Add, Imm::Double(1.0));
  w.Assign(Target(2), MathOp::Add, Opnd::Var(1));
  w.Assign(Target(2), MathOp::Multiply, Imm::Double(0.5));
  w.JumpUnless(Relation::GreaterEqual, Opnd::Var(1), Imm::Double(kTurns), top);
  w.CloseScope();
  BoundProgram p(w);
  p.context.stepByStep = state.range(0) != 0;
  Value counter;
  counter.kind = kKindDouble;
  Value sum;
  sum.kind = kKindDouble;
  const std::vector<Value*> args{&counter, &sum};
  for (auto _ : state) {
    counter.SetDouble(0, 0.0);
    sum.SetDouble(0, 0.0);
    if (!p.context.Run(args, 0) || counter.GetDouble(0) != static_cast<double>(kTurns)) {
      state.SkipWithError("run");
    }
  }
  state.counters["ns/turn"] =
      benchmark::Counter(static_cast<double>(kTurns) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DoublesLoop)->ArgName("stepByStep")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// BM_DoublesLoop in Lua: the same four steps a turn on floats, c and s starting at 0.0.
void BM_LuaDoublesLoop(benchmark::State& state) {
  TimeLuaLoop(state,
              "local n = ... local c, s = 0.0, 0.0 "
              "repeat c = c + 1.0 s = s + c s = s * 0.5 until c >= n return math.tointeger(c)",
              kTurns);
}
BENCHMARK(BM_LuaDoublesLoop)->Unit(benchmark::kMillisecond);

// BM_StringArrayLoop in Lua: a table of the same 64 texts at keys 0 to 63, and each turn the
// same five steps: i = c, i = i & 63, s = t[i], c = c + 1, until c >= n.
void BM_LuaStringArrayLoop(benchmark::State& state) {
  TimeLuaLoop(state,
              "local n = ... local t = {} "
              "for k = 0, 63 do t[k] = 'text number ' .. (1000 + k) end "
              "local c, i, s = 0, 0, '' "
              "repeat i = c i = i & 63 s = t[i] c = c + 1 until c >= n return c",
              kTurns / 4);
}
BENCHMARK(BM_LuaStringArrayLoop)->Unit(benchmark::kMillisecond);

// ---- Calls: routine calls and byte-array natives, each beside the same loop in Lua 5.4 ----

// As many turns as the routine-call loop makes.
constexpr int64_t kCallLoopTurns = kTurns / 10;

// The routine-call loop in Lua: a call of a function that adds 1 to its argument and returns
// it, per turn.
void BM_LuaRoutineCallLoop(benchmark::State& state) {
  TimeLuaLoop(state,
              "local n = ... local function add1(x) return x + 1 end local c = 0 "
              "repeat c = add1(c) until c >= n return c",
              kCallLoopTurns);
}
BENCHMARK(BM_LuaRoutineCallLoop)->Unit(benchmark::kMillisecond);

// Each turn reads one byte of a 64-byte array into a uint32 with CopyByteRange (offset
// counter mod 64, length 1), adds 1 to the counter and jumps back.
void BM_ByteArrayReadLoop(benchmark::State& state) {
  RegisterStandardNatives();
  ProgramWriter w;
  w.OpenScope().Declare(kKindUInt64, 1).Declare(kKindUInt64, 2);
  w.Declare(kKindBarray, 3).Declare(kKindUInt32, 4).Declare(kKindUInt32, 5);
  w.Declare(kKindUInt32, 6).Assign(Target(6), MathOp::Assign, Imm::UInt32(64));
  w.CallNative(kNativeNewByteArray, {3, 6});
  w.Assign(Target(6), MathOp::Assign, Imm::UInt32(1));
  const Label top = w.Here();
  w.Assign(Target(5), MathOp::Assign, Opnd::Var(1)).Assign(Target(5), MathOp::And, Imm::UInt32(63));
  w.CallNative(kNativeCopyByteRange, {4, 3, 5, 6});
  w.Assign(Target(1), MathOp::Add, Imm::UInt64(1));
  w.JumpUnless(Relation::GreaterEqual, Opnd::Var(1), Imm::UInt64(kCallLoopTurns), top);
  w.CloseScope();
  RunCounted(state, w, kCallLoopTurns, 5);
}
BENCHMARK(BM_ByteArrayReadLoop)->ArgName("stepByStep")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same in Lua: string.byte of a 64-byte string (Lua's plain byte array) per turn.
void BM_LuaByteArrayReadLoop(benchmark::State& state) {
  TimeLuaLoop(state,
              "local n = ... local s = string.rep('\\0', 64) local c, b = 0, 0 "
              "repeat b = string.byte(s, (c & 63) + 1) c = c + 1 until c >= n return c",
              kCallLoopTurns);
}
BENCHMARK(BM_LuaByteArrayReadLoop)->Unit(benchmark::kMillisecond);

// Each turn appends the counter's low byte to a byte array with AppendIntegerBytes (one byte,
// least significant first), adds 1 to the counter and jumps back. The array holds a byte per
// turn at the end.
void BM_ByteArrayAppendLoop(benchmark::State& state) {
  RegisterStandardNatives();
  ProgramWriter w;
  w.OpenScope().Declare(kKindUInt64, 1).Declare(kKindUInt64, 2);
  w.Declare(kKindBarray, 3).Declare(kKindUInt32, 6).Declare(kKindUInt32, 7);
  w.Assign(Target(6), MathOp::Assign, Imm::UInt32(1));
  const Label top = w.Here();
  w.CallNative(kNativeAppendIntegerBytes, {3, 1, 6, 7});
  w.Assign(Target(1), MathOp::Add, Imm::UInt64(1));
  w.JumpUnless(Relation::GreaterEqual, Opnd::Var(1), Imm::UInt64(kCallLoopTurns), top);
  w.CloseScope();
  RunCounted(state, w, kCallLoopTurns, 3);
}
BENCHMARK(BM_ByteArrayAppendLoop)->ArgName("stepByStep")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same in Lua: table.insert of the counter's low byte per turn (Lua strings cannot grow
// in place, so a table of numbers is its nearest growing byte array).
void BM_LuaByteArrayAppendLoop(benchmark::State& state) {
  TimeLuaLoop(state,
              "local n = ... local t = {} local c = 0 "
              "repeat table.insert(t, c & 255) c = c + 1 until c >= n return c",
              kCallLoopTurns);
}
BENCHMARK(BM_LuaByteArrayAppendLoop)->Unit(benchmark::kMillisecond);

// ---- Field reads on their own ----

// A long straight program of assignments whose fields are wide: a 63-bit element index and a
// 64-bit immediate, most of them straddling byte boundaries. Each statement runs once.
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
  p.context.stepByStep = state.range(0) != 0;
  for (auto _ : state) {
    if (!p.context.Run({}, 0)) state.SkipWithError("run");
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["statements/s"] =
      benchmark::Counter(kStatements * runs, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WideFieldAssignments)
    ->ArgName("stepByStep")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

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
