// Runs from decoded statements against the bit-by-bit reading: variable references that must
// be looked up again when the scopes change, and the bound on the decoded statements' memory.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "interpreter/keys/KeyStream.h"
#include "program_harness.h"

using namespace testprog;
using namespace program_test;

namespace {

// Kind, count and every element of v (each byte array in hex) as text.
std::string Shown(const Value& v) {
  std::string out = std::to_string(v.kind) + "/" + std::to_string(v.count) + ":";
  const uint64_t n = v.kind == kKindString ? v.TextCount() : v.count;
  for (uint32_t i = 0; i < n; ++i) {
    if (v.kind == kKindBarray) {
      for (uint8_t b : v.GetBytes(i)) out += "0123456789ABCDEF"[b >> 4];
    } else {
      out += ElementText(v, i);
    }
    out += ",";
  }
  return out;
}

// The statement at `top` adds 1 to variable 1. Each turn opens a scope that declares its own
// variable 1 and goes round again, so the same decoded statement must find another variable
// each time; after the scopes close it must find the outer one again.
TEST(DecodedRunTest, AReferenceFollowsTheScopes) {
  ProgramWriter w;
  const Label top = w.NewLabel(), deepest = w.NewLabel(), end = w.NewLabel();
  w.OpenScope().Declare(kKindInt, 1).Declare(kKindInt, 2).Declare(kKindInt, 3).Bind(top);
  w.Assign(Target(1), MathOp::Add, Imm::Int(1)).Assign(Target(2), MathOp::Add, Imm::Int(1));
  w.JumpUnless(Relation::Less, Opnd::Var(2), Imm::Int(3), deepest);
  w.OpenScope().Declare(kKindInt, 1).JumpUnless(Relation::Always6, Imm::Int(0), Imm::Int(0), top);
  w.Bind(deepest).JumpUnless(Relation::Equal, Opnd::Var(3), Imm::Int(0), end);
  w.CloseScopesAndJump(2, Offset{0}).Assign(Target(3), MathOp::Add, Imm::Int(1));
  w.JumpUnless(Relation::Always7, Imm::Int(0), Imm::Int(0), top);
  w.Bind(end).CloseScope();
  EXPECT_EQ(RunInts(w, {0, 0, 0}), std::pair(true, std::vector<int32_t>{2, 4, 1}));
}

// Each turn declares 60 variables in the loop's own scope, so the scope grows and its
// variables move while the statements that refer to them stay decoded.
TEST(DecodedRunTest, AReferenceFollowsAVariableThatAGrowingScopeMoves) {
  ProgramWriter w;
  const Label top = w.NewLabel();
  w.OpenScope().Declare(kKindInt, 1).Declare(kKindInt, 2, 2).Bind(top);
  w.Assign(Target(1), MathOp::Add, Imm::Int(1));
  w.Assign(Target::At(2, 1), MathOp::Assign, Opnd::Var(1));
  for (uint64_t id = 10; id < 70; ++id) w.Declare(kKindInt, id);
  w.JumpUnless(Relation::GreaterEqual, Opnd::Var(1), Imm::Int(5), top);
  w.Assign(Target(1), MathOp::Multiply, Opnd::VarAt(2, 1)).CloseScope();
  EXPECT_EQ(RunInts(w, {0}), std::pair(true, std::vector<int32_t>{25}));
}

// A routine called under 64 keys: its bits decode differently under each, and all of them
// together stay within the bound.
TEST(DecodedRunTest, StatementsOfManyKeysStayWithinTheBound) {
  SetKeyStreamDeriverForTesting([](KeyStreamEntry& entry) {  // a real derivation is slow
    entry.stream.assign(kKeyStreamBytes, 0);
    for (size_t i = 0; i < kKeyStreamBytes; ++i) entry.stream[i] = entry.key[i % 16] ^ uint8_t(i);
  });
  ProgramWriter w;
  const Label routine = w.NewLabel(), top = w.NewLabel();
  w.OpenScope().Declare(kKindInt, 1).Declare(kKindInt, 2).Bind(top);
  w.CallRoutine(routine, {1}, 2).Assign(Target(2), MathOp::Add, Imm::Int(1));
  w.JumpUnless(Relation::GreaterEqual, Opnd::Var(2), Imm::Int(64), top).CloseScope();
  w.BeginRegion(kZeroKey).Bind(routine);  // under any other key these bits are noise
  for (int i = 0; i < 40; ++i) w.OpenScope().Declare(kKindInt, 10).CloseScope();
  w.OpenScope().Declare(kKindInt, 10).Assign(Target(10), MathOp::Add, Imm::Int(1)).CloseScope();
  const auto expected = RunInts(w, {0});
  for (uint64_t bound : {uint64_t{4096}, uint64_t{64} << 10}) {
    g_decodedBound = bound;  // for the decoded run; RunInts sets it back to 0
    EXPECT_EQ(RunInts(w, {0}), expected) << bound;
  }
  SetKeyStreamDeriverForTesting(nullptr);
  for (KeyStreamCache* cache : {&g_keyStreamCache, &g_contextKeyStreamCache}) cache->clear();
}

// A loop whose body does not fit the bound, which fills up during the run (in its first pass,
// or later where statements decode at their second visit): statements decoded before that run
// beside ones that never will be, the run passes between them both ways, and a routine under
// another key starts when the bound may be full already. Whatever the bound, the run comes out
// as the bit-by-bit reading has it, and some bounds leave part of the body decoded.
TEST(DecodedRunTest, ARunThatReachesTheBoundAgreesWithTheReading) {
  SetKeyStreamDeriverForTesting([](KeyStreamEntry& entry) {  // a real derivation is slow
    entry.stream.assign(kKeyStreamBytes, 0);
    for (size_t i = 0; i < kKeyStreamBytes; ++i) entry.stream[i] = entry.key[i % 16] ^ uint8_t(i);
  });
  constexpr MathOp kOps[] = {MathOp::Add, MathOp::Xor, MathOp::Multiply, MathOp::Subtract,
                             MathOp::Or};
  ProgramWriter w;
  const Label routine = w.NewLabel(), top = w.NewLabel(), skip = w.NewLabel();
  w.OpenScope().Declare(kKindInt, 1).Declare(kKindInt, 2).Declare(kKindInt, 3).Bind(top);
  for (int32_t i = 0; i < 48; ++i) {
    w.Assign(Target(2 + i % 2), kOps[i % 5], Imm::Int(i * 7919 + 1));
    if (i == 20) w.JumpUnless(Relation::Less, Opnd::Var(1), Imm::Int(2), skip);
    // Statements of 4 bits share their bytes with others; the scope changes the epoch.
    if (i == 30) w.Bind(skip).OpenScope().Declare(kKindInt, 3).CloseScope();
  }
  w.CallRoutine(routine, {2}).Assign(Target(1), MathOp::Add, Imm::Int(1));
  w.JumpUnless(Relation::GreaterEqual, Opnd::Var(1), Imm::Int(4), top).CloseScope();
  w.BeginRegion(kZeroKey).Bind(routine).OpenScope().Declare(kKindInt, 10);
  for (int32_t i = 0; i < 8; ++i) {
    w.Assign(Target(10), MathOp::Multiply, Imm::Int(3)).Assign(Target(10), MathOp::Xor, Imm::Int(i));
  }
  w.CloseScope();
  const std::vector<uint8_t> bytes = w.Finish(kTestKey);

  struct Outcome {
    bool ended;
    std::vector<int32_t> ints;
    bool operator==(const Outcome&) const = default;
  };
  size_t mainStatements = 0;  // decoded under the main key by the last run
  const auto run = [&](bool stepByStep, DecodedProgram& decoded) {
    ProgramContext context;
    context.Init(&bytes, bytes.size() * 8, kTestKey.data());
    context.stepByStep = stepByStep;
    context.decodedProgram = &decoded;
    std::vector<Value> caller{Int(0), Int(0), Int(0)};
    Outcome outcome{context.Run({&caller[0], &caller[1], &caller[2]}, 0), {}};
    for (const Value& v : caller) outcome.ints.push_back(IntOf(v));
    EXPECT_LE(decoded.BytesUsed(), decoded.Bound());
    mainStatements = decoded.ForKeyStream(context.keyStream, context.bitLength).size();
    return outcome;
  };
  DecodedProgram none(0);
  const Outcome expected = run(true, none);
  ASSERT_TRUE(expected.ended);
  int partlyDecoded = 0;
  for (const uint32_t visit : {1u, 2u}) {
    for (uint64_t bound = 64; bound <= 16384; bound += 64) {
      DecodedProgram decoded(bound, visit);
      EXPECT_EQ(run(false, decoded), expected) << bound << " " << visit;
      partlyDecoded += decoded.Reached() && mainStatements > 10;
    }
  }
  EXPECT_GT(partlyDecoded, 0);
  SetKeyStreamDeriverForTesting(nullptr);
  for (KeyStreamCache* cache : {&g_keyStreamCache, &g_contextKeyStreamCache}) cache->clear();
}

// A short path's target, variable 1: its kind, count, the element written, and whether that
// element is given a value first. Its source: an immediate, or variable 2 of a kind and count,
// given a value or never assigned.
struct ShortPathTarget {
  int32_t kind;
  uint32_t count, index;
  bool held;
};
struct ShortPathSource {
  Operand operand;
  int32_t kind;
  uint32_t count;
  std::optional<Operand> value;
};

// Runs body after variable 1 (the target, holding `first` when held) and variable 2 of the given
// kind and count are declared: decoded and bit by bit, the outcomes must agree.
void ShortPathAgrees(const ShortPathTarget& t, const Operand& first, int32_t sourceKind,
                     uint32_t sourceCount, const std::function<void(ProgramWriter&)>& body) {
  ProgramWriter w;
  w.OpenScope().Declare(t.kind, 1, t.count).Declare(sourceKind, 2, sourceCount);
  if (t.held) w.Assign(Target::At(1, t.index), MathOp::Assign, first);
  body(w);
  w.CloseScope();
  BothWays([&] {
    Value result = Typed(t.kind, t.count), flag = Typed(sourceKind, sourceCount);
    const bool ended = RunProgram(w, {&result, &flag});
    return std::pair(ended, ElementText(result, t.index) + "/" + ElementText(flag, 0));
  });
}

// Every arithmetic code with every source into the target.
void EveryOperationAgrees(const ShortPathTarget& t, const Operand& first,
                          std::span<const ShortPathSource> sources) {
  for (const ShortPathSource& source : sources) {
    for (uint32_t op = 0; op < 12; ++op) {
      ShortPathAgrees(t, first, source.kind, source.count, [&](ProgramWriter& w) {
        if (source.value) w.Assign(Target(2), MathOp::Assign, *source.value);
        w.Assign(Target::At(1, t.index), static_cast<MathOp>(op), source.operand);
      });
    }
  }
}

// Variable 1, first given `value` when there is one, against each number under every relation.
void EveryRelationAgrees(const ShortPathTarget& t, const Operand& first,
                         const std::optional<Operand>& value, std::span<const Operand> numbers) {
  for (const Operand& number : numbers) {
    for (uint32_t r = 0; r < 8; ++r) {
      ShortPathAgrees(t, first, kKindInt, 1, [&](ProgramWriter& w) {
        const Label skip = w.NewLabel();
        if (value) w.Assign(Target(1), MathOp::Assign, *value);
        w.JumpUnless(static_cast<Relation>(r), Opnd::Var(1), number, skip);
        w.Assign(Target(2), MathOp::Assign, Imm::Int(1)).Bind(skip);
      });
    }
  }
}

// Counting, summing and comparing in uint64 take a short path while the variables turn out to
// be uint64 numbers held in place; any other variable (another kind, no storage, an element
// past the end, several elements, a zero divisor) must come out as the bit-by-bit reading has it.
TEST(DecodedRunTest, UInt64ShortPathsAgreeWithTheReadingWhateverTheVariables) {
  const uint64_t big = (uint64_t{1} << 63) + 5;
  const ShortPathTarget targets[] = {
      {kKindUInt64, 1, 0, true}, {kKindUInt64, 1, 0, false}, {kKindUInt64, 2, 1, true},
      {kKindUInt64, 1, 1, false}, {kKindInt, 1, 0, true},   {kKindUInt32, 1, 0, true},
      {kKindDouble, 1, 0, true}, {kKindString, 1, 0, true}};
  const ShortPathSource sources[] = {
      {Imm::UInt64(0), kKindInt, 1, {}}, {Imm::UInt64(3), kKindInt, 1, {}},
      {Imm::UInt64(big), kKindInt, 1, {}}, {Opnd::Var(2), kKindUInt64, 1, Imm::UInt64(7)},
      {Opnd::Var(2), kKindUInt64, 1, Imm::UInt64(0)}, {Opnd::Var(2), kKindUInt64, 1, {}},
      {Opnd::Var(2), kKindUInt64, 2, Imm::UInt64(7)}, {Opnd::Var(2), kKindInt, 1, Imm::Int(-7)}};
  const Operand numbers[] = {Imm::UInt64(0), Imm::UInt64(1000), Imm::UInt64(big)};
  for (const ShortPathTarget& t : targets) {
    const Operand first = t.kind == kKindString ? Imm::String("12") : Imm::UInt64(1000);
    EveryOperationAgrees(t, first, sources);
    EveryRelationAgrees(t, first, std::nullopt, numbers);
  }
}

// A text or byte-array element goes into its target without a copy of the element in between;
// whatever the target's kind and element, an element past the end, or a variable that is its
// own target, the outcome must be the reading's.
TEST(DecodedRunTest, TextAndByteArrayElementsIntoTargetsAgreeWithTheReading) {
  // Variable 1: texts "alpha", "12" and one never written; 2: byte arrays {AB 01}, {}, {FF};
  // 3: the target of each kind, two elements; 4: the index 1; 5: the index 7.
  Value bytes = Typed(kKindBarray, 3);
  bytes.AssignByteArrays(3, nullptr);
  bytes.SetByteArray(0, {0xAB, 0x01});
  bytes.SetByteArray(2, {0xFF});
  const Operand sources[] = {Opnd::VarAt(1, 0), Opnd::VarAt(1, 1),    Opnd::VarAt(1, 2),
                             Opnd::VarAt(1, 3), Opnd::VarAtVar(1, 4), Opnd::VarAtVar(1, 5),
                             Opnd::VarAt(2, 0), Opnd::VarAt(2, 1),    Opnd::VarAtVar(2, 4),
                             Opnd::VarAt(2, 3)};
  const Target targets[] = {Target(3), Target::At(3, 1), Target::At(3, 4), Target::AtVar(3, 4)};
  const auto run = [&](int32_t targetKind, const auto& body) {
    ProgramWriter w;
    w.OpenScope().Declare(kKindString, 1, 3).Declare(kKindBarray, 2, 3);
    w.Declare(targetKind, 3, 2).Declare(kKindUInt64, 4).Declare(kKindUInt64, 5);
    w.Assign(Target::At(1, 0), MathOp::Assign, Imm::String("alpha"));
    w.Assign(Target::At(1, 1), MathOp::Assign, Imm::String("12"));
    w.Assign(Target(4), MathOp::Assign, Imm::UInt64(1));
    w.Assign(Target(5), MathOp::Assign, Imm::UInt64(7));
    body(w);
    w.CloseScope();
    BothWays([&] {
      Value texts = Typed(kKindString, 3), arrays(bytes), target = Typed(targetKind, 2);
      Value one = Typed(kKindUInt64), seven = Typed(kKindUInt64);
      const bool ended = RunProgram(w, {&texts, &arrays, &target, &one, &seven});
      return std::to_string(ended) + Shown(texts) + Shown(arrays) + Shown(target);
    });
  };
  for (int32_t kind : {kKindString, kKindInt, kKindDouble, kKindBarray, kKindUInt64}) {
    for (const Target& target : targets) {
      for (const Operand& source : sources) {
        run(kind, [&](ProgramWriter& w) { w.Assign(target, MathOp::Assign, source); });
      }
    }
  }
  // The variable that holds the element is the target: another element, the same one, and one
  // past its texts, which grows them while the text to copy lies among them.
  for (const auto& pair :
       {std::pair{Target::At(1, 2), Opnd::VarAt(1, 0)}, {Target::At(1, 0), Opnd::VarAt(1, 0)},
        {Target::At(1, 9), Opnd::VarAt(1, 1)}, {Target::At(2, 1), Opnd::VarAt(2, 0)},
        {Target::At(2, 2), Opnd::VarAt(2, 2)}}) {
    run(kKindInt, [&](ProgramWriter& w) { w.Assign(pair.first, MathOp::Assign, pair.second); });
  }
}

// Doubles take a short path while the variables turn out to be doubles held in place; a target
// or operand of another kind, without storage or of several elements, NaN and infinities, and
// the operations that take no double must come out as the bit-by-bit reading has them.
TEST(DecodedRunTest, DoubleShortPathsAgreeWithTheReadingWhateverTheVariables) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const ShortPathTarget targets[] = {
      {kKindDouble, 1, 0, true}, {kKindDouble, 1, 0, false}, {kKindDouble, 2, 1, true},
      {kKindDouble, 1, 1, false}, {kKindInt, 1, 0, true},    {kKindUInt64, 1, 0, true},
      {kKindUInt32, 1, 0, true}};
  const ShortPathSource sources[] = {
      {Imm::Double(2.5), kKindInt, 1, {}},  {Imm::Double(nan), kKindInt, 1, {}},
      {Imm::Double(-inf), kKindInt, 1, {}}, {Imm::Double(-0.0), kKindInt, 1, {}},
      {Opnd::Var(2), kKindDouble, 1, Imm::Double(7.25)},
      {Opnd::Var(2), kKindDouble, 1, Imm::Double(inf)},
      {Opnd::Var(2), kKindDouble, 1, {}},
      {Opnd::Var(2), kKindDouble, 2, Imm::Double(7.25)},
      {Opnd::Var(2), kKindInt, 1, Imm::Int(-7)}};
  const Operand numbers[] = {Imm::Double(0.0), Imm::Double(1000.5), Imm::Double(nan)};
  for (const ShortPathTarget& t : targets) {
    EveryOperationAgrees(t, Imm::Double(1000.5), sources);
    // Variable 1 holding each immediate in turn, compared with a double.
    for (const ShortPathSource& source : sources) {
      if (source.operand.form == Operand::Form::Immediate) {
        EveryRelationAgrees(t, Imm::Double(1000.5), source.operand, numbers);
      }
    }
  }
}

