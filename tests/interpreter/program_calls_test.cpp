#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

#include "interpreter/NativeArgs.h"
#include "interpreter/NativeTable.h"
#include "interpreter/RoutineKey.h"
#include "program_harness.h"

using namespace testprog;
using namespace program_test;

namespace {

TEST(RoutineKeyTest, ElementZeroIsHashedWithTheSeedOfItsKind) {
  const ByteArray bytes{1, 2};
  const auto typed = [](int32_t kind, auto set) {
    Value v = Typed(kind);
    set(v);
    return v;
  };
  const std::pair<Value, ProgramKey> cases[] = {
      {typed(kKindString, [](Value& v) { v.SetString(0, ""); }), kZeroKey},
      {Typed(kKindString), kZeroKey},  // never assigned: the empty text
      {typed(kKindString, [](Value& v) { v.SetString(0, "abc"), v.SetString(1, "x"); }),
       RoutineKeyForText("abc")},
      {Int(7), RoutineKeyForInt32(7)},
      {Typed(kKindInt), RoutineKeyForInt32(0)},
      {typed(kKindUInt64, [](Value& v) { v.SetUInt64(0, 7); }), RoutineKeyForUInt64(7)},
      {typed(kKindDouble, [](Value& v) { v.SetDouble(0, -0.0); }), RoutineKeyForDouble(-0.0)},
      {typed(kKindBarray, [&](Value& v) { v.SetByteArray(0, bytes); }), RoutineKeyForBytes(bytes)},
      {typed(kKindUInt32, [](Value& v) { v.SetInt32(0, 7); }), kZeroKey},
      {Typed(6), kZeroKey},
  };
  for (const auto& [variable, expected] : cases) {
    ProgramKey key;
    key.fill(0xEE);
    EXPECT_TRUE(MakeRoutineKey(variable, key));
    EXPECT_EQ(key, expected) << "kind " << variable.kind;
  }
  // The keys that must differ do.
  EXPECT_NE(RoutineKeyForInt32(0), kZeroKey);
  EXPECT_NE(RoutineKeyForInt32(7), RoutineKeyForUInt64(7));
  EXPECT_NE(RoutineKeyForDouble(0.0), RoutineKeyForDouble(-0.0));
  ProgramKey key;
  EXPECT_FALSE(MakeRoutineKey(Typed(kKindInt, 0), key));  // no element 0 to hash
}

using Call = std::function<void(ProgramWriter&, Label)>;

// The caller's result 1 (starting at 1) goes to a routine, enciphered under routineKey, that
// adds 5 to its parameter and then closes its scope or, with `fail`, hits opcode 8.
int32_t RunAddFive(const ProgramKey& routineKey, const Call& call, bool fail = false) {
  ProgramWriter w;
  const Label routine = w.NewLabel();
  w.OpenScope().Declare(kKindInt, 1);
  call(w, routine);
  w.CloseScope().BeginRegion(routineKey).Bind(routine);
  w.OpenScope().Declare(kKindInt, 10).Assign(Target(10), MathOp::Add, Imm::Int(5));
  fail ? w.RawOpcode(8) : w.CloseScope();
  Value result = Int(1);
  EXPECT_TRUE(RunProgram(w, {&result}));
  return IntOf(result);
}

Call WithKey(int32_t kind, const Operand& value) {
  return [=](ProgramWriter& w, Label routine) {
    w.Declare(kind, 2).Assign(Target(2), MathOp::Assign, value).CallRoutine(routine, {1}, 2);
  };
}

TEST(RoutineCallTest, RunsUnderTheKeyOfItsKeyVariableAndReturnsThroughCallerValues) {
  const Call noKey = [](ProgramWriter& w, Label routine) { w.CallRoutine(routine, {1}); };
  EXPECT_EQ(RunAddFive(kZeroKey, noKey), 6);
  EXPECT_EQ(RunAddFive(kZeroKey, WithKey(kKindString, Imm::String(""))), 6);
  EXPECT_EQ(RunAddFive(kZeroKey, WithKey(kKindUInt32, Imm::UInt32(99))), 6);
  EXPECT_EQ(RunAddFive(RoutineKeyForInt32(7), WithKey(kKindInt, Imm::Int(7))), 6);
  // Under another key the routine's bits are other bits: it fails, the caller goes on.
  EXPECT_EQ(RunAddFive(RoutineKeyForInt32(7), WithKey(kKindUInt64, Imm::UInt64(7))), 1);
  EXPECT_EQ(RunAddFive(RoutineKeyForInt32(7), noKey), 1);
  // A routine that fails after changing its parameter leaves the caller's variable as it was,
  // as does one whose start lies past the program's end.
  EXPECT_EQ(RunAddFive(kZeroKey, noKey, true), 1);
  EXPECT_EQ(RunAddFive(kZeroKey,
                       [](ProgramWriter& w, Label) {
                         w.CallRoutineAtBit(uint64_t{1} << 40, {1});
                         w.Assign(Target(1), MathOp::Add, Imm::Int(1));  // goes on
                       }),
            2);
}

TEST(RoutineCallTest, MoreCallerValuesThanScopeSlotsFailTheCopyBackAtTheFirstMissing) {
  ProgramWriter w;
  const Label routine = w.NewLabel();
  w.OpenScope().Declare(kKindInt, 1).CallRoutine(routine, std::vector<VarNum>(150, 1));
  w.Assign(Target(1), MathOp::Add, Imm::Int(1)).CloseScope();
  w.BeginRegion(kZeroKey).Bind(routine).OpenScope();  // fills its 100 slots exactly
  for (uint64_t id = 10; id < 110; ++id) w.Declare(kKindInt, id);
  w.Assign(Target(109), MathOp::Add, Imm::Int(5)).CloseScope();
  Value result = Int(1);
  EXPECT_TRUE(RunProgram(w, {&result}));
  EXPECT_EQ(IntOf(result), 7);  // the routine handed back its 100 variables, then failed
}

TEST(RoutineCallTest, NestingStopsAtTheDepthLimit) {
  // Each level adds 1 to its parameter and calls itself with it; the deepest level's count
  // is copied back up through every level.
  ProgramWriter w;
  const Label routine = w.NewLabel();
  w.OpenScope().Declare(kKindInt, 1).CallRoutine(routine, {1}).CloseScope();
  w.BeginRegion(kZeroKey).Bind(routine);
  w.OpenScope().Declare(kKindInt, 10).Assign(Target(10), MathOp::Add, Imm::Int(1));
  w.CallRoutine(routine, {10}).CloseScope();
  Value depth = Int(0);
  EXPECT_TRUE(RunProgram(w, {&depth}));
  EXPECT_EQ(IntOf(depth), static_cast<int32_t>(kMaxRoutineDepth));

  ProgramWriter forever;  // a routine that does nothing but call itself ends too
  const Label self = forever.NewLabel();
  forever.OpenScope().CallRoutine(self, {}).CloseScope();
  forever.BeginRegion(kZeroKey).Bind(self).CallRoutine(self, {});
  EXPECT_TRUE(RunProgram(forever));
}

TEST(RoutineCallTest, MissingOrCutOffReferencesFailTheRun) {
  const std::function<void(ProgramWriter&)> programs[] = {
      [](ProgramWriter& w) { w.CallRoutineAtBit(0, {5}); },
      [](ProgramWriter& w) { w.CallRoutineAtBit(0, {1}, 5); },
      [](ProgramWriter& w) { w.Declare(kKindInt, 2, 0).CallRoutineAtBit(0, {}, 2); },
      // Counts far beyond what the program holds fail at its end; nothing is sized by them.
      [](ProgramWriter& w) { w.RawOpcode(6).Bits(0, 64).Skip().VarWidth(Forced(1ull << 62, 7)); },
      [](ProgramWriter& w) {
        w.RawOpcode(7).Skip().VarWidth(0).Skip().VarWidth(Forced(1ull << 62, 7));
      },
  };
  for (const auto& build : programs) {
    ProgramWriter w;
    w.OpenScope().Declare(kKindInt, 1);
    build(w);
    for (int i = 0; i < 3; ++i) w.Skip().VarWidth(1);  // references that are not statements
    EXPECT_FALSE(RunProgram(w)) << &build - programs;
  }
}

// Test natives record what they were handed; the process-wide table is restored afterwards.
std::vector<Value*> g_handed;

bool Record(NativeArgs* args) {
  g_handed.clear();
  for (uint32_t i = 0; args->GetAt(i) != nullptr; ++i) g_handed.push_back(args->GetAt(i));
  if (!g_handed.empty()) g_handed[0]->SetInt32(0, g_handed[0]->GetWord(0) + 1);
  return true;
}
bool Refuse(NativeArgs*) { return false; }
bool Throw(NativeArgs*) { throw std::length_error("native"); }

class NativeCallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_.swap(g_nativeTable);
    for (NativeFunction f : {Refuse, Throw, Record}) RegisterNative(f);  // Record is the last
    g_nativeTable.shrink_to_fit();  // an index past the table is past the allocation too
  }
  void TearDown() override { g_nativeTable.swap(saved_); }
  NativeTable saved_;
};

