#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <limits>
#include <string>

#include "program_harness.h"

using namespace testprog;
using namespace program_test;

namespace {

using Body = std::function<void(ProgramWriter&)>;

bool Runs(const Body& build) {
  ProgramWriter w;
  build(w);
  return BothWays([&] { return RunProgram(w); });
}

TEST(RunLoopTest, WhereRunsEndAndFail) {
  for (uint32_t opcode : {8u, 11u, 12u, 13u, 14u, 15u}) {
    EXPECT_FALSE(Runs([=](ProgramWriter& w) { w.OpenScope().RawOpcode(opcode); })) << opcode;
  }
  EXPECT_FALSE(Runs([](ProgramWriter& w) { w.CloseScope(); }));          // no scope open
  EXPECT_FALSE(Runs([](ProgramWriter& w) { w.Declare(kKindInt, 1); }));  // no scope open
  EXPECT_FALSE(Runs([](ProgramWriter& w) { w.OpenScope().Declare(kKindInt, 0); }));
  // The bits after the outermost scope's close are never read.
  EXPECT_TRUE(Runs(
      [](ProgramWriter& w) { w.OpenScope().Declare(kKindInt, 1, 0).CloseScope().RawOpcode(8); }));
  // Opcodes 0, 0, 1 with a jump, 8 take 49 bits of a 56-bit program. A jump past the end,
  // onto it or below bit 0 (wrapping past the end) ends the run; one bit short of the end
  // leaves no room for an opcode; offset 0 goes on with the opcode 8.
  for (const auto& [offset, ok] :
       {std::pair{-100000, true}, {0x7FFFFFFF, true}, {11, true}, {10, false}, {0, false}}) {
    ProgramWriter jump;
    jump.OpenScope().OpenScope().CloseScopeAndJump(Offset{offset}).RawOpcode(8);
    EXPECT_EQ(RunProgram(jump), ok) << offset;
  }
  ProgramWriter w;
  w.OpenScope().OpenScope().Declare(kKindInt, 1);
  Program p = Program::Exact(w);
  EXPECT_FALSE(p.Run({}, w.Position()));
  EXPECT_TRUE(p.Run());              // runs off the end with its scopes open...
  EXPECT_TRUE(p.Run());              // ...which the next run starts without
  EXPECT_EQ(p.context.ScopeDepth(), 2u);
}

// A scope starts with 100 slots and grows when a declaration finds them full.
TEST(ScopeTest, GrowthTo150Then225) {
  ProgramWriter grow;
  grow.OpenScope().Declare(kKindInt, 1).Assign(Target(1), MathOp::Assign, Imm::Int(42));
  uint64_t next = 2;
  for (const auto& [declared, slots] : {std::pair<uint64_t, size_t>{100, 100}, {101, 150},
                                        {150, 150}, {151, 225}, {226, 336}}) {
    while (next <= declared) grow.Declare(kKindInt, next++);
    Program g = Program::Exact(grow);
    ASSERT_TRUE(g.Run());
    EXPECT_EQ(g.context.scopeValues[0].size(), slots) << declared;
    EXPECT_EQ(g.context.scopeIndex[0].size(), slots) << declared;
    EXPECT_EQ(IntOf(*g.context.FindValue(1)), 42);
    EXPECT_NE(g.context.FindValue(declared), nullptr);
  }
}

TEST(ScopeTest, CallerValuesBindByPositionAndReturnOnClosingTheOutermostScope) {
  // Seven int caller Values i; the program declares the first `declared` of them (a double at
  // `otherAt`), adds 100 to each int and closes its scope.
  const auto run = [](size_t declared, size_t otherAt) {
    ProgramWriter w;
    w.OpenScope();
    for (size_t i = 0; i < declared; ++i) {
      w.Declare(i == otherAt ? kKindDouble : kKindInt, 10 + i);
      if (i != otherAt) w.Assign(Target(10 + i), MathOp::Add, Imm::Int(100));
    }
    return RunInts(w.CloseScope(), {0, 1, 2, 3, 4, 5, 6});
  };
  using Ints = std::vector<int32_t>;
  EXPECT_EQ(run(7, 7), std::pair(true, Ints{100, 101, 102, 103, 104, 105, 106}));
  EXPECT_EQ(run(6, 7), std::pair(false, Ints{100, 101, 102, 103, 104, 105, 6}));  // copies six, then fails
  EXPECT_EQ(run(7, 3), std::pair(false, Ints{100, 101, 102, 3, 4, 5, 6}));  // unbound, fails at its position
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

// Assignments and conditional jumps, each checked through the int result variable 1 that the
// program hands back. The other variables: 2 int[4] = 10,20,30,40; 3 uint64 2^32 + 2;
// 4 string "2"; 5 barray; 6 double whose low 32 bits are 1; 7 int never assigned; 8 int[0].
constexpr int32_t kFails = std::numeric_limits<int32_t>::min();

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
  w.CloseScope();
  const auto [ended, ints] = RunInts(w, {0});
  return ended ? ints[0] : kFails;
}

Body Put(const Target& target, const Operand& operand, MathOp op = MathOp::Assign) {
  return [=](ProgramWriter& w) { w.Assign(target, op, operand); };
}
Body Set(const Operand& operand, MathOp op = MathOp::Assign) { return Put(Target(1), operand, op); }
Body operator+(const Body& a, const Body& b) {
  return [=](ProgramWriter& w) { a(w), b(w); };
}
// Sets an element of variable 2 to 9, then reads element `readBack` into the result.
Body SetElement(const Target& target, uint32_t readBack) {
  return Put(target, Imm::Int(9)) + Set(Opnd::VarAt(2, readBack));
}

TEST(AssignmentTest, OperandsTargetElementsAndJumps) {
  const Body declare2 = [](ProgramWriter& w) { w.Declare(kKindInt, 2); };
  const Body inner2 = [](ProgramWriter& w) { w.OpenScope().Declare(kKindInt, 2); };
  const Body close = [](ProgramWriter& w) { w.CloseScope(); };
  const Body countTo10 = [](ProgramWriter& w) {  // a conditional jump back
    const Label top = w.Here();
    w.Assign(Target(1), MathOp::Add, Imm::Int(1));
    w.JumpUnless(Relation::GreaterEqual, Opnd::Var(1), Imm::Int(10), top);
  };
  const Body offset0 = [](ProgramWriter& w) {  // goes on with the next statement
    w.JumpUnless(Relation::Equal, Imm::Int(1), Imm::Int(2), Offset{0});
  };
  const std::pair<Body, int32_t> cases[] = {
      {Set(Imm::Int(5), MathOp::Add), 5}, {Set(Imm::Int(21)) + Set(Opnd::Var(1), MathOp::Add), 42},
      {Put(Target(99), Imm::Int(1)), kFails},  // no such target
      // Operand elements: the last, one past it, several without an index; by index variable.
      {Set(Opnd::VarAt(2, 3)), 40}, {Set(Opnd::VarAt(2, 4)), kFails}, {Set(Opnd::Var(2)), kFails},
      {Set(Opnd::VarAtVar(2, 3)), 30}, {Set(Opnd::VarAtVar(2, 5)), kFails},
      {Set(Opnd::VarAtVar(2, 99)), kFails}, {Set(Opnd::Var(99)), kFails},
      {Set(Opnd::VarAt(4, 1)), kFails},  // past the texts; but a string target grows:
      {Put(Target::At(4, 3), Imm::String("77")) + Set(Opnd::VarAt(4, 3)), 77},
      // A later 2 in the same scope hides the earlier one; the inner 2 hides the outer one
      // until its scope closes.
      {declare2 + Set(Imm::Int(7)) + Set(Opnd::Var(2), MathOp::Add), 7},
      {inner2 + Put(Target(2), Imm::Int(5)) + Set(Opnd::Var(2)) + close +
           Set(Opnd::VarAt(2, 1), MathOp::Add), 25},
      // No byte-array immediate, no kind 7; an operation that the Value refuses.
      {Set(Imm::RawKind(3)), kFails}, {Set(Imm::RawKind(7)), kFails},
      {Set(Imm::Int(1), MathOp::None), kFails},
      // Target elements: the last, one past it; indexes from 2^32 + 2 (2), from a double's low
      // 32 bits (1), from a text, from no variable.
      {SetElement(Target::At(2, 3), 3), 9}, {SetElement(Target::At(2, 4), 0), kFails},
      {SetElement(Target::AtVar(2, 3), 2), 9}, {SetElement(Target::AtVar(2, 6), 1), 9},
      {SetElement(Target::AtVar(2, 4), 0), kFails}, {SetElement(Target::AtVar(2, 99), 0), kFails},
      {countTo10, 10}, {offset0 + Set(Imm::Int(1)), 1},
  };
  for (const auto& [body, expected] : cases) {
    EXPECT_EQ(Outcome(body), expected) << "case " << &body - &cases[0].first;
  }
}

// An assignment of a number converts it as AssignValue does, from an immediate and from a
// variable, whatever pair of number kinds meets.
TEST(AssignmentTest, NumbersConvertAsAssignValueConvertsThem) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Operand sources[] = {Imm::Int(-7),     Imm::UInt32(0xFFFFFFFFu),
                             Imm::UInt64((1ull << 63) + 5), Imm::Double(-1.5),
                             Imm::Double(3e10), Imm::Double(nan)};
  for (const int32_t kind : {kKindInt, kKindUInt32, kKindUInt64, kKindDouble}) {
    for (const Operand& source : sources) {
      Value immediate = Typed(source.kind), expected = Typed(kind);
      immediate.SetUInt64(0, source.payload);
      immediate.SetInt32(0, static_cast<uint32_t>(source.payload));
      ASSERT_TRUE(expected.AssignValue(immediate, nullptr, false, 0, 0));
      for (const bool viaVariable : {false, true}) {
        ProgramWriter w;
        w.OpenScope().Declare(kind, 1).Declare(source.kind, 2).Assign(Target(2), MathOp::Assign, source);
        w.Assign(Target(1), MathOp::Assign, viaVariable ? Opnd::Var(2) : source).CloseScope();
        const std::string got = BothWays([&] {
          Value result = Typed(kind);
          EXPECT_TRUE(RunProgram(w, {&result}));
          return ElementText(result, 0);
        });
        EXPECT_EQ(got, ElementText(expected, 0)) << kind << " from " << source.kind << " via " << viaVariable;
      }
    }
  }
}

