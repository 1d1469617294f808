#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <optional>
#include <stdexcept>
#include <tuple>
#include <utility>
#include <vector>

#include "interpreter/keys/MurmurHash3.h"
#include "interpreter/keys/RoutineKey.h"
#include "interpreter/natives/NativeArgs.h"
#include "interpreter/natives/NativeTable.h"
#include "program_harness.h"
#include "value_forms.h"

using namespace testprog;
using namespace program_test;

namespace {

// Element 0's bytes hashed with the seed of its kind: text 0, int 1, double 2, barray 3, uint64 4.
ProgramKey Hashed(const std::vector<uint8_t>& bytes, uint32_t seed) {
  ProgramKey key;
  MurmurHash3_x86_128(bytes.data(), static_cast<int32_t>(bytes.size()), seed, key.data());
  return key;
}

TEST(RoutineKeyTest, ElementZeroIsHashedWithTheSeedOfItsKind) {
  // Never assigned: the empty text (the all-zero key), or the int 0. Other kinds: no key; no
  // element 0 to hash: refused.
  const std::pair<const char*, std::optional<ProgramKey>> cases[] = {
      {"s:", kZeroKey}, {"s*1", Hashed({}, 0)}, {"s:abc", Hashed({'a', 'b', 'c'}, 0)},
      {"i:7", Hashed({7, 0, 0, 0}, 1)}, {"i*1", Hashed({0, 0, 0, 0}, 1)},
      {"q:7", Hashed({7, 0, 0, 0, 0, 0, 0, 0}, 4)}, {"d:-0", Hashed({0, 0, 0, 0, 0, 0, 0, 0x80}, 2)},
      {"b:0102", Hashed({1, 2}, 3)}, {"u:7", kZeroKey}, {"k*1", kZeroKey}, {"i*0", {}}};
  for (const auto& [form, expected] : cases) {
    ProgramKey key;
    key.fill(0xEE);
    EXPECT_EQ(MakeRoutineKey(value_forms::Make(form), key), expected.has_value()) << form;
    EXPECT_EQ(key, expected.value_or(key)) << form;  // a refusal: whatever it left
  }
}

// A program whose caller code works on variable 1 (1 on entry) and then closes the outermost
// scope; the routine code follows at the label, enciphered under routineKey. Gives variable 1.
using Code = std::function<void(ProgramWriter&, Label)>;

int32_t Result(const Code& caller, const ProgramKey& routineKey, const Code& routine) {
  ProgramWriter w;
  const Label at = w.NewLabel();
  w.OpenScope().Declare(kKindInt, 1);
  caller(w, at);
  w.CloseScope().BeginRegion(routineKey).Bind(at);
  routine(w, at);
  const auto [ended, ints] = RunInts(w, {1});
  EXPECT_TRUE(ended);
  return ints[0];
}

TEST(RoutineCallTest, RunsUnderItsKeyReturnsOnlyThroughCallerValuesAndNestsToALimit) {
  const Code noKey = [](ProgramWriter& w, Label at) { w.CallRoutine(at, {1}); };
  const Code intKey = [](ProgramWriter& w, Label at) {
    w.Declare(kKindInt, 2).Assign(Target(2), MathOp::Assign, Imm::Int(7));
    w.CallRoutine(at, {1}, 2).Assign(Target(1), MathOp::Add, Imm::Int(100));  // goes on
  };
  const Code pastEnd = [](ProgramWriter& w, Label) { w.CallRoutineAtBit(uint64_t{1} << 40, {1}); };
  const Code wide = [](ProgramWriter& w, Label at) {  // more caller Values than scope slots
    w.CallRoutine(at, std::vector<VarNum>(150, 1)).Assign(Target(1), MathOp::Add, Imm::Int(1));
  };
  const auto addFive = [](bool fail) {
    return [=](ProgramWriter& w, Label) {
      w.OpenScope().Declare(kKindInt, 10).Assign(Target(10), MathOp::Add, Imm::Int(5));
      fail ? w.RawOpcode(8) : w.CloseScope();
    };
  };
  const Code hundred = [](ProgramWriter& w, Label) {  // fills its 100 slots exactly
    w.OpenScope();
    for (uint64_t id = 10; id < 110; ++id) w.Declare(kKindInt, id);
    w.Assign(Target(109), MathOp::Add, Imm::Int(5)).CloseScope();
  };
  const Code recurse = [](ProgramWriter& w, Label at) {  // adds 1, calls itself with it
    w.OpenScope().Declare(kKindInt, 10).Assign(Target(10), MathOp::Add, Imm::Int(1));
    w.CallRoutine(at, {10}).CloseScope();
  };
  EXPECT_EQ(Result(noKey, kZeroKey, addFive(false)), 6);
  EXPECT_EQ(Result(intKey, RoutineKeyForInt32(7), addFive(false)), 106);
  // Under another key the routine's bits are other bits; a routine that fails after changing
  // its parameter, or starts past the end: the caller's variable stays, the caller goes on.
  EXPECT_EQ(Result(intKey, kZeroKey, addFive(false)), 101);
  EXPECT_EQ(Result(intKey, RoutineKeyForInt32(7), addFive(true)), 101);
  EXPECT_EQ(Result(pastEnd, kZeroKey, addFive(false)), 1);
  // The routine hands back its 100 variables, then fails at the first missing one.
  EXPECT_EQ(Result(wide, kZeroKey, hundred), 7);
  // The deepest level's count is copied back up through every level.
  EXPECT_EQ(Result(noKey, kZeroKey, recurse), static_cast<int32_t>(kMaxRoutineDepth) + 1);
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

// A test native records what it was handed.
std::vector<Value*> g_handed;

bool Record(NativeArgs* args) {
  g_handed.clear();
  for (uint32_t i = 0; args->GetAt(i) != nullptr; ++i) g_handed.push_back(args->GetAt(i));
  return true;
}
bool Refuse(NativeArgs*) { return false; }
bool Throw(NativeArgs*) { throw std::length_error("native"); }

TEST(NativeCallTest, IndexBoundsArgumentsAndExceptions) {
  // Three natives, Record the last; built to size, so an index past the table is past the
  // allocation too. The process-wide table is restored at the end.
  const NativeTable saved = std::exchange(g_nativeTable, NativeTable{Refuse, Throw, Record});
  ProgramWriter w;
  w.OpenScope().Declare(kKindInt, 1).Declare(kKindInt, 2).CallNative(2, {2, 1, 2});
  Program p = Program::Exact(w);
  ASSERT_TRUE(p.Run());
  Value* twice = p.context.FindValue(2);
  EXPECT_EQ(g_handed, (std::vector<Value*>{twice, p.context.FindValue(1), twice}));
  // No arguments; then past the table, a native that refuses, an argument not declared:
  // nothing after them runs.
  for (const auto& [index, args, ok] : {std::tuple<VarNum, std::vector<VarNum>, bool>{2, {}, true},
                                        {3, {1}, false}, {0, {1}, false}, {2, {1, 5}, false}}) {
    ProgramWriter call;
    call.OpenScope().Declare(kKindInt, 1).CallNative(index, args);
    call.Assign(Target(1), MathOp::Add, Imm::Int(5)).CloseScope();
    EXPECT_EQ(RunInts(call, {10}), std::pair(ok, std::vector<int32_t>{ok ? 15 : 10})) << index.value;
  }
  EXPECT_TRUE(g_handed.empty());

  // An exception thrown inside a routine two scopes deep passes out of every level, the caller's
  // variable intact, the lists and the routine's context released.
  Value result = Int(3);
  ProgramWriter nested;
  const Label routine = nested.NewLabel();
  nested.OpenScope().Declare(kKindInt, 1).CallRoutine(routine, {1}).CloseScope();
  nested.BeginRegion(kZeroKey).Bind(routine);
  nested.OpenScope().Declare(kKindInt, 10).OpenScope().Declare(kKindString, 11);
  nested.CallNative(1, {10, 11}).CloseScope().CloseScope();
  EXPECT_THROW(RunProgram(nested, {&result}), std::length_error);
  EXPECT_EQ(IntOf(result), 3);
  g_nativeTable = saved;
}

// Calls reuse their argument lists, routine contexts and parameter storage from one call to
// the next; none of it may carry anything into a later call.
std::vector<std::vector<Value*>> g_calls;
bool g_throwNext = false;
bool RecordEach(NativeArgs* args) {
  g_calls.emplace_back();
  for (uint32_t i = 0; args->GetAt(i) != nullptr; ++i) g_calls.back().push_back(args->GetAt(i));
  if (std::exchange(g_throwNext, false)) throw std::bad_alloc();
  return true;
}

TEST(CallReuseTest, ListsHoldOnlyTheirOwnCallsArguments) {
  const NativeTable saved = std::exchange(g_nativeTable, NativeTable{RecordEach});
  ProgramWriter w;
  w.OpenScope().Declare(kKindInt, 1).Declare(kKindInt, 2).Declare(kKindInt, 3);
  w.CallNative(0, {1, 2, 3}).CallNative(0, {2}).CallNative(0, {});
  w.OpenScope().Declare(kKindInt, 2).CallNative(0, {3, 2}).CloseScope().CallNative(0, {2});
  w.CallNative(0, std::vector<VarNum>(300, 3)).CallNative(0, {1});  // a long list, released
  for (const bool stepByStep : {false, true}) {
    g_stepByStep = stepByStep;
    g_calls.clear();
    Program p = Program::Exact(w);
    ASSERT_TRUE(p.Run());
    Value* v2 = p.context.FindValue(2);
    Value* v3 = p.context.FindValue(3);
    ASSERT_EQ(g_calls.size(), 7u);
    EXPECT_EQ(g_calls[0], (std::vector<Value*>{p.context.FindValue(1), v2, v3}));
    EXPECT_EQ(g_calls[1], std::vector<Value*>{v2});
    EXPECT_TRUE(g_calls[2].empty());
    EXPECT_EQ(g_calls[3].size(), 2u);
    EXPECT_EQ(g_calls[3][0], v3);
    EXPECT_NE(g_calls[3][1], v2);  // the inner variable 2
    EXPECT_EQ(g_calls[4], std::vector<Value*>{v2});
    EXPECT_EQ(g_calls[5], std::vector<Value*>(300, v3));
    EXPECT_EQ(g_calls[6], std::vector<Value*>{p.context.FindValue(1)});
  }
  g_stepByStep = false;
  g_nativeTable = saved;
}

TEST(CallReuseTest, RoutinesRunAgainAfterFailuresExceptionsAndOtherKeys) {
  const NativeTable saved = std::exchange(g_nativeTable, NativeTable{RecordEach});
  ProgramWriter w;
  const Label add = w.NewLabel();
  const Label addHundred = w.NewLabel();
  const Label failOrAdd = w.NewLabel();
  // Variable 2 (7 on entry) is the int key; routines under the zero key and under it alternate.
  w.OpenScope().Declare(kKindInt, 1).Declare(kKindInt, 2).Declare(kKindInt, 3, 3);
  w.Declare(kKindUInt32, 4).Assign(Target(4), MathOp::Assign, Imm::UInt32(5));
  w.Assign(Target::At(3, 2), MathOp::Assign, Imm::Int(9)).Declare(kKindInt, 5);
  w.CallRoutine(add, {1}).CallRoutine(addHundred, {1}, 2).CallRoutine(add, {1});
  w.CallRoutine(addHundred, {1}, 2);  // 1: 203
  // Parameters of another count, of a kind the routine's parameter is not (left unbound: the
  // copy back fails), then the same count again.
  w.CallRoutine(add, {3}).CallRoutine(add, {4}).CallRoutine(add, {5}).CallRoutine(add, {5});
  // A routine that fails with scopes open, then runs again and succeeds.
  w.CallRoutine(failOrAdd, {5, 2}).Assign(Target(2), MathOp::Assign, Imm::Int(0));
  w.CallRoutine(failOrAdd, {5, 2});  // 5: 3
  w.Assign(Target(2), MathOp::Assign, Opnd::VarAt(3, 0)).Assign(Target(2), MathOp::Add, Opnd::VarAt(3, 2));
  w.Assign(Target(2), MathOp::Add, Opnd::Var(4)).Assign(Target(2), MathOp::Add, Opnd::Var(5));
  w.CloseScope();  // 2: 1 + 9 + 5 + 3
  w.BeginRegion(kZeroKey).Bind(add);
  w.OpenScope().Declare(kKindInt, 10).Assign(Target(10), MathOp::Add, Imm::Int(1)).CloseScope();
  w.Bind(failOrAdd).OpenScope().Declare(kKindInt, 10).Declare(kKindInt, 11);
  w.Assign(Target(10), MathOp::Add, Imm::Int(1)).OpenScope().Declare(kKindString, 12);
  const Label succeed = w.NewLabel();
  w.JumpUnless(Relation::Equal, Opnd::Var(11), Imm::Int(7), succeed).RawOpcode(8);
  w.Bind(succeed).CloseScope().CallNative(0, {10}).CloseScope();
  w.BeginRegion(RoutineKeyForInt32(7)).Bind(addHundred);
  w.OpenScope().Declare(kKindInt, 10).Assign(Target(10), MathOp::Add, Imm::Int(100)).CloseScope();
  EXPECT_EQ(RunInts(w, {1, 7}), std::pair(true, std::vector<int32_t>{203, 18}));

  // An exception inside a routine; the same context then runs the program again.
  for (const bool stepByStep : {false, true}) {
    g_stepByStep = stepByStep;
    Program p(w);
    Value one = Int(1);
    Value seven = Int(7);
    g_throwNext = true;
    EXPECT_THROW(p.Run({&one, &seven}), std::bad_alloc);
    EXPECT_EQ(std::pair(IntOf(one), IntOf(seven)), std::pair(1, 7));
    EXPECT_TRUE(p.Run({&one, &seven}));
    EXPECT_EQ(std::pair(IntOf(one), IntOf(seven)), std::pair(203, 18));
  }
  g_stepByStep = false;
  g_nativeTable = saved;
}

}  // namespace
