#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <limits>
#include <string>

#include "program_harness.h"

using namespace testprog;
using namespace program_test;

namespace {

TEST(RunLoopTest, StatementsThatEndOrFailTheRun) {
  const std::function<void(ProgramWriter&)> programs[] = {
      [](ProgramWriter& w) { w.CloseScope(); },          // no scope open
      [](ProgramWriter& w) { w.Declare(kKindInt, 1); },  // no scope open
      [](ProgramWriter& w) { w.OpenScope().Declare(kKindInt, 0); },
      [](ProgramWriter& w) { w.OpenScope().RawOpcode(8); },
      [](ProgramWriter& w) { w.OpenScope().RawOpcode(11); },
      [](ProgramWriter& w) { w.OpenScope().RawOpcode(15); },
      [](ProgramWriter& w) { w.OpenScope().Assign(Target(4), MathOp::Assign, Imm::Int(1)); },
  };
  for (const auto& build : programs) {
    ProgramWriter w;
    build(w);
    EXPECT_FALSE(RunProgram(w)) << &build - programs;
  }
  ProgramWriter closed;  // the bits after the outermost scope's close are never read
  closed.OpenScope().Declare(kKindInt, 1, 0).CloseScope().RawOpcode(8);
  EXPECT_TRUE(RunProgram(closed));
}

TEST(RunLoopTest, StartBitEndAndLeftoverBits) {
  ProgramWriter w;
  w.OpenScope().OpenScope().Declare(kKindInt, 1);
  const uint64_t end = w.Position();
  Program p(w, end);
  EXPECT_FALSE(p.Run({}, end));
  EXPECT_FALSE(p.Run({}, end - 3));  // no room for an opcode
  EXPECT_TRUE(p.Run());              // runs off the end with its scopes open...
  EXPECT_EQ(p.context.ScopeDepth(), 2u);
  EXPECT_TRUE(p.Run());  // ...which the next run starts without
  EXPECT_EQ(p.context.ScopeDepth(), 2u);
  EXPECT_FALSE(Program(w, end + 3).Run());  // three bits left over: no opcode fits
}

TEST(ScopeTest, LookupByIdInnermostFirstAndLastDeclaredWins) {
  ProgramWriter w;
  w.OpenScope().Declare(kKindInt, 9).Declare(kKindUInt64, 3).Declare(kKindDouble, 7);
  w.Declare(kKindInt, 3, 4).OpenScope().Declare(kKindInt, 9);
  Program p = Program::Exact(w);
  ASSERT_TRUE(p.Run());
  const std::vector<int32_t>& index = p.context.scopeIndex[0];
  EXPECT_EQ(std::vector<int32_t>(index.begin(), index.begin() + 4),
            (std::vector<int32_t>{1, 3, 2, 0}));  // equal ids in declaration order
  // Id 3 is declared twice in the outer scope: the later declaration is found.
  EXPECT_EQ(p.context.FindValue(3), &p.context.scopeValues[0][3]);
  EXPECT_EQ(p.context.FindValue(7), &p.context.scopeValues[0][2]);
  EXPECT_EQ(p.context.FindValue(9), &p.context.scopeValues[1][0]);  // the inner one hides
  EXPECT_EQ(p.context.FindValue(5), nullptr);
  EXPECT_EQ(p.context.FindValue(0), nullptr);
}

TEST(ScopeTest, GrowsTo150Then225Then336MovingItsValues) {
  ProgramWriter w;
  w.OpenScope().Declare(kKindInt, 1).Assign(Target(1), MathOp::Assign, Imm::Int(42));
  std::vector<std::pair<uint64_t, size_t>> ends;  // after declaration 100, 101, 151, 226
  for (uint64_t id = 2; id <= 226; ++id) {
    w.Declare(kKindInt, id);
    if (id == 100 || id == 101 || id == 151 || id == 226) {
      ends.emplace_back(w.Position(), id <= 100 ? 100 : id <= 150 ? 150 : id <= 225 ? 225 : 336);
    }
  }
  Program first(w, ends[0].first);
  ASSERT_TRUE(first.Run());
  const void* storage = first.context.FindValue(1)->GetData();
  first.context.bitLength = w.Position();
  uint64_t pos = ends[0].first + 4;  // one more declaration grows the scope
  ASSERT_TRUE(first.context.DeclareVariable(pos));
  EXPECT_EQ(first.context.FindValue(1)->GetData(), storage);  // moved along, not copied
  for (const auto& [end, slots] : ends) {
    Program p(w, end);
    ASSERT_TRUE(p.Run());
    EXPECT_EQ(p.context.scopeValues[0].size(), slots);
    EXPECT_EQ(p.context.scopeIndex[0].size(), slots);
    EXPECT_EQ(IntOf(*p.context.FindValue(1)), 42);
    EXPECT_NE(p.context.FindValue(100), nullptr);
  }
}

TEST(ScopeTest, CallerValuesBindByPositionAndReturnOnClosingTheOutermostScope) {
  // Seven caller Values; the program declares the first `declared` of them, one perhaps with
  // another kind, adds 100 to each int, and closes its outermost scope.
  const auto run = [](size_t declared, int otherKindAt, bool ok, std::vector<int32_t> expected) {
    std::vector<Value> values;
    std::vector<Value*> args;
    for (int32_t i = 0; i < 7; ++i) values.push_back(i == 2 ? Typed(kKindUInt64) : Int(i));
    for (Value& v : values) args.push_back(&v);
    ProgramWriter w;
    w.OpenScope();
    for (size_t i = 0; i < declared; ++i) {
      const bool other = static_cast<int>(i) == otherKindAt;
      w.Declare(other ? kKindDouble : values[i].kind, 10 + i);
      if (values[i].kind == kKindInt && !other) {
        w.Assign(Target(10 + i), MathOp::Add, Imm::Int(100));
      }
    }
    EXPECT_EQ(RunProgram(w.CloseScope(), args), ok);
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(IntOf(values[i]), expected[i]) << i;
  };
  run(7, -1, true, {100, 101, 0, 103, 104, 105, 106});
  run(6, -1, false, {100, 101, 0, 103, 104, 105, 6});  // copies six, then fails
  run(7, 3, false, {100, 101, 0, 3, 4, 5, 6});         // unbound, fails at its position
}

TEST(JumpTest, CloseScopesAndJumpClosesOnlyACountThatFits) {
  const std::pair<VarNum, size_t> cases[] = {
      {0, 3}, {1, 2}, {3, 0}, {4, 3}, {(uint64_t{1} << 32) | 1, 2}, {0xFFFFFFFF, 3}};
  for (uint32_t opcode : {9u, 10u}) {
    for (const auto& [n, depth] : cases) {
      ProgramWriter w;
      const Label next = w.NewLabel();
      w.OpenScope().OpenScope().OpenScope().CloseScopesAndJump(n, next, opcode).RawOpcode(8);
      w.Bind(next).Declare(kKindInt, 1);  // the run goes on, with no scope open after N = 3
      Program p = Program::Exact(w);
      EXPECT_EQ(p.Run(), depth > 0) << n.value;
      EXPECT_EQ(p.context.ScopeDepth(), depth) << n.value << " opcode " << opcode;
    }
  }
}

TEST(JumpTest, CloseScopeJumpsOntoOrPastTheEndEndTheRun) {
  for (const Jump& to : {Jump(Offset{-100000}), Jump(Offset{0x7FFFFFFF}), Jump(Offset{0})}) {
    ProgramWriter w;
    w.OpenScope().OpenScope().CloseScopeAndJump(to).RawOpcode(8);
    EXPECT_EQ(RunProgram(w), to.raw != 0) << to.raw;  // offset 0: the next statement
  }
  ProgramWriter onEnd;
  const Label end = onEnd.NewLabel();
  onEnd.OpenScope().OpenScope().CloseScopeAndJump(end).RawOpcode(8).AlignToByte().Bind(end);
  EXPECT_TRUE(RunProgram(onEnd));
}

// Assignments and conditional jumps, each checked through the int result variable 1 that the
// program hands back. The other variables: 2 int[4] = 10,20,30,40; 3 uint64 2^32 + 2;
// 4 string "2"; 5 barray; 6 double whose low 32 bits are 1; 7 int never assigned; 8 int[0].
constexpr int32_t kFails = std::numeric_limits<int32_t>::min();
using Body = std::function<void(ProgramWriter&)>;

int32_t Outcome(const Body& body) {
  ProgramWriter w;
  w.OpenScope().Declare(kKindInt, 1).Declare(kKindInt, 2, 4);
  for (int32_t i = 0; i < 4; ++i) w.Assign(Target::At(2, i), MathOp::Assign, Imm::Int(10 + 10 * i));
  w.Declare(kKindUInt64, 3).Assign(Target(3), MathOp::Assign, Imm::UInt64((1ull << 32) + 2));
  w.Declare(kKindString, 4).Assign(Target(4), MathOp::Assign, Imm::String("2"));
  w.Declare(kKindBarray, 5).Declare(kKindDouble, 6);
  w.Assign(Target(6), MathOp::Assign, Imm::Double(std::bit_cast<double>(uint64_t{1})));
  w.Declare(kKindInt, 7).Declare(kKindInt, 8, 0);
  body(w);
  Value result = Int(0);
  return RunProgram(w.CloseScope(), {&result}) ? IntOf(result) : kFails;
}

Body Set(const Operand& operand, MathOp op = MathOp::Assign) {
  return [=](ProgramWriter& w) { w.Assign(Target(1), op, operand); };
}

// Sets an element of variable 2 to 9, then reads element `readBack` into the result.
Body SetElement(const Target& target, uint32_t readBack) {
  return [=](ProgramWriter& w) {
    w.Assign(target, MathOp::Assign, Imm::Int(9));
    w.Assign(Target(1), MathOp::Assign, Opnd::VarAt(2, readBack));
  };
}

TEST(AssignmentTest, OperandsAndTargetElements) {
  const std::pair<Body, int32_t> cases[] = {
      {Set(Imm::Int(5), MathOp::Add), 5},
      {[](ProgramWriter& w) { Set(Imm::Int(21))(w), Set(Opnd::Var(1), MathOp::Add)(w); }, 42},
      {Set(Opnd::VarAt(2, 3)), 40},
      {Set(Opnd::VarAt(2, 4)), kFails},
      {Set(Opnd::Var(2)), kFails},  // several elements, no index
      {Set(Opnd::VarAtVar(2, 3)), 30},
      {Set(Opnd::VarAtVar(2, 4)), 30},  // the text "2" converted
      {Set(Opnd::VarAtVar(2, 5)), kFails},
      {Set(Opnd::VarAtVar(2, 99)), kFails},
      {Set(Opnd::Var(99)), kFails},
      {Set(Opnd::VarAt(4, 1)), kFails},  // past the texts
      {[](ProgramWriter& w) {
         w.Assign(Target::At(4, 3), MathOp::Assign, Imm::String("77"));  // a string grows
         Set(Opnd::VarAt(4, 3))(w);
       },
       77},
      {[](ProgramWriter& w) {
         w.OpenScope().Declare(kKindInt, 2).Assign(Target(2), MathOp::Assign, Imm::Int(5));
         Set(Opnd::Var(2))(w);  // the inner 2 hides the outer one
         w.CloseScope();
         Set(Opnd::VarAt(2, 1), MathOp::Add)(w);
       },
       25},
      {Set(Imm::RawKind(3)), kFails},  // no byte-array immediate
      {Set(Imm::RawKind(7)), kFails},
      {Set(Imm::Int(1), MathOp::None), kFails},
      {Set(Imm::Int(1), static_cast<MathOp>(15)), kFails},
      {SetElement(Target::At(2, 3), 3), 9},
      {SetElement(Target::At(2, 4), 0), kFails},
      {SetElement(Target::AtVar(2, 3), 2), 9},  // 2^32 + 2 gives 2
      {SetElement(Target::AtVar(2, 6), 1), 9},  // a double's low 32 bits
      {SetElement(Target::AtVar(2, 4), 0), kFails},
      {SetElement(Target::AtVar(2, 5), 0), kFails},
      {SetElement(Target::AtVar(2, 99), 0), kFails},
  };
  for (const auto& [body, expected] : cases) {
    EXPECT_EQ(Outcome(body), expected) << "case " << &body - &cases[0].first;
  }
}

TEST(AssignmentTest, StringImmediatesEndAtTheirZeroByteOrAfter2048Bytes) {
  const std::pair<Operand, std::string> cases[] = {
      {Imm::String("abc"), "abc"},
      {Imm::String(""), ""},
      {Imm::String(std::string(2047, 'p')), std::string(2047, 'p')},
      {Imm::StringUnterminated(std::string(2048, 'q')), std::string(2047, 'q')},
  };
  for (const auto& [text, expected] : cases) {
    // The int assigned next shows that its fields start right after the text.
    ProgramWriter w;
    w.OpenScope().Declare(kKindString, 1).Declare(kKindInt, 2);
    w.Assign(Target(1), MathOp::Assign, text).Assign(Target(2), MathOp::Assign, Imm::Int(-3));
    Value out = Typed(kKindString);
    Value number = Int(0);
    EXPECT_TRUE(RunProgram(w.CloseScope(), {&out, &number}));
    EXPECT_EQ(out.GetText(0), expected);
    EXPECT_EQ(IntOf(number), -3);
  }
  ProgramWriter cut;  // a text that the program's end cuts off
  cut.OpenScope().Declare(kKindString, 1);
  cut.Assign(Target(1), MathOp::Assign, Imm::StringUnterminated("xyz"));
  EXPECT_FALSE(Program::Exact(cut).Run());
}

// result := 1 unless the conditional jump over it is taken.
Body Compare(const Operand& a, Relation r, const Operand& b, uint32_t opcode) {
  return [=](ProgramWriter& w) {
    const Label skip = w.NewLabel();
    w.JumpUnless(r, a, b, skip, opcode).Assign(Target(1), MathOp::Assign, Imm::Int(1));
    w.Bind(skip);
  };
}

TEST(ConditionalJumpTest, EachPairOfKindsComparesInItsDomain) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const uint64_t two63 = uint64_t{1} << 63;
  const struct {
    Operand a;
    Relation r;
    Operand b;
    int32_t expected;  // 1 holds, 0 does not, or kFails
  } cases[] = {
      {Imm::UInt32(0x80000000u), Relation::Less, Imm::UInt32(1), 1},  // signed 32-bit
      {Imm::UInt32(0x80000000u), Relation::Less, Imm::UInt64(1), 0},  // zero-extended
      {Imm::UInt32(0x80000000u), Relation::Equal, Imm::UInt64(0x80000000u), 1},
      {Imm::Int(-1), Relation::Less, Imm::UInt64(0), 0},  // sign-extended
      {Imm::UInt64(5), Relation::Less, Imm::Int(-1), 1},
      {Opnd::Var(3), Relation::Equal, Imm::UInt32(2), 1},  // low 32 bits only
      {Imm::UInt64(0x80000000u), Relation::Less, Imm::UInt32(1), 1},
      {Imm::Double(3.9), Relation::Equal, Imm::UInt32(3), 1},  // truncated
      {Imm::Double(-0.5), Relation::Equal, Imm::UInt32(0), 1},
      {Imm::Double(nan), Relation::Less, Imm::UInt32(0), 1},  // INT32_MIN
      {Imm::Double(3e9), Relation::Equal, Imm::UInt32(0x80000000u), 1},
      {Imm::UInt32(0x80000000u), Relation::Greater, Imm::Double(0.0), 1},  // unsigned
      {Imm::UInt32(0x80000000u), Relation::Less, Imm::Int(0), 1},
      {Imm::Int(-1), Relation::Less, Imm::Double(-0.5), 1},
      {Imm::UInt64(two63 + 1025), Relation::Equal, Imm::Double(9223372036854775808.0), 1},
      {Imm::UInt64(~0ull), Relation::Equal, Imm::Double(18446744073709551616.0), 1},
      {Imm::Double(1.0), Relation::Less, Imm::UInt64(~0ull), 1},
      {Opnd::Var(7), Relation::Equal, Imm::Int(0), 1},   // never assigned
      {Opnd::Var(2), Relation::Equal, Imm::Int(10), 1},  // element 0 of several
      {Opnd::VarAt(2, 2), Relation::Equal, Imm::Int(30), 1},
      {Opnd::VarAtVar(2, 4), Relation::Equal, Imm::Int(30), 1},
      {Opnd::Var(8), Relation::Equal, Imm::Int(0), 1},  // count 0
      {Imm::Int(1), Relation::Always6, Imm::Int(1), 0},
      {Imm::Int(1), Relation::Always7, Imm::Int(1), 0},
      {Imm::String("1"), Relation::Equal, Imm::Int(1), kFails},
      {Imm::String(""), Relation::Always6, Imm::Int(1), kFails},
      {Imm::Int(1), Relation::Always7, Opnd::Var(5), kFails},
      {Imm::RawKind(3), Relation::Equal, Imm::Int(1), kFails},
      {Opnd::VarAt(2, 4), Relation::Equal, Imm::Int(1), kFails},
      {Opnd::VarAtVar(2, 5), Relation::Equal, Imm::Int(1), kFails},
      {Opnd::Var(99), Relation::Equal, Imm::Int(1), kFails},
  };
  for (const auto& c : cases) {
    for (uint32_t opcode : {4u, 5u}) {
      EXPECT_EQ(Outcome(Compare(c.a, c.r, c.b, opcode)), c.expected)
          << "case " << &c - cases << " opcode " << opcode;
    }
  }
}