TEST_F(NativeCallTest, IndicesReachTheLastRegisteredNativeAndNoFurther) {
  ProgramWriter w;
  w.OpenScope().Declare(kKindInt, 1).Declare(kKindInt, 2).CallNative(2, {2, 1, 2});
  Program p = Program::Exact(w);
  ASSERT_TRUE(p.Run());
  Value* twice = p.context.FindValue(2);
  EXPECT_EQ(g_handed, (std::vector<Value*>{twice, p.context.FindValue(1), twice}));
  EXPECT_EQ(IntOf(*twice), 1);

  Value result = Int(10);
  ProgramWriter none;
  none.OpenScope().Declare(kKindInt, 1).CallNative(2, {}).CloseScope();
  EXPECT_TRUE(RunProgram(none, {&result}));
  EXPECT_TRUE(g_handed.empty());
  // Past the table, a native that refuses, an argument not declared: nothing after runs.
  const std::pair<VarNum, std::vector<VarNum>> failing[] = {{3, {1}}, {0, {1}}, {2, {1, 5}}};
  for (const auto& [index, args] : failing) {
    ProgramWriter w2;
    w2.OpenScope().Declare(kKindInt, 1).CallNative(index, args);
    w2.Assign(Target(1), MathOp::Assign, Imm::Int(5)).CloseScope();
    EXPECT_FALSE(RunProgram(w2, {&result})) << index.value;
    EXPECT_EQ(IntOf(result), 10);
  }
}

