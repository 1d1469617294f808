#include "programwriter/ProgramWriter.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using namespace testprog;

namespace {

// Expects the writer's plain bits to be these fields, and nothing more. A field is
// "width:value" (value decimal or 0x hex), "s" a skip bit 0, "vN" a variable-width number N
// below 256 (width code 0, then 8 bits). Bit k is bit k mod 8 of byte k div 8, and a field's
// least significant bit comes first.
void ExpectFields(const ProgramWriter& w, const std::string& fields) {
  const std::vector<uint8_t> bytes = w.Plain();
  uint64_t pos = 0;
  auto expect = [&](unsigned width, uint64_t value) {
    uint64_t v = 0;
    for (unsigned i = 0; i < width; ++i, ++pos) v |= static_cast<uint64_t>((bytes.at(pos / 8) >> (pos % 8)) & 1) << i;
    EXPECT_EQ(v, value) << "field ending at bit " << pos << " of " << fields.substr(0, 80);
  };
  std::istringstream in(fields);
  for (std::string f; in >> f;) {
    if (f[0] == 'v') { expect(3, 0); f = "8:" + f.substr(1); }
    if (f == "s") f = "1:0";
    expect(static_cast<unsigned>(std::stoul(f)), std::stoull(f.substr(f.find(':') + 1), nullptr, 0));
  }
  EXPECT_EQ(w.Position(), pos);
}

}  // namespace

// A variable-width number takes the smallest width code that holds it, or the forced one.
TEST(ProgramWriterTest, WidthCodes) {
  const struct { VarNum n; const char* fields; } cases[] = {
      {0, "3:0 8:0"}, {255, "3:0 8:255"}, {256, "3:1 12:256"}, {4096, "3:2 16:4096"}, {65536, "3:3 24:65536"},
      {1u << 24, "3:4 32:0x1000000"}, {0xFFFFFFFFull, "3:4 32:0xFFFFFFFF"}, {1ull << 32, "3:5 48:0x100000000"},
      {1ull << 48, "3:6 56:0x1000000000000"}, {1ull << 56, "3:7 63:0x100000000000000"},
      {(1ull << 63) - 1, "3:7 63:0x7FFFFFFFFFFFFFFF"}, {Forced(1, 7), "3:7 63:1"}, {Forced(300, 3), "3:3 24:300"},
  };
  for (const auto& c : cases) ExpectFields(ProgramWriter().VarWidth(c.n), c.fields);
}

TEST(ProgramWriterTest, StatementsEncodeTheirFieldsInOrder) {
  ExpectFields(ProgramWriter().CloseScope(), "4:1 1:0");
  ExpectFields(ProgramWriter().CloseScopeAndJump(Offset{-7}), "4:1 1:1 32:0xFFFFFFF9");
  ExpectFields(ProgramWriter().Declare(kKindDouble, 9), "4:3 3:2 s v9 1:0");
  ExpectFields(ProgramWriter().Declare(kKindUInt64, 300, 5), "4:3 3:4 s 3:1 12:300 1:1 s v5");
  ExpectFields(ProgramWriter().SetStatementSkipBit(true).Declare(kKindInt, 1, 2), "4:3 3:1 1:1 v1 1:1 1:1 v2");
  ExpectFields(ProgramWriter().Assign(Target(1), MathOp::Add, Imm::Int(-2)), "4:2 s s v1 1:0 4:3 1:1 3:1 32:0xFFFFFFFE");
  ExpectFields(ProgramWriter().Assign(Target::At(1, 2), MathOp::Assign, Opnd::VarAt(3, 4)),
               "4:2 s s v1 1:1 1:1 s v2 4:11 1:0 s v3 1:1 1:1 s v4");
  ExpectFields(ProgramWriter().Assign(Target::AtVar(1, 2), MathOp::Xor, Opnd::VarAtVar(3, 4)),
               "4:2 s s v1 1:1 1:0 s v2 4:8 1:0 s v3 1:1 1:0 s v4");
  ExpectFields(ProgramWriter().Assign(Target(1), MathOp::Assign, Imm::String("ab")), "4:2 s s v1 1:0 4:11 1:1 3:0 8:97 8:98 8:0");
  // An unterminated text takes exactly its bytes; the empty text is a lone 0 byte.
  ExpectFields(ProgramWriter().WriteOperand(Imm::StringUnterminated("xy")).WriteOperand(Imm::String("")),
               "1:1 3:0 8:120 8:121 1:1 3:0 8:0");
  ExpectFields(ProgramWriter().JumpUnless(Relation::LessEqual, Opnd::Var(7), Imm::Double(1.5), Offset{3}, 5),
               "4:5 3:4 1:0 s v7 1:0 1:1 3:2 64:0x3FF8000000000000 32:3");
  ExpectFields(ProgramWriter().JumpUnless(Relation::Always7, Imm::UInt32(0x80000000u), Imm::UInt64(1ull << 40), Offset{0}),
               "4:4 3:7 1:1 3:5 32:0x80000000 1:1 3:4 64:0x10000000000 32:0");
  ExpectFields(ProgramWriter().CloseScopesAndJump(Forced(1, 7), Offset{-1}, 10), "4:10 s 3:7 63:1 32:0xFFFFFFFF");
  ExpectFields(ProgramWriter().CallRoutineAtBit(1234, {5, 6}), "4:6 64:1234 s v2 s v5 s v6 1:0");
  ExpectFields(ProgramWriter().CallRoutineAtBit(0, {}, 9), "4:6 64:0 s v0 1:1 s v9");
  ExpectFields(ProgramWriter().CallNative(15, {2, 2}), "4:7 s v15 s v2 s v2 s v2");
}