TEST(AssignmentTest, StringImmediatesEndAtTheirZeroByteOrAfter2048Bytes) {
  const std::pair<Operand, std::string> cases[] = {
      {Imm::String("abc"), "abc"}, {Imm::String(""), ""},
      {Imm::String(std::string(2047, 'p')), std::string(2047, 'p')},
      {Imm::StringUnterminated(std::string(2048, 'q')), std::string(2047, 'q')}};
  for (const auto& [text, expected] : cases) {
    ProgramWriter w;  // the int assigned next shows that its fields start right after the text
    w.OpenScope().Declare(kKindString, 1).Declare(kKindInt, 2);
    w.Assign(Target(1), MathOp::Assign, text).Assign(Target(2), MathOp::Assign, Imm::Int(-3));
    Value out = Typed(kKindString), number = Int(0);
    EXPECT_TRUE(RunProgram(w.CloseScope(), {&out, &number}));
    EXPECT_EQ(out.GetText(0), expected);
    EXPECT_EQ(IntOf(number), -3);
  }
  ProgramWriter cut;  // a text that the program's end cuts off
  cut.OpenScope().Declare(kKindString, 1).Assign(Target(1), MathOp::Assign, Imm::StringUnterminated("xyz"));
  EXPECT_FALSE(Program::Exact(cut).Run());
}