TEST_F(NativeCallTest, AnExceptionPassesOutOfEveryLevelLeavingTheVariablesIntact) {
  ProgramWriter w;
  w.OpenScope().Declare(kKindInt, 1).Declare(kKindString, 2);
  w.Assign(Target(2), MathOp::Assign, Imm::String("kept")).CallNative(1, {2, 1, 2});
  Program p = Program::Exact(w);
  Value result = Int(3);
  EXPECT_THROW(p.Run({&result}), std::length_error);
  EXPECT_EQ(p.context.FindValue(2)->GetText(0), "kept");
  EXPECT_EQ(IntOf(*p.context.FindValue(1)), 3);

  ProgramWriter nested;  // thrown inside a routine two scopes deep
  const Label routine = nested.NewLabel();
  nested.OpenScope().Declare(kKindInt, 1).CallRoutine(routine, {1}).CloseScope();
  nested.BeginRegion(kZeroKey).Bind(routine);
  nested.OpenScope().Declare(kKindInt, 10).OpenScope().Declare(kKindString, 11);
  nested.CallNative(1, {10, 11}).CloseScope().CloseScope();
  EXPECT_THROW(RunProgram(nested, {&result}), std::length_error);
  EXPECT_EQ(IntOf(result), 3);
}

}  // namespace
