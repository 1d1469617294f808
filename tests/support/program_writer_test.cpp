#include "support/ProgramWriter.h"

#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <stdexcept>
#include <string>

#include "interpreter/MurmurHash3.h"

using namespace testprog;

namespace {

struct Field {
  uint64_t value;
  unsigned width;
};

// Reads bit k as bit k mod 8 of byte k div 8, fields least significant bit first.
class BitReader {
 public:
  explicit BitReader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
  uint64_t Read(unsigned n) {
    uint64_t v = 0;
    for (unsigned i = 0; i < n; ++i, ++pos_) {
      v |= static_cast<uint64_t>((bytes_.at(pos_ / 8) >> (pos_ % 8)) & 1) << i;
    }
    return v;
  }
  uint64_t pos() const { return pos_; }

 private:
  const std::vector<uint8_t>& bytes_;
  uint64_t pos_ = 0;
};

void ExpectFields(const ProgramWriter& w, const std::vector<Field>& expected) {
  const std::vector<uint8_t> bytes = w.Plain();
  BitReader r(bytes);
  uint64_t total = 0;
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(r.Read(expected[i].width), expected[i].value) << "field " << i;
    total += expected[i].width;
  }
  EXPECT_EQ(w.Position(), total);
}

const std::vector<uint8_t>& StreamOf(const ProgramKey& key) {
  return GetCachedKeyStream(key.data())->stream;
}

}  // namespace

TEST(ProgramWriterTest, BitsGoLeastSignificantFirstFromByteZero) {
  ProgramWriter w;
  w.Bits(5, 3).Flag(false).Flag(true).Bits(0xABC, 12);
  EXPECT_EQ(w.Plain(), (std::vector<uint8_t>{0x95, 0x57, 0x01}));
  EXPECT_EQ(w.Position(), 17u);
  EXPECT_EQ(w.FinishedBitLength(), 24u);
}

TEST(ProgramWriterTest, VarWidthTakesSmallestCodeOrForcedOne) {
  const struct {
    VarNum n;
    uint64_t code;
    unsigned width;
  } cases[] = {
      {0, 0, 8},
      {255, 0, 8},
      {256, 1, 12},
      {4096, 2, 16},
      {65536, 3, 24},
      {1u << 24, 4, 32},
      {0xFFFFFFFFull, 4, 32},
      {1ull << 32, 5, 48},
      {1ull << 48, 6, 56},
      {1ull << 56, 7, 63},
      {(1ull << 63) - 1, 7, 63},
      {Forced(1, 7), 7, 63},
      {Forced(300, 3), 3, 24},
  };
  for (const auto& c : cases) {
    ProgramWriter w;
    w.VarWidth(c.n);
    ExpectFields(w, {{c.code, 3}, {c.n.value, c.width}});
  }
}