// A growing scope hands each variable on as its copy: a string keeps exactly its count of
// texts, so a text stored past the count is gone afterwards; elements below it stay.
TEST(ScopeTest, GrowingAScopeDropsTextsPastAStringsCount) {
  const auto declaring = [](uint64_t more) -> Body {  // the scope holds 8 before: 100 fit
    return [=](ProgramWriter& w) {
      for (uint64_t id = 10; id < 10 + more; ++id) w.Declare(kKindInt, id);
    };
  };
  const Body past = Put(Target::At(4, 3), Imm::String("33")), plus40 = Set(Opnd::VarAt(2, 3), MathOp::Add);
  EXPECT_EQ(Outcome(past + declaring(92) + Set(Opnd::VarAt(4, 3)) + plus40), 73);
  EXPECT_EQ(Outcome(past + declaring(93) + Set(Opnd::VarAt(4, 3)) + plus40), kFails);
  EXPECT_EQ(Outcome(past + declaring(93) + Set(Opnd::Var(4)) + plus40), 42);
}

// A string may hold a text at every 32-bit index, the last one included.
TEST(AssignmentTest, TheLastTextIndexCanBeWrittenAndRead) {
  for (const uint32_t index : {0xFFFFFFFEu, 0xFFFFFFFFu}) {
    EXPECT_EQ(Outcome(Put(Target::At(4, index), Imm::String("42")) + Set(Opnd::VarAt(4, index))), 42)
        << index;
  }
}

