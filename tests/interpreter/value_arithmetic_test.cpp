// Value::PerformMathOp over every pair of kinds: the bits of each result and each refusal.
#include <gtest/gtest.h>

#include "value_test_values.h"

namespace {

using value_test::Describe;
using value_test::Make;
using value_test::Typed;

enum : uint32_t { kMul, kMod, kDiv, kAdd, kSub, kShl, kShr, kAnd, kXor, kOr, kNone, kAssign };

struct MathCase {
  uint32_t op;
  const char* destination;
  const char* source;
  const char* expected;  // the destination's element 0, or null when the operation is refused
};

TEST(ValueArithmetic, ResultsAndRefusalsByKindPair) {
  const MathCase cases[] = {
      // 32-bit destinations with a double source compute in double and truncate.
      {kMul, "int:7", "dbl:0.5", "int:3"}, {kDiv, "int:7", "dbl:0", "int:-2147483648"},
      {kAdd, "u32:4294967295", "dbl:0", "u32:4294967295"},
      {kAdd, "u32:2147483647", "dbl:1", "u32:2147483648"}, {kSub, "int:-5", "dbl:0.5", "int:-5"},
      // 32-bit wrap-around; a uint64 source gives its low word.
      {kMul, "u32:4294967295", "int:2", "u32:4294967294"},
      {kAdd, "int:2147483647", "int:1", "int:-2147483648"},
      {kSub, "int:-2147483648", "int:1", "int:2147483647"}, {kMul, "int:65536", "int:65536", "int:0"},
      {kAdd, "int:1", "u64:0x100000002", "int:3"},
      // Signed 32-bit division, for uint32 as well; 64-bit division of the sign extension.
      {kDiv, "u32:4294967295", "int:2", "u32:0"}, {kDiv, "int:-7", "int:2", "int:-3"},
      {kDiv, "int:-7", "u64:2", "int:-4"}, {kDiv, "int:-2147483648", "int:-1", nullptr},
      {kDiv, "u32:2147483648", "u32:4294967295", nullptr}, {kDiv, "int:5", "int:0", nullptr},
      {kDiv, "int:5", "u64:0", nullptr},
      // Remainders: int signed, uint32 unsigned; against a uint64 an int widens with its sign
      // and a uint32 with zeros (2^64 - 7 and 2^32 - 7 differ mod 7).
      {kMod, "u32:4294967295", "int:2", "u32:1"}, {kMod, "int:5", "u32:4294967294", "int:1"},
      {kMod, "u32:5", "u32:4294967294", "u32:5"}, {kMod, "int:-7", "int:3", "int:-1"},
      {kMod, "int:-7", "u64:2", "int:1"}, {kMod, "int:-7", "u64:7", "int:2"},
      {kMod, "u32:4294967289", "u64:7", "u32:4"},
      {kMod, "u32:2147483648", "u32:4294967295", "u32:2147483648"},
      {kMod, "int:-2147483648", "int:-1", nullptr}, {kMod, "u32:5", "u32:0", nullptr},
      {kMod, "int:5", "u64:0", nullptr},
      // Shift counts are masked; int shifts right arithmetically, uint32 and uint64 logically.
      {kShr, "int:-8", "int:1", "int:-4"}, {kShr, "u32:4294967288", "int:1", "u32:2147483644"},
      {kShr, "int:-1", "u64:35", "int:-1"}, {kShl, "int:1", "int:33", "int:2"},
      {kShl, "int:1", "int:-1", "int:-2147483648"}, {kShl, "u32:5", "int:32", "u32:5"},
      {kShl, "u64:1", "u64:64", "u64:1"}, {kShl, "u64:1", "int:-1", "u64:9223372036854775808"},
      {kShr, "u64:0x8000000000000000", "int:63", "u64:1"},
      // Bitwise: the low word into 32 bits, the sign extension into 64.
      {kXor, "int:15", "u64:0x1000000FF", "int:240"},
      {kAnd, "u64:0xFFFFFFFFFFFFFFFF", "int:-2", "u64:18446744073709551614"},
      {kOr, "u64:0", "u32:2147483648", "u64:18446744071562067968"},
      {kAnd, "u32:4042322160", "u32:4278255360", "u32:4026593280"},
      // uint64 destinations.
      {kAdd, "u64:1", "int:-1", "u64:0"}, {kSub, "u64:0", "int:1", "u64:18446744073709551615"},
      {kMul, "u64:0x100000000", "u64:0x100000000", "u64:0"},
      {kAdd, "u64:0xFFFFFFFFFFFFFFFF", "dbl:0", "u64:9223372036854775808"},
      {kMul, "u64:10", "dbl:0.5", "u64:5"}, {kMul, "u64:3", "dbl:-1", "u64:18446744073709551613"},
      {kDiv, "u64:0xFFFFFFFFFFFFFFFF", "int:-1", "u64:1"}, {kDiv, "u64:100", "u32:7", "u64:14"},
      {kMod, "u64:100", "u64:7", "u64:2"}, {kDiv, "u64:5", "u64:0", nullptr},
      {kMod, "u64:5", "int:0", nullptr},
      // double destinations.
      {kDiv, "dbl:1", "int:0", "dbl:inf"}, {kDiv, "dbl:-1", "dbl:0", "dbl:-inf"},
      {kAdd, "dbl:0.5", "u32:4294967295", "dbl:-0.5"},
      {kAdd, "dbl:0", "u64:0xFFFFFFFFFFFFFFFF", "dbl:1.8446744073709552e+19"},
      {kSub, "dbl:1.5", "dbl:0.25", "dbl:1.25"},
      // Kinds that an operation does not take, and codes that name none.
      {kMod, "dbl:5", "int:2", nullptr}, {kMod, "int:5", "dbl:2", nullptr},
      {kShl, "int:1", "dbl:1", nullptr}, {kAnd, "u64:1", "dbl:1", nullptr},
      {kAdd, "str:a", "int:1", nullptr}, {kAdd, "int:1", "str:1", nullptr},
      {kAdd, "bar:01", "int:1", nullptr}, {kAdd, "int:1", "unset", nullptr},
      {kNone, "int:1", "int:1", nullptr}, {12, "int:1", "int:1", nullptr},
      // Code 11 is the element conversion.
      {kAssign, "str", "int:42", "str:42"}, {kAssign, "int:1", "dbl:-3.9", "int:-3"},
  };
  for (const MathCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.op) + ": " + c.destination + " with " + c.source);
    Value destination = Make(c.destination);
    const std::string before = Describe(destination);
    std::string err = "old";
    ASSERT_EQ(destination.PerformMathOp(c.op, Make(c.source), err, true, 0), c.expected != nullptr);
    EXPECT_EQ(Describe(destination), c.expected != nullptr ? c.expected : before);
    EXPECT_EQ(err, "old");
  }
}

