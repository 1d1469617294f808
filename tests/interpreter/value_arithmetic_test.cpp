// Value::PerformMathOp over every pair of kinds: the bits of each result and each refusal.
#include <gtest/gtest.h>

#include <sstream>

#include "value_forms.h"

namespace {

using value_forms::Describe;
using value_forms::Make;

enum : uint32_t { kAdd = 3, kNone = 10, kAssign = 11 };

// Each row: destination, code, source, and the destination afterwards, or "no"
// when the operation is refused (the destination then stays as it was and err is not set).
TEST(ValueArithmetic, ResultsAndRefusalsByKindPair) {
  const char* const codes[] = {"*", "%", "/", "+", "-", "<<", ">>", "&", "^", "|", "none", ":="};
  const char* const cases[] = {
      // 32-bit destinations: a double source computes in double and truncates; otherwise
      // 32-bit wrap-around, a uint64 source giving its low word.
      "i:7 * d:0.5 = i:3", "i:7 / d:0 = i:-2147483648", "u:4294967295 + d:0 = u:4294967295",
      "u:2147483647 + d:1 = u:2147483648", "u:4294967295 * i:2 = u:4294967294",
      "i:2147483647 + i:1 = i:-2147483648", "i:1 + q:0x100000002 = i:3", "u:4294967295 / i:2 = u:0",
      // Signed 32-bit division, for uint32 as well; 64-bit division of the sign extension.
      "i:-7 / q:2 = i:-4", "i:-2147483648 / i:-1 = no", "i:5 / i:0 = no", "u:2147483648 / u:4294967295 = no",
      "i:5 / q:0 = no", "u:5 % u:0 = no",
      // Remainders: int signed, uint32 unsigned; against a uint64 an int widens with its sign
      // and a uint32 with zeros (2^64 - 7 and 2^32 - 7 differ mod 7).
      "u:4294967295 % i:2 = u:1", "i:5 % u:4294967294 = i:1", "i:-7 % i:3 = i:-1", "u:5 % u:4294967294 = u:5",
      "i:-7 % q:2 = i:1", "i:-7 % q:7 = i:2", "u:4294967289 % q:7 = u:4",
      "u:2147483648 % u:4294967295 = u:2147483648", "i:-2147483648 % i:-1 = no", "i:5 % q:0 = no",
      "q:5 / q:0 = no", "q:5 % i:0 = no",
      // Shift counts are masked; int shifts right arithmetically, uint32 and uint64 logically.
      // Bitwise operations take the low word into 32 bits, the sign extension into 64.
      "i:-8 >> i:1 = i:-4", "u:4294967288 >> i:1 = u:2147483644", "i:1 << i:33 = i:2", "i:-1 >> q:35 = i:-1",
      "i:1 << i:-1 = i:-2147483648", "u:5 << i:32 = u:5", "q:1 << q:64 = q:1",
      "q:0x8000000000000000 >> i:63 = q:1", "q:1 << i:-1 = q:9223372036854775808",
      "i:15 ^ q:0x1000000FF = i:240", "u:4042322160 & u:4278255360 = u:4026593280",
      "q:0 | u:2147483648 = q:18446744071562067968", "q:0xFFFFFFFFFFFFFFFF & i:-2 = q:18446744073709551614",
      // uint64 and double destinations.
      "q:1 + i:-1 = q:0", "q:0 - i:1 = q:18446744073709551615", "q:10 * d:0.5 = q:5",
      "q:0x100000000 * q:0x100000000 = q:0", "q:0xFFFFFFFFFFFFFFFF + d:0 = q:9223372036854775808",
      "q:0xFFFFFFFFFFFFFFFF / i:-1 = q:1", "q:100 % q:7 = q:2", "d:1 / i:0 = d:inf",
      "d:0.5 + u:4294967295 = d:-0.5", "d:1.5 - d:0.25 = d:1.25",
      "d:0 + q:0xFFFFFFFFFFFFFFFF = d:1.8446744073709552e+19",
      // Kinds that an operation does not take, codes that name none; code 11 converts.
      "d:5 % i:2 = no", "i:5 % d:2 = no", "i:1 << d:1 = no", "q:1 & d:1 = no", "s:a + i:1 = no",
      "i:1 + s:1 = no", "b:01 + i:1 = no", "i:1 + - = no", "i:1 none i:1 = no", "i:1 op12 i:1 = no",
      "s*1 := i:42 = s:42", "i:1 := d:-3.9 = i:-3",
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
    EXPECT_EQ(Describe(destination), expected != "no" ? Describe(Make(expected)) : before);
    EXPECT_EQ(err, "old");
  }
}

TEST(ValueArithmetic, SourceChecksComeInTheirOrder) {
  std::string err = "old";
  Value destination = Make("i:1"), pair = Make("i*2"), variable = Make("i:2");
  pair.id = variable.id = 5;
  EXPECT_FALSE(destination.PerformMathOp(kAdd, pair, err, false, 0));
  EXPECT_EQ(err, "old");  // the count is checked before the immediacy
  for (uint32_t op : {uint32_t{kAdd}, uint32_t{kAssign}, uint32_t{kNone}}) {
    EXPECT_FALSE(destination.PerformMathOp(op, variable, err, false, 0));
    EXPECT_EQ(err, "Value::PerformMathOp() passed in value must be immediate.");
  }
  EXPECT_TRUE(destination.PerformMathOp(kAdd, variable, err, true, 0));
  EXPECT_FALSE(destination.PerformMathOp(kAssign, Make("b:01"), err, true, 0));
  EXPECT_EQ(Describe(destination), Describe(Make("i:3")));
  EXPECT_EQ(err, "Value::AssignValue () - can't convert barray to int.");
}

// No element outside either Value is read or written; an element without storage reads as 0.
TEST(ValueArithmetic, WorksOnOneElementInsideTheDestination) {
  std::string err;
  Value numbers = Make("q*2");
  EXPECT_TRUE(numbers.PerformMathOp(kAdd, Make("i:5"), err, true, 1));
  EXPECT_FALSE(numbers.PerformMathOp(kAdd, Make("i:5"), err, true, 2) ||
               numbers.PerformMathOp(kAdd, Make("i*0"), err, true, 0) ||
               numbers.PerformMathOp(kAssign, Make("i*0"), err, true, 0));
  EXPECT_EQ(Describe(numbers), Describe(Make("q:0,5")));
}

}  // namespace