TEST(ConditionalJumpTest, SixRelationsOnOrderedAndNaNPairs) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    Operand a, b;
    std::string holds;  // <, >, ==, !=, <=, >=
  } cases[] = {
      {Imm::Int(3), Imm::Int(3), "001011"},         {Imm::Int(2), Imm::Int(3), "100110"},
      {Imm::Double(nan), Imm::Double(1), "000100"}, {Imm::Double(nan), Imm::Int(1), "000100"},
      {Imm::Double(nan), Imm::UInt64(1), "000100"},
  };
  for (const auto& c : cases) {
    for (uint32_t r = 0; r < 6; ++r) {
      EXPECT_EQ(Outcome(Compare(c.a, static_cast<Relation>(r), c.b, 4)), c.holds[r] - '0')
          << "case " << &c - cases << " relation " << r;
    }
  }
}

TEST(ConditionalJumpTest, OffsetsLoopBackOrGoOn) {
  EXPECT_EQ(Outcome([](ProgramWriter& w) {  // count to 10
              const Label top = w.Here();
              w.Assign(Target(1), MathOp::Add, Imm::Int(1));
              w.JumpUnless(Relation::GreaterEqual, Opnd::Var(1), Imm::Int(10), top);
            }),
            10);
  EXPECT_EQ(Outcome([](ProgramWriter& w) {  // offset 0: on with the next statement
              w.JumpUnless(Relation::Equal, Imm::Int(1), Imm::Int(2), Offset{0});
              Set(Imm::Int(1))(w);
            }),
            1);
}

}  // namespace
