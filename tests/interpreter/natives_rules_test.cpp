// How natives read and write arguments of every kind, the refusal of missing arguments, and
// the table the natives are registered in.
#include <gtest/gtest.h>

#include <optional>

#include "interpreter/Natives.h"
#include "interpreter/natives/ArgumentRules.h"
#include "natives_values.h"

using namespace natives_test;

namespace {

TEST(ArgumentRules, ReadsAndRolesFollowKindAndStorage) {
  const auto no = std::nullopt;
  struct Case {
    const char* form;
    std::optional<uint32_t> word;  // 4-byte read; nullopt: refused
    std::optional<uint64_t> quad;  // 8-byte read
    std::optional<uint64_t> rawSize;
    bool byteArrayIn, textIn, byteArrayOut, stringOut;
  } cases[] = {
      {"-", 0, 0, no, false, false, true, true},
      {"u*3", 0, 0, 12, false, false, true, true},
      {"i:0x11223344", 0x11223344, no, 4, false, false, false, false},
      {"u:0x11223344,0xaabbccdd", 0x11223344, 0xAABBCCDD11223344, 8, false, false, false, false},
      {"q:0x1122334455667788,5", 0x55667788, 0x1122334455667788, 16, false, false, false, false},
      {"d:-2", 0, 0xC000000000000000, 8, false, false, false, false},
      {"s:ab", no, no, no, false, true, false, true},
      {"s*1", 0, 0, no, false, true, true, true},
      {"b:0102030405060708", no, no, no, true, false, true, false},
      {"b*3", 0, 0, no, true, false, true, true},
  };
  for (const Case& c : cases) {
    Value v = Make(c.form);
    uint32_t word = 0;
    uint64_t quad = 0, size = 0;
    EXPECT_EQ(ReadWordArg(&v, word) ? std::optional(word) : no, c.word) << c.form;
    EXPECT_EQ(ReadQuadArg(&v, quad) ? std::optional(quad) : no, c.quad) << c.form;
    EXPECT_EQ(RawOutputSize(&v, size) ? std::optional(size) : no, c.rawSize) << c.form;
    EXPECT_EQ(ByteArrayInputArg(&v) != nullptr, c.byteArrayIn) << c.form;
    EXPECT_EQ(TextInputArg(&v) != nullptr, c.textIn) << c.form;
    EXPECT_EQ(IsByteArrayOutput(&v), c.byteArrayOut) << c.form;
    EXPECT_EQ(IsStringOutput(&v), c.stringOut) << c.form;
  }
  // Storage of no elements: nothing to read, and a barray without a byte array 0.
  Value quads = Make("q*0"), arrays = Make("b*0");
  quads.EnsureStorage();
  arrays.EnsureStorage();
  uint32_t word;
  EXPECT_FALSE(ReadWordArg(&quads, word));
  EXPECT_FALSE(IsByteArrayOutput(&arrays));
}

TEST(NativeTable, StandardNativesGoInIndexOrderIntoAnEmptyTableOnly) {
  const NativeTable saved = g_nativeTable;
  g_nativeTable.clear();
  RegisterNative(HashBytes);
  RegisterNative(HashBytes);  // one function, two indices
  RegisterStandardNatives();
  EXPECT_EQ(g_nativeTable, (NativeTable{HashBytes, HashBytes}));

  g_nativeTable.clear();
  RegisterStandardNatives();
  const NativeTable inIndexOrder = {
      NewByteArray,    AppendIntegerBytes, AppendHexBytes, AppendText,     FileExists,
      HashBytes,       CopyBytesToStorage, HexToWords,     ByteArrayLength, CopyByteRange,
      FillStorage,     CopyWordsToBytes,   Log,            Exp,            TimeLockTextToBytes,
      TimeLockBytesToText};
  EXPECT_EQ(g_nativeTable, inIndexOrder);

  // Each native with arguments that it accepts, by index; any one fewer is refused.
  const std::vector<std::vector<std::string>> accepted = {
      {"-", "u:1"},
      {"b:01", "q:1", "u:1", "u:0"},
      {"b:", "s:0a", "u:0"},
      {"s:0a", "u:1"},
      {"s:/", "u:0"},
      {"q:0", "b:01", "q:2"},
      {"q:0", "b:01"},
      {"u:0", "s:0a", "u:0"},
      {"u:0", "b:01", "u:0"},
      {"u:0", "b:01", "u:1", "u:0"},
      {"u:0", "u:1", "u:0", "u:4"},
      {"b:00000000", "u:1", "u:0", "u:1"},
      {"q:0", "d:1"},
      {"q:0", "d:1"},
      {"q:0", "s:ab", "b:"},
      {"q:0", "b:", "s:"},
  };
  for (uint32_t index = 0; index < kNativeCount; ++index) {
    const std::vector<std::string>& all = accepted[index];
    for (size_t given = 0; given < all.size(); ++given) {
      std::vector<Value> values = MakeAll(all);
      values.resize(given);
      EXPECT_FALSE(Call(g_nativeTable[index], values)) << index << " with " << given;
    }
    if (index >= kNativeTimeLockTextToBytes) continue;  // accepting builds a pad: tested apart
    std::vector<Value> values = MakeAll(all);
    values.push_back(Make("u:9"));  // an argument beyond those used is ignored
    EXPECT_TRUE(Call(g_nativeTable[index], values)) << index;
  }
  g_nativeTable = saved;
}

}  // namespace
