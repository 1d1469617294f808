#pragma once
// Runs programs built by the test program writer: enciphered under a key, bound to a context
// the way a request binds one, and run from a start bit with caller Values.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "interpreter/program/ProgramContext.h"
#include "interpreter/program/decoded/DecodedProgram.h"
#include "programwriter/ProgramWriter.h"

namespace program_test {

// How the harness runs programs: read bit by bit, or from statements decoded at their first
// visit (so that every statement a test writes runs decoded) within this many bytes of decoded
// forms (0: the bound that a request gives a program of its size).
inline bool g_stepByStep = false;
inline uint64_t g_decodedBound = 0;
// So little room that most statements stay undecoded: runs pass back and forth.
inline constexpr uint64_t kTinyBound = 1024 + 3 * sizeof(DecodedStatement);

inline constexpr ProgramKey kTestKey{'T', 'a', 'r', 'n', 'v', 'a', 'u', 'l',
                                     't', 1,   2,   3,   4,   5,   6,   7};

class Program {
 public:
  // bitLength defaults to the byte count times 8.
  explicit Program(const testprog::ProgramWriter& w, std::optional<uint64_t> bitLength = {})
      : bytes(w.Finish(kTestKey)),
        bound(g_decodedBound != 0 ? g_decodedBound : DecodedProgram::BoundFor(bytes.size())),
        decoded(bound, 1) {
    context.Init(&bytes, bitLength.value_or(bytes.size() * 8), kTestKey.data());
    context.stepByStep = g_stepByStep;
    context.decodedProgram = &decoded;
  }
  // Ends right after the last statement written: no padding bits read as one more opcode.
  static Program Exact(const testprog::ProgramWriter& w) { return Program(w, w.Position()); }

  ~Program() { EXPECT_LE(decoded.BytesUsed(), bound); }

  bool Run(const std::vector<Value*>& callerValues = {}, uint64_t startBit = 0) {
    return context.Run(callerValues, startBit);
  }

  std::vector<uint8_t> bytes;
  uint64_t bound;
  DecodedProgram decoded;
  ProgramContext context;
};

// What run() gives when programs are read bit by bit, which must be what it gives when they run
// decoded, and when they run partly decoded within a tiny bound.
template <typename Run>
auto BothWays(const Run& run) {
  g_stepByStep = true;
  const auto stepByStep = run();
  g_stepByStep = false;
  const auto decoded = run();
  g_decodedBound = kTinyBound;
  const auto mixed = run();
  g_decodedBound = 0;
  EXPECT_EQ(decoded, stepByStep) << "decoded and bit by bit";
  EXPECT_EQ(mixed, stepByStep) << "partly decoded and bit by bit";
  return decoded;
}

inline bool RunProgram(const testprog::ProgramWriter& w, const std::vector<Value*>& args = {}) {
  return Program(w).Run(args);
}

inline Value Typed(int32_t kind, uint32_t count = 1) {
  Value v;
  v.kind = kind;
  v.count = count;
  return v;
}

inline Value Int(int32_t n) {
  Value v = Typed(kKindInt);
  v.SetInt32(0, static_cast<uint32_t>(n));
  return v;
}

inline int32_t IntOf(const Value& v) { return static_cast<int32_t>(v.GetWord(0)); }

// Element index of v as text (a number's bits in decimal), whatever its kind.
inline std::string ElementText(const Value& v, uint32_t index) {
  if (v.kind == kKindString) return v.GetText(index);
  return std::to_string(Value::ElementWidth(v.kind) == 4 ? v.GetWord(index) : v.GetUInt64(index));
}

// Whether w's run ends, and its int caller Values (`ints` on entry) afterwards, the same whichever
// way the run reads its statements.
inline std::pair<bool, std::vector<int32_t>> RunInts(const testprog::ProgramWriter& w,
                                                     const std::vector<int32_t>& ints) {
  return BothWays([&] {
    std::vector<Value> caller;
    for (int32_t n : ints) caller.push_back(Int(n));
    std::vector<Value*> args;
    for (Value& v : caller) args.push_back(&v);
    std::pair<bool, std::vector<int32_t>> outcome{RunProgram(w, args), {}};
    for (const Value& v : caller) outcome.second.push_back(IntOf(v));
    return outcome;
  });
}

}  // namespace program_test
