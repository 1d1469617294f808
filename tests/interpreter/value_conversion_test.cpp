// Element conversions between kinds (Value::AssignValue) and the text of a value.
#include <gtest/gtest.h>

#include "value_test_values.h"

namespace {

using value_test::Describe;
using value_test::Make;
using value_test::Typed;

// The destination kind, the source, and the destination's element after the conversion
// or, for a refusal, the message.
struct ConversionCase {
  const char* destination;
  const char* source;
  const char* expected;
};

TEST(ValueConversion, EveryDestinationKindFromEverySourceKind) {
  const std::string kAction = "Value::AssignValue () - ";
  const ConversionCase cases[] = {
      {"str", "str:ab", "str:ab"}, {"str", "int:-5", "str:-5"},
      {"str", "u32:4294967295", "str:4294967295"},
      {"str", "u64:18446744073709551615", "str:18446744073709551615"},
      {"str", "dbl:0.5", "str:0.5"}, {"str", "dbl:0.1", "str:0.10000000000000001"},
      {"str", "dbl:0.001", "str:1e-3"}, {"str", "dbl:2e7", "unable to convert double to string."},
      {"str", "bar:01", "unable to convert varray to string."},
      {"str", "unset", "unsupported action."},

      {"int", "int:-7", "int:-7"}, {"int", "u32:4294967295", "int:-1"},
      {"int", "u64:0x100000005", "int:5"}, {"int", "dbl:3.9", "int:3"},
      {"int", "dbl:-3.9", "int:-3"}, {"int", "dbl:3e10", "int:-2147483648"},
      {"int", "dbl:nan", "int:-2147483648"}, {"int", "dbl:-2147483648.9", "int:-2147483648"},
      {"int", "dbl:2147483647.9", "int:2147483647"}, {"int", "str:  42abc", "int:42"},
      {"int", "str:-2147483649", "int:2147483647"},
      {"int", "str:abc", "problem converting string to int."},
      {"int", "bar:01", "can't convert barray to int."}, {"int", "unset", "unsupported action."},

      {"dbl", "int:-3", "dbl:-3"}, {"dbl", "u32:4294967295", "dbl:-1"},
      {"dbl", "u64:18446744073709551615", "dbl:1.8446744073709552e+19"},
      // 2^63 + 1025 goes through the signed value and the added 2^64, landing on 2^63.
      {"dbl", "u64:9223372036854776833", "dbl:9.2233720368547758e+18"},
      {"dbl", "dbl:1.5", "dbl:1.5"}, {"dbl", "str: -2.5e3x", "dbl:-2500"},
      {"dbl", "str:x", "problem converting string to double."},
      {"dbl", "bar:01", "can't convert barray to double."}, {"dbl", "unset", "unsupported action."},

      {"u64", "int:-1", "u64:18446744073709551615"},
      {"u64", "u32:4294967295", "u64:18446744073709551615"},
      {"u64", "dbl:1e19", "u64:10000000000000000000"},
      {"u64", "dbl:2e19", "u64:9223372036854775808"}, {"u64", "dbl:nan", "u64:9223372036854775808"},
      {"u64", "dbl:-1.5", "u64:18446744073709551615"},
      {"u64", "dbl:-1e19", "u64:9223372036854775808"},
      {"u64", "u64:12345678901234567890", "u64:12345678901234567890"},
      {"u64", "str:18446744073709551617", "u64:1"},
      {"u64", "str:-1", "u64:18446744073709551615"},
      {"u64", "str:", "problem converting string to uint64."},
      {"u64", "bar:01", "can't convert barray to uint64."}, {"u64", "unset", "unsupported action."},

      {"u32", "int:-1", "u32:4294967295"}, {"u32", "u64:0x1FFFFFFFF", "u32:4294967295"},
      {"u32", "dbl:4294967295", "u32:4294967295"}, {"u32", "dbl:-1", "u32:4294967295"},
      {"u32", "dbl:4294967296", "u32:0"}, {"u32", "dbl:3e10", "u32:4230196224"},
      {"u32", "str:4294967296", "u32:0"}, {"u32", "str:-1", "u32:4294967295"},
      {"u32", "str:-", "problem converting string to uint32."},
      {"u32", "bar:01", "can't convert barray to uint32."}, {"u32", "unset", "unsupported action."},

      {"bar", "bar:01FF", "bar:01FF"},
      {"bar", "str:01", "barray can only be assigned with another barray."},
      {"bar", "int:1", "barray can only be assigned with another barray."},
      {"bar", "unset", "barray can only be assigned with another barray."},
      {"unset", "int:1", "unsupported action."}, {"k6", "int:1", "unsupported action."},
      {"int", "k6", "unsupported action."},
  };
  for (const ConversionCase& c : cases) {
    SCOPED_TRACE(std::string(c.destination) + " from " + c.source);
    Value destination = Make(c.destination);
    std::string err = "old";
    const bool refused = std::string(c.expected).find(':') == std::string::npos;
    ASSERT_EQ(destination.AssignValue(Make(c.source), &err, true, 0, 0), !refused);
    EXPECT_EQ(err, refused ? kAction + c.expected : "old");
    EXPECT_EQ(destination.HasStorage(), !refused);  // a refusal leaves the destination alone
    if (!refused) {
      EXPECT_EQ(Describe(destination), c.expected);
    }
  }
}

TEST(ValueConversion, ImmediateSourceDemandedWithoutAllowRef) {
  Value variable = Make("int:3");
  variable.id = 5;
  Value destination = Typed(kKindInt);
  std::string err;
  EXPECT_FALSE(destination.AssignValue(variable, nullptr, false, 0, 0));
  const Value unset;
  for (const Value* source : {static_cast<const Value*>(&variable), &unset}) {
    err.clear();
    EXPECT_FALSE(destination.AssignValue(*source, &err, false, 0, 0));
    EXPECT_EQ(err, "Value::AssignValue() passed in value must be immediate.");
  }
  EXPECT_TRUE(destination.AssignValue(variable, &err, true, 0, 0));
  EXPECT_EQ(Describe(destination), "int:3");
}

TEST(ValueConversion, ElementsOutsideEitherValueAreRefused) {
  Value numbers = Typed(kKindInt, 3);
  std::string err = "old";
  EXPECT_TRUE(numbers.AssignValue(Make("int:9"), &err, true, 2, 0));
  EXPECT_EQ(Describe(numbers, 2) + Describe(numbers, 1), "int:9int:0");
  EXPECT_FALSE(numbers.AssignValue(Make("int:9"), &err, true, 3, 0));
  EXPECT_FALSE(numbers.AssignValue(Make("int:9"), &err, true, 0, 1));
  EXPECT_FALSE(numbers.AssignValue(Typed(kKindInt, 0), &err, true, 0, 0));
  EXPECT_EQ(err, "old");

  // A string source is read at every text it holds, even past its count; a string
  // destination grows to the index, also within the same Value.
  Value texts = Make("str:a");
  texts.SetString(3, "d");
  EXPECT_TRUE(texts.AssignValue(texts, nullptr, true, 700, 3));
  EXPECT_FALSE(texts.AssignValue(texts, nullptr, true, 0, 701));
  EXPECT_EQ(Describe(texts, 700) + "/" + std::to_string(texts.TextCount()), "str:d/701");

  Value arrays = Typed(kKindBarray, 2);
  arrays.SetByteArray(0, {0xAB});
  EXPECT_TRUE(arrays.AssignValue(arrays, nullptr, true, 1, 0));
  EXPECT_EQ(Describe(arrays, 1), "bar:AB");
  EXPECT_FALSE(arrays.AssignValue(arrays, nullptr, true, 2, 0));
  EXPECT_FALSE(arrays.AssignValue(arrays, nullptr, true, 0, 2));
}

TEST(ValueConversion, TextOfAValueIsItsElementZero) {
  std::string hex64;
  for (int i = 0; i < 64; ++i) hex64 += "5A";
  Value hundredBytes = Make("bar:" + hex64 + hex64.substr(0, 72));
  const std::pair<Value, std::string> cases[] = {
      {Value(), ""}, {Typed(kKindString), ""}, {Typed(kKindInt, 0), "0"},
      {Make("str:hi"), "hi"}, {Make("int:-7"), "-7"}, {Make("u32:4294967295"), "4294967295"},
      {Make("u64:18446744073709551615"), "18446744073709551615"}, {Make("dbl:0.5"), "0.5"},
      {Make("dbl:2e7"), "20000000."},  // the exponent path's text is taken as it is
      {Make("dbl:0.05"), "5.0000000000000003e-2"}, {Make("bar:001FAB"), "001FAB"},
      {std::move(hundredBytes), hex64},  // bytes past the 64th do not show
  };
  for (const auto& [value, expected] : cases) {
    std::string out = "stale";
    const char* text = value.ToString(out);
    EXPECT_EQ(text, out.c_str());
    EXPECT_EQ(out, expected);
  }
}

}  // namespace