TEST(ProgramWriterTest, StatementsEncodeTheirFieldsInOrder) {
  const uint64_t onePointFive = std::bit_cast<uint64_t>(1.5);
  const struct {
    const char* name;
    std::function<void(ProgramWriter&)> build;
    std::vector<Field> fields;
  } cases[] = {
      {"open scope", [](ProgramWriter& w) { w.OpenScope(); }, {{0, 4}}},
      {"close scope", [](ProgramWriter& w) { w.CloseScope(); }, {{1, 4}, {0, 1}}},
      {"close scope and jump", [](ProgramWriter& w) { w.CloseScopeAndJump(Offset{-7}); },
       {{1, 4}, {1, 1}, {0xFFFFFFF9, 32}}},
      {"declare", [](ProgramWriter& w) { w.Declare(kKindDouble, 9); },
       {{3, 4}, {2, 3}, {0, 1}, {0, 3}, {9, 8}, {0, 1}}},
      {"declare with count", [](ProgramWriter& w) { w.Declare(kKindUInt64, 300, 5); },
       {{3, 4}, {4, 3}, {0, 1}, {1, 3}, {300, 12}, {1, 1}, {0, 1}, {0, 3}, {5, 8}}},
      {"skip bits as ones",
       [](ProgramWriter& w) { w.SetStatementSkipBit(true).Declare(kKindInt, 1, 2); },
       {{3, 4}, {1, 3}, {1, 1}, {0, 3}, {1, 8}, {1, 1}, {1, 1}, {0, 3}, {2, 8}}},
      {"assign immediate int to element 0",
       [](ProgramWriter& w) { w.Assign(Target(1), MathOp::Add, Imm::Int(-2)); },
       {{2, 4}, {0, 1}, {0, 1}, {0, 3}, {1, 8}, {0, 1}, {3, 4},
        {1, 1}, {1, 3}, {0xFFFFFFFE, 32}}},
      {"assign indexed variable to immediate index",
       [](ProgramWriter& w) { w.Assign(Target::At(1, 2), MathOp::Assign, Opnd::VarAt(3, 4)); },
       {{2, 4}, {0, 1}, {0, 1}, {0, 3}, {1, 8}, {1, 1}, {1, 1}, {0, 1}, {0, 3}, {2, 8}, {11, 4},
        {0, 1}, {0, 1}, {0, 3}, {3, 8}, {1, 1}, {1, 1}, {0, 1}, {0, 3}, {4, 8}}},
      {"assign through index variables",
       [](ProgramWriter& w) { w.Assign(Target::AtVar(1, 2), MathOp::Xor, Opnd::VarAtVar(3, 4)); },
       {{2, 4}, {0, 1}, {0, 1}, {0, 3}, {1, 8}, {1, 1}, {0, 1}, {0, 1}, {0, 3}, {2, 8}, {8, 4},
        {0, 1}, {0, 1}, {0, 3}, {3, 8}, {1, 1}, {0, 1}, {0, 1}, {0, 3}, {4, 8}}},
      {"assign string immediate",
       [](ProgramWriter& w) { w.Assign(Target(1), MathOp::Assign, Imm::String("abc")); },
       {{2, 4}, {0, 1}, {0, 1}, {0, 3}, {1, 8}, {0, 1}, {11, 4},
        {1, 1}, {0, 3}, {'a', 8}, {'b', 8}, {'c', 8}, {0, 8}}},
      {"jump unless, opcode 5, variable against double",
       [](ProgramWriter& w) {
         w.JumpUnless(Relation::LessEqual, Opnd::Var(7), Imm::Double(1.5), Offset{3}, 5);
       },
       {{5, 4}, {4, 3}, {0, 1}, {0, 1}, {0, 3}, {7, 8}, {0, 1},
        {1, 1}, {2, 3}, {onePointFive, 64}, {3, 32}}},
      {"jump unless, uint32 against uint64",
       [](ProgramWriter& w) {
         w.JumpUnless(Relation::Always7, Imm::UInt32(0x80000000u), Imm::UInt64(1ull << 40),
                      Offset{0});
       },
       {{4, 4}, {7, 3}, {1, 1}, {5, 3}, {0x80000000u, 32}, {1, 1}, {4, 3}, {1ull << 40, 64},
        {0, 32}}},
      {"bad immediate kind carries no value",
       [](ProgramWriter& w) { w.Assign(Target(1), MathOp::Add, Imm::RawKind(3)).RawOpcode(8); },
       {{2, 4}, {0, 1}, {0, 1}, {0, 3}, {1, 8}, {0, 1}, {3, 4}, {1, 1}, {3, 3}, {8, 4}}},
      {"close scopes and jump, opcode 10, forced width",
       [](ProgramWriter& w) { w.CloseScopesAndJump(Forced(1, 7), Offset{-1}, 10); },
       {{10, 4}, {0, 1}, {7, 3}, {1, 63}, {0xFFFFFFFF, 32}}},
      {"routine call without key",
       [](ProgramWriter& w) { w.CallRoutineAtBit(1234, {5, 6}); },
       {{6, 4}, {1234, 64}, {0, 1}, {0, 3}, {2, 8},
        {0, 1}, {0, 3}, {5, 8}, {0, 1}, {0, 3}, {6, 8}, {0, 1}}},
      {"routine call with key, no arguments",
       [](ProgramWriter& w) { w.CallRoutineAtBit(0, {}, 9); },
       {{6, 4}, {0, 64}, {0, 1}, {0, 3}, {0, 8}, {1, 1}, {0, 1}, {0, 3}, {9, 8}}},
      {"native call, one variable twice",
       [](ProgramWriter& w) { w.CallNative(15, {2, 2}); },
       {{7, 4}, {0, 1}, {0, 3}, {15, 8}, {0, 1}, {0, 3}, {2, 8},
        {0, 1}, {0, 3}, {2, 8}, {0, 1}, {0, 3}, {2, 8}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ProgramWriter w;
    c.build(w);
    ExpectFields(w, c.fields);
  }
}

TEST(ProgramWriterTest, LabelsGiveOffsetsFromFieldEndAndAbsolutePositions) {
  ProgramWriter w;
  Label ahead = w.NewLabel();
  w.Bits(0, 5);
  Label back = w.Here();                 // bit 5
  w.Bits(0, 3).OffsetTo(back);           // field 8..40
  w.OffsetTo(ahead);                     // field 40..72
  Label atEnd = w.NewLabel();
  w.OffsetTo(atEnd).Bind(atEnd);         // field 72..104, target 104
  w.CallRoutine(ahead, {});              // T at 108..172
  w.Bits(0, 2).Bind(ahead);              // bit 187
  ASSERT_EQ(w.LabelPosition(ahead), 187u);
  ExpectFields(w, {{0, 8},
                   {static_cast<uint32_t>(-35), 32},
                   {187 - 72, 32},
                   {0, 32},
                   {6, 4},
                   {187, 64},
                   {0, 1 + 3 + 8 + 1 + 2}});
}

TEST(ProgramWriterTest, UnterminatedTextTakesExactlyItsBytes) {
  ProgramWriter w;
  const std::string text(2048, 'x');
  w.WriteOperand(Imm::StringUnterminated(text)).WriteOperand(Imm::String(""));
  const std::vector<uint8_t> bytes = w.Plain();
  BitReader r(bytes);
  EXPECT_EQ(r.Read(1), 1u);
  EXPECT_EQ(r.Read(3), 0u);
  for (size_t i = 0; i < text.size(); ++i) ASSERT_EQ(r.Read(8), uint64_t{'x'});
  EXPECT_EQ(r.pos(), 4u + 16384u);
  EXPECT_EQ(w.Position(), 4u + 16384u + 4u + 8u);  // the empty text is a lone 0 byte
}

TEST(ProgramWriterTest, KeyStreamRepeatsEvery65536Bytes) {
  const ProgramKey key{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  ProgramWriter w;
  w.RawBytes(std::vector<uint8_t>(70000, 0x00));
  const std::vector<uint8_t> out = w.Finish(key);
  const std::vector<uint8_t>& stream = StreamOf(key);
  ASSERT_EQ(out.size(), 70000u);
  EXPECT_EQ(out[65536], stream[0]);
  for (size_t j = 0; j < out.size(); ++j) ASSERT_EQ(out[j], stream[j % 65536]) << j;
  EXPECT_EQ(w.FinishUnkeyed(), w.Plain());
}

TEST(ProgramWriterTest, RegionStartsOnByteAndUsesItsKeyAtAbsolutePositions) {
  const ProgramKey mainKey{7, 7, 7};
  const ProgramKey routineKey = RoutineKeyForInt32(1);
  ProgramWriter w;
  w.Bits(5, 3).BeginRegion(kZeroKey);
  EXPECT_EQ(w.Position(), 8u);
  w.RawBytes("AB").BeginRegion(routineKey).BeginRegion(mainKey);  // empty region gives way
  w.Bits(0x1FF, 9);
  const std::vector<uint8_t> plain{0x05, 'A', 'B', 0xFF, 0x01};
  ASSERT_EQ(w.Plain(), plain);

  const std::vector<uint8_t>& mainStream = StreamOf(mainKey);
  const std::vector<uint8_t>& zeroStream = StreamOf(kZeroKey);
  const std::vector<uint8_t> keyed = w.Finish(mainKey);
  const std::vector<uint8_t> unkeyed = w.FinishUnkeyed();
  for (size_t j = 0; j < plain.size(); ++j) {
    const uint8_t k = (j == 1 || j == 2) ? zeroStream[j] : mainStream[j];
    EXPECT_EQ(keyed[j], plain[j] ^ k) << j;
    EXPECT_EQ(unkeyed[j], j == 0 ? plain[0] : keyed[j]) << j;
  }
}

TEST(ProgramWriterTest, RoutineKeysHashElementZeroWithSeedOfKind) {
  auto hash = [](std::vector<uint8_t> bytes, uint32_t seed) {
    ProgramKey k{};
    MurmurHash3_x86_128(bytes.data(), static_cast<int32_t>(bytes.size()), seed, k.data());
    return k;
  };
  const std::vector<uint8_t> blob{0xDE, 0xAD, 0xBE};
  EXPECT_EQ(RoutineKeyForText("ab"), hash({'a', 'b'}, 0));
  EXPECT_EQ(RoutineKeyForInt32(-2), hash({0xFE, 0xFF, 0xFF, 0xFF}, 1));
  EXPECT_EQ(RoutineKeyForDouble(1.5), hash({0, 0, 0, 0, 0, 0, 0xF8, 0x3F}, 2));
  EXPECT_EQ(RoutineKeyForBytes(blob), hash(blob, 3));
  EXPECT_EQ(RoutineKeyForUInt64(0x0102030405060708ull), hash({8, 7, 6, 5, 4, 3, 2, 1}, 4));
  // The empty text hashes to zeros, the same key as a call without key variable.
  EXPECT_EQ(RoutineKeyForText(""), kZeroKey);
  EXPECT_NE(RoutineKeyForInt32(0), kZeroKey);
  EXPECT_NE(RoutineKeyForDouble(0.0), RoutineKeyForDouble(-0.0));
}

TEST(ProgramWriterTest, MisuseThrowsInsteadOfWritingABrokenProgram) {
  ProgramWriter other;
  const Label foreign = other.NewLabel();
  const std::function<void(ProgramWriter&)> misuses[] = {
      [](ProgramWriter& w) { w.Bits(256, 8); },
      [](ProgramWriter& w) { w.Bits(0, 0); },
      [](ProgramWriter& w) { w.Bits(0, 65); },
      [](ProgramWriter& w) { w.WidthCoded(0, 8); },
      [](ProgramWriter& w) { w.VarWidth(1ull << 63); },
      [](ProgramWriter& w) { w.VarWidth(Forced(4096, 1)); },
      [](ProgramWriter& w) { w.Declare(8, 1); },
      [](ProgramWriter& w) { w.JumpUnless(Relation::Less, Imm::Int(0), Imm::Int(0), Offset{0}, 6); },
      [](ProgramWriter& w) { w.Bind(w.Here()); },
      [](ProgramWriter& w) { w.OffsetTo(w.NewLabel()).Plain(); },
      [foreign](ProgramWriter& w) { w.OffsetTo(foreign); },
  };
  for (size_t i = 0; i < std::size(misuses); ++i) {
    ProgramWriter w;
    EXPECT_THROW(misuses[i](w), std::invalid_argument) << "misuse " << i;
  }
}