TEST(ValueArithmetic, SourceChecksComeInTheirOrder) {
  std::string err = "old";
  Value destination = Make("int:1");
  Value pair = Typed(kKindInt, 2);
  pair.id = 5;
  EXPECT_FALSE(destination.PerformMathOp(kAdd, pair, err, false, 0));
  EXPECT_EQ(err, "old");  // the count is checked before the immediacy

  Value variable = Make("int:2");
  variable.id = 5;
  for (uint32_t op : {uint32_t{kAdd}, uint32_t{kAssign}, uint32_t{kNone}}) {
    EXPECT_FALSE(destination.PerformMathOp(op, variable, err, false, 0));
    EXPECT_EQ(err, "Value::PerformMathOp() passed in value must be immediate.");
  }
  EXPECT_TRUE(destination.PerformMathOp(kAdd, variable, err, true, 0));
  EXPECT_EQ(Describe(destination), "int:3");
  EXPECT_FALSE(destination.PerformMathOp(kAssign, Make("bar:01"), err, true, 0));
  EXPECT_EQ(err, "Value::AssignValue () - can't convert barray to int.");
}

TEST(ValueArithmetic, WorksOnOneElementInsideTheDestination) {
  std::string err;
  Value numbers = Typed(kKindUInt64, 2);  // no storage yet: reads as zeros
  EXPECT_TRUE(numbers.PerformMathOp(kAdd, Make("int:5"), err, true, 1));
  EXPECT_EQ(Describe(numbers, 0) + Describe(numbers, 1), "u64:0u64:5");
  EXPECT_FALSE(numbers.PerformMathOp(kAdd, Make("int:5"), err, true, 2));
  EXPECT_FALSE(numbers.PerformMathOp(kAdd, Typed(kKindInt, 0), err, true, 0));
  EXPECT_FALSE(numbers.PerformMathOp(kAssign, Typed(kKindInt, 0), err, true, 0));
  EXPECT_EQ(Describe(numbers, 0) + Describe(numbers, 1), "u64:0u64:5");
}

}  // namespace