// What relations 0 to 7 (<, >, ==, !=, <=, >=, and the two that never hold) give: 1 holds, so
// the assignment after the jump runs; 0 jumps over it; "F": the run fails, whatever the relation.
const std::string kLess = "10011000", kEqual = "00101100", kGreater = "01010100",
                  kUnordered = "00010000", kRefused = "F";

TEST(ConditionalJumpTest, EachPairOfKindsComparesInItsDomain) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const uint32_t two31 = 0x80000000u;
  const uint64_t two63 = uint64_t{1} << 63;
  const struct { Operand a, b; std::string holds; } cases[] = {
      // int against int, uint32 (signed 32-bit), uint64 (sign-extended), double.
      {Imm::Int(3), Imm::Int(3), kEqual}, {Imm::Int(-1), Imm::Int(3), kLess},
      {Imm::Int(-1), Imm::UInt32(0), kLess}, {Imm::Int(-1), Imm::UInt64(0), kGreater},
      // uint32 against int and uint32 (signed 32-bit), uint64 (zero-extended), double (unsigned).
      {Imm::UInt32(two31), Imm::Int(0), kLess}, {Imm::UInt32(two31), Imm::UInt32(1), kLess},
      {Imm::UInt32(two31), Imm::UInt64(two31), kEqual},
      {Imm::UInt32(two31), Imm::Double(0), kGreater},
      // uint64 against int (B sign-extended), uint32 (low 32 bits, signed), uint64, double.
      {Imm::UInt64(5), Imm::Int(-1), kLess}, {Opnd::Var(3), Imm::UInt32(2), kEqual},
      {Imm::UInt64(two31), Imm::UInt32(1), kLess}, {Imm::UInt64(two63), Imm::UInt64(1), kGreater},
      {Imm::UInt64(two63 + 1025), Imm::Double(9223372036854775808.0), kEqual},
      // double against uint32: truncated, NaN and out of range are INT32_MIN.
      {Imm::Double(3.9), Imm::UInt32(3), kEqual}, {Imm::Double(-0.5), Imm::UInt32(0), kEqual},
      {Imm::Double(nan), Imm::UInt32(0), kLess}, {Imm::Double(3e9), Imm::UInt32(two31), kEqual},
      {Imm::Double(1.0), Imm::UInt64(~0ull), kLess}, {Imm::Double(nan), Imm::Double(1), kUnordered},
      {Imm::Double(nan), Imm::Int(1), kUnordered}, {Imm::Double(nan), Imm::UInt64(1), kUnordered},
      // Never assigned; element 0 of several; elements by index and by converted text; count 0.
      {Opnd::Var(7), Imm::Int(0), kEqual}, {Opnd::Var(2), Imm::Int(10), kEqual},
      {Opnd::VarAt(2, 2), Imm::Int(30), kEqual}, {Opnd::VarAtVar(2, 4), Imm::Int(30), kEqual},
      {Opnd::Var(8), Imm::Int(0), kEqual},
      {Imm::String("1"), Imm::Int(1), kRefused}, {Imm::Int(1), Opnd::Var(5), kRefused},
      {Imm::Int(1), Opnd::Var(99), kRefused},
  };
  for (const auto& c : cases) {
    for (uint32_t r = 0; r < 16; ++r) {  // relations 0 to 7, by opcode 4 and by opcode 5
      const Body jump = [&](ProgramWriter& w) {
        const Label skip = w.NewLabel();
        w.JumpUnless(static_cast<Relation>(r % 8), c.a, c.b, skip, 4 + r / 8);
        w.Assign(Target(1), MathOp::Assign, Imm::Int(1)).Bind(skip);
      };
      EXPECT_EQ(Outcome(jump), c.holds == kRefused ? kFails : c.holds[r % 8] - '0')
          << "case " << &c - cases << " relation " << r % 8 << " opcode " << 4 + r / 8;
    }
  }
}

}  // namespace
