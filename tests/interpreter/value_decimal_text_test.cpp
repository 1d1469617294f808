// The decimal readers wrap around where the C library's scanf would saturate.
#include <gtest/gtest.h>

#include <cmath>

#include "interpreter/DecimalText.h"

namespace {

TEST(DecimalText, IntegerReadersWrapAroundTheirWidth) {
  // The text, and the 64-bit reader's result; the 32-bit readers give its low 32 bits.
  const std::pair<const char*, uint64_t> numbers[] = {
      {"4294967296", 4294967296u}, {"-1", UINT64_MAX}, {"  +12x", 12}, {"\t\n\v\f\r7 8", 7},
      {"0x10", 0}, {"2147483648", 2147483648u}, {"-2147483649", 0 - uint64_t{2147483649u}},
      {"99999999999999999999", 7766279631452241919u},  // (10^20 - 1) mod 2^64
      {"-99999999999999999999", 0 - uint64_t{7766279631452241919u}},
      {"18446744073709551617", 1}};
  for (const auto& [text, expected] : numbers) {
    SCOPED_TRACE(text);
    uint64_t u64 = 0;
    uint32_t u32 = 0;
    int32_t i32 = 0;
    ASSERT_TRUE(ParseUInt64Text(text, u64) && ParseUInt32Text(text, u32) &&
                ParseInt32Text(text, i32));
    EXPECT_EQ(u64, expected);
    EXPECT_EQ(u32, static_cast<uint32_t>(expected));
    EXPECT_EQ(i32, static_cast<int32_t>(static_cast<uint32_t>(expected)));
  }
  uint32_t u32 = 0;
  EXPECT_TRUE(ParseUInt32Text("99999999999999999999", u32));
  EXPECT_EQ(u32, 1661992959u);  // (10^20 - 1) mod 2^32, where scanf would saturate
  for (const char* bad : {"", "-", "+-1", "- 1", "x1"}) {
    uint64_t u64 = 77;
    int32_t i32 = 77;
    EXPECT_FALSE(ParseUInt64Text(bad, u64) || ParseUInt32Text(bad, u32) ||
                 ParseInt32Text(bad, i32));
    EXPECT_EQ(u64 + static_cast<uint64_t>(i32), 154u);  // a failed read changes nothing
  }
}

TEST(DecimalText, DoubleReaderNeedsOneNumberAfterWhiteSpace) {
  const std::pair<const char*, double> numbers[] = {
      {" 1.5e3", 1500.0}, {"\t-.5x", -0.5}, {"+2", 2.0}, {"1e999", HUGE_VAL}};
  for (const auto& [text, expected] : numbers) {
    double v = 0.0;
    EXPECT_TRUE(ParseDoubleText(text, v));
    EXPECT_EQ(v, expected);
  }
  for (const char* bad : {"abc", "", " -", "."}) {
    double v = 7.0;
    EXPECT_FALSE(ParseDoubleText(bad, v));
    EXPECT_EQ(v, 7.0);
  }
}

}  // namespace