// The same statements meet a double variable 1 and then, in a scope opened between turns, an
// int variable 1: they must leave the short path for it, and take it again for the double.
TEST(DecodedRunTest, DoubleShortPathsFollowAVariableThatIsAnIntOnOtherTurns) {
  ProgramWriter w;
  const Label top = w.NewLabel(), end = w.NewLabel();
  w.OpenScope().Declare(kKindDouble, 1).Declare(kKindInt, 2).Bind(top);
  w.Assign(Target(1), MathOp::Add, Imm::Double(2.75)).Assign(Target(2), MathOp::Add, Imm::Int(1));
  w.JumpUnless(Relation::GreaterEqual, Opnd::Var(1), Imm::Double(4.0), top);
  w.JumpUnless(Relation::Equal, Opnd::Var(2), Imm::Int(2), end);
  w.OpenScope().Declare(kKindInt, 1).JumpUnless(Relation::Always6, Imm::Int(0), Imm::Int(0), top);
  w.Bind(end).CloseScopesAndJump(1, Offset{0}).Assign(Target(1), MathOp::Add, Imm::Double(2.75));
  w.CloseScope();
  const auto outcome = BothWays([&] {
    Value real = Typed(kKindDouble), turns = Int(0);
    const bool ended = RunProgram(w, {&real, &turns});
    return std::tuple(ended, real.GetDouble(0), IntOf(turns));
  });
  EXPECT_EQ(outcome, std::tuple(true, 8.25, 4));
}

}  // namespace
