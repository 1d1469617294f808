// Value::PerformMathOp over every pair of kinds: the bits of each result and each refusal.
#include <gtest/gtest.h>

#include <sstream>

#include "value_test_values.h"

namespace {

using value_test::Describe;
using value_test::Make;

enum : uint32_t { kAdd = 3, kNone = 10, kAssign = 11 };

// Each row: destination, code, source, and the destination's element 0 afterwards, or "no"
// when the operation is refused (the destination then stays as it was and err is not set).
TEST(ValueArithmetic, ResultsAndRefusalsByKindPair) {
  const char* const codes[] = {"*", "%", "/", "+", "-", "<<", ">>", "&", "^", "|", "none", ":="};
  const char* const cases[] = {
      // 32-bit destinations: a double source computes in double and truncates; otherwise
      // 32-bit wrap-around, a uint64 source giving its low word.
      "int:7 * dbl:0.5 = int:3", "int:7 / dbl:0 = int:-2147483648",
      "u32:4294967295 + dbl:0 = u32:4294967295", "u32:2147483647 + dbl:1 = u32:2147483648",
      "u32:4294967295 * int:2 = u32:4294967294", "int:2147483647 + int:1 = int:-2147483648",
      "int:1 + u64:0x100000002 = int:3", "u32:4294967295 / int:2 = u32:0",
      // Signed 32-bit division, for uint32 as well; 64-bit division of the sign extension.
      "int:-7 / u64:2 = int:-4", "int:-2147483648 / int:-1 = no", "int:5 / int:0 = no",
      "u32:2147483648 / u32:4294967295 = no", "int:5 / u64:0 = no", "u32:5 % u32:0 = no",
      // Remainders: int signed, uint32 unsigned; against a uint64 an int widens with its sign
      // and a uint32 with zeros (2^64 - 7 and 2^32 - 7 differ mod 7).
      "u32:4294967295 % int:2 = u32:1", "int:5 % u32:4294967294 = int:1", "int:-7 % int:3 = int:-1",
      "u32:5 % u32:4294967294 = u32:5", "int:-7 % u64:2 = int:1", "int:-7 % u64:7 = int:2",
      "u32:4294967289 % u64:7 = u32:4", "u32:2147483648 % u32:4294967295 = u32:2147483648",
      "int:-2147483648 % int:-1 = no", "int:5 % u64:0 = no", "u64:5 / u64:0 = no",
      "u64:5 % int:0 = no",
      // Shift counts are masked; int shifts right arithmetically, uint32 and uint64 logically.
      // Bitwise operations take the low word into 32 bits, the sign extension into 64.
      "int:-8 >> int:1 = int:-4", "u32:4294967288 >> int:1 = u32:2147483644",
      "int:1 << int:33 = int:2", "int:-1 >> u64:35 = int:-1", "int:1 << int:-1 = int:-2147483648",
      "u32:5 << int:32 = u32:5", "u64:1 << u64:64 = u64:1",
      "u64:0x8000000000000000 >> int:63 = u64:1", "u64:1 << int:-1 = u64:9223372036854775808",
      "int:15 ^ u64:0x1000000FF = int:240", "u32:4042322160 & u32:4278255360 = u32:4026593280",
      "u64:0 | u32:2147483648 = u64:18446744071562067968",
      "u64:0xFFFFFFFFFFFFFFFF & int:-2 = u64:18446744073709551614",
      // uint64 and double destinations.
      "u64:1 + int:-1 = u64:0", "u64:0 - int:1 = u64:18446744073709551615",
      "u64:10 * dbl:0.5 = u64:5", "u64:0x100000000 * u64:0x100000000 = u64:0",
      "u64:0xFFFFFFFFFFFFFFFF + dbl:0 = u64:9223372036854775808",
      "u64:0xFFFFFFFFFFFFFFFF / int:-1 = u64:1", "u64:100 % u64:7 = u64:2",
      "dbl:1 / int:0 = dbl:inf", "dbl:0.5 + u32:4294967295 = dbl:-0.5",
      "dbl:1.5 - dbl:0.25 = dbl:1.25",
      "dbl:0 + u64:0xFFFFFFFFFFFFFFFF = dbl:1.8446744073709552e+19",
      // Kinds that an operation does not take, codes that name none; code 11 converts.
      "dbl:5 % int:2 = no", "int:5 % dbl:2 = no", "int:1 << dbl:1 = no", "u64:1 & dbl:1 = no",
      "str:a + int:1 = no", "int:1 + str:1 = no", "bar:01 + int:1 = no", "int:1 + unset = no",
      "int:1 none int:1 = no", "int:1 op12 int:1 = no", "str := int:42 = str:42",
      "int:1 := dbl:-3.9 = int:-3",
  };
  for (const char* c : cases) {
    SCOPED_TRACE(c);
    std::istringstream row(c);
    std::string d, code, s, equals, expected;
    row >> d >> code >> s >> equals >> expected;
    uint32_t op = 0;
    while (op < 12 && code != codes[op]) ++op;  // 12 for "op12"
    Value destination = Make(d);
    const std::string before = Describe(destination);
    std::string err = "old";
    ASSERT_EQ(destination.PerformMathOp(op, Make(s), err, true, 0), expected != "no");
    EXPECT_EQ(Describe(destination), expected != "no" ? expected : before);
    EXPECT_EQ(err, "old");
  }
}

TEST(ValueArithmetic, SourceChecksComeInTheirOrder) {
  std::string err = "old";
  Value destination = Make("int:1"), pair = Make("int", 2), variable = Make("int:2");
  pair.id = variable.id = 5;
  EXPECT_FALSE(destination.PerformMathOp(kAdd, pair, err, false, 0));
  EXPECT_EQ(err, "old");  // the count is checked before the immediacy
  for (uint32_t op : {uint32_t{kAdd}, uint32_t{kAssign}, uint32_t{kNone}}) {
    EXPECT_FALSE(destination.PerformMathOp(op, variable, err, false, 0));
    EXPECT_EQ(err, "Value::PerformMathOp() passed in value must be immediate.");
  }
  EXPECT_TRUE(destination.PerformMathOp(kAdd, variable, err, true, 0));
  EXPECT_FALSE(destination.PerformMathOp(kAssign, Make("bar:01"), err, true, 0));
  EXPECT_EQ(Describe(destination) + " " + err,
            "int:3 Value::AssignValue () - can't convert barray to int.");
}

// No element outside either Value is read or written; an element without storage reads as 0.
TEST(ValueArithmetic, WorksOnOneElementInsideTheDestination) {
  std::string err;
  Value numbers = Make("u64", 2);
  EXPECT_TRUE(numbers.PerformMathOp(kAdd, Make("int:5"), err, true, 1));
  EXPECT_FALSE(numbers.PerformMathOp(kAdd, Make("int:5"), err, true, 2) ||
               numbers.PerformMathOp(kAdd, Make("int", 0), err, true, 0) ||
               numbers.PerformMathOp(kAssign, Make("int", 0), err, true, 0));
  EXPECT_EQ(Describe(numbers, 0) + Describe(numbers, 1), "u64:0u64:5");
}

}  // namespace
