// Element conversions between kinds (Value::AssignValue), the decimal readers behind them,
// and the text of a value.
#include <gtest/gtest.h>

#include "value_test_values.h"

namespace {

using value_test::Describe;
using value_test::Make;

// Each row: the source, " > ", and either the destination's element afterwards (its kind
// names the destination) or the destination kind, " ! " and the refusal's message after
// "Value::AssignValue () - ". A refusal leaves the destination without storage.
TEST(ValueConversion, EveryDestinationKindFromEverySourceKind) {
  const char* const cases[] = {
      "str:ab > str:ab", "int:-5 > str:-5", "dbl:0.5 > str:0.5", "u32:4294967295 > str:4294967295",
      "u64:18446744073709551615 > str:18446744073709551615", "dbl:0.001 > str:1e-3",
      "dbl:0.1 > str:0.10000000000000001", "dbl:2e7 > str ! unable to convert double to string.",
      "bar:01 > str ! unable to convert varray to string.",
      // Into 32-bit words: doubles truncate (out of range: -2^31), uint64 gives its low word.
      "int:-7 > int:-7", "u32:4294967295 > int:-1", "u64:0x100000005 > int:5", "dbl:3.9 > int:3",
      "dbl:-3.9 > int:-3", "dbl:3e10 > int:-2147483648", "dbl:nan > int:-2147483648",
      "dbl:-2147483648.9 > int:-2147483648", "dbl:2147483647.9 > int:2147483647",
      "int:-1 > u32:4294967295", "u64:0x1FFFFFFFF > u32:4294967295", "dbl:-1 > u32:4294967295",
      "dbl:4294967295 > u32:4294967295", "dbl:4294967296 > u32:0", "dbl:3e10 > u32:4230196224",
      "bar:01 > int ! can't convert barray to int.",
      "bar:01 > u32 ! can't convert barray to uint32.",
      // Into doubles and uint64.
      "int:-3 > dbl:-3", "u32:4294967295 > dbl:-1", "dbl:1.5 > dbl:1.5",
      "u64:18446744073709551615 > dbl:1.8446744073709552e+19",
      // 2^63 + 1025 goes through the signed value and the added 2^64, landing on 2^63.
      "u64:9223372036854776833 > dbl:9.2233720368547758e+18", "int:-1 > u64:18446744073709551615",
      "u32:4294967295 > u64:18446744073709551615", "dbl:1e19 > u64:10000000000000000000",
      "dbl:-1.5 > u64:18446744073709551615", "dbl:2e19 > u64:9223372036854775808",
      "dbl:nan > u64:9223372036854775808", "dbl:-1e19 > u64:9223372036854775808",
      "u64:12345678901234567890 > u64:12345678901234567890",
      "bar:01 > dbl ! can't convert barray to double.",
      "bar:01 > u64 ! can't convert barray to uint64.",
      // Texts read as numbers: white space, a sign, digits wrapping around the width (where
      // scanf would saturate), anything after the number ignored.
      "str:  42abc > int:42", "str:-2147483649 > int:2147483647", "str:\t\n\v\f\r+7 8 > int:7",
      "str:0x10 > int:0", "str:4294967296 > u32:0", "str:-1 > u32:4294967295",
      "str:99999999999999999999 > u32:1661992959", "str:18446744073709551617 > u64:1",
      "str:-1 > u64:18446744073709551615", "str:99999999999999999999 > u64:7766279631452241919",
      "str: -2.5e3x > dbl:-2500", "str:\t-.5 > dbl:-0.5",
      "str:abc > int ! problem converting string to int.",
      "str:+-1 > int ! problem converting string to int.",
      "str:- > u32 ! problem converting string to uint32.",
      "str: > u64 ! problem converting string to uint64.",
      "str:. > dbl ! problem converting string to double.",
      "str: - > dbl ! problem converting string to double.",
      // Byte arrays only from byte arrays; unset and unknown kinds on either side.
      "bar:01FF > bar:01FF", "str:01 > bar ! barray can only be assigned with another barray.",
      "int:1 > bar ! barray can only be assigned with another barray.",
      "unset > bar ! barray can only be assigned with another barray.",
      "unset > str ! unsupported action.", "unset > int ! unsupported action.",
      "unset > dbl ! unsupported action.", "unset > u64 ! unsupported action.",
      "unset > u32 ! unsupported action.", "int:1 > unset ! unsupported action.",
      "int:1 > k6 ! unsupported action.", "k6 > int ! unsupported action.",
  };
  for (const std::string c : cases) {
    SCOPED_TRACE(c);
    const size_t arrow = c.find(" > "), bang = c.find(" ! ");
    const bool done = bang == std::string::npos;
    const std::string expected = c.substr(arrow + 3, bang - arrow - 3);
    Value destination = Make(expected.substr(0, expected.find(':')));
    std::string err = "old";
    ASSERT_EQ(destination.AssignValue(Make(c.substr(0, arrow)), &err, true, 0, 0), done);
    EXPECT_EQ(err, done ? "old" : "Value::AssignValue () - " + c.substr(bang + 3));
    EXPECT_EQ(destination.HasStorage() ? Describe(destination) : "none", done ? expected : "none");
  }
}

TEST(ValueConversion, ImmediateSourceDemandedWithoutAllowRef) {
  Value variable = Make("int:3"), destination = Make("int");
  variable.id = 5;
  for (const Value& source : {Value(variable), Value()}) {
    std::string err;
    EXPECT_FALSE(destination.AssignValue(source, nullptr, false, 0, 0) ||
                 destination.AssignValue(source, &err, false, 0, 0));
    EXPECT_EQ(err, "Value::AssignValue() passed in value must be immediate.");
  }
  EXPECT_TRUE(destination.AssignValue(variable, nullptr, true, 0, 0));
  EXPECT_EQ(Describe(destination), "int:3");
}

TEST(ValueConversion, ElementsOutsideEitherValueAreRefused) {
  Value numbers = Make("int", 3);
  std::string err = "old";
  EXPECT_TRUE(numbers.AssignValue(Make("int:9"), &err, true, 2, 0));
  EXPECT_FALSE(numbers.AssignValue(Make("int:9"), &err, true, 3, 0) ||
               numbers.AssignValue(Make("int:9"), &err, true, 0, 1) ||
               numbers.AssignValue(Make("int", 0), &err, true, 0, 0));
  EXPECT_EQ(Describe(numbers, 2) + Describe(numbers, 1) + err, "int:9int:0old");
  // A string source is read at every text it holds, even past its count; a string
  // destination grows to the index, also within the same Value.
  Value texts = Make("str:a");
  texts.SetString(3, "d");
  EXPECT_TRUE(texts.AssignValue(texts, nullptr, true, 700, 3));
  EXPECT_FALSE(texts.AssignValue(texts, nullptr, true, 0, 701));
  EXPECT_EQ(Describe(texts, 700) + "/" + std::to_string(texts.TextCount()), "str:d/701");
  Value arrays = Make("bar", 2);
  arrays.SetByteArray(0, {0xAB});
  EXPECT_TRUE(arrays.AssignValue(arrays, nullptr, true, 1, 0));
  EXPECT_EQ(Describe(arrays, 1), "bar:AB");
  EXPECT_FALSE(arrays.AssignValue(arrays, nullptr, true, 2, 0) ||
               arrays.AssignValue(arrays, nullptr, true, 0, 2));
}

TEST(ValueConversion, TextOfAValueIsItsElementZero) {
  std::string hex64;
  for (int i = 0; i < 64; ++i) hex64 += "5A";
  const std::pair<Value, std::string> cases[] = {
      {Value(), ""}, {Make("str"), ""}, {Make("int", 0), "0"}, {Make("str:hi"), "hi"},
      {Make("int:-7"), "-7"}, {Make("u32:4294967295"), "4294967295"}, {Make("dbl:0.5"), "0.5"},
      {Make("u64:18446744073709551615"), "18446744073709551615"}, {Make("bar:001FAB"), "001FAB"},
      {Make("dbl:2e7"), "20000000."},  // the exponent path's text is taken as it is
      {Make("dbl:0.05"), "5.0000000000000003e-2"},
      {Make("bar:" + hex64 + hex64.substr(0, 72)), hex64},  // bytes past the 64th do not show
  };
  for (const auto& [value, expected] : cases) {
    std::string out = "stale";
    const char* text = value.ToString(out);  // out's own characters
    EXPECT_EQ(text, out.c_str());
    EXPECT_EQ(out, expected);
  }
}

}  // namespace
