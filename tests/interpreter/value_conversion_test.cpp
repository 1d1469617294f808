// Element conversions between kinds (Value::AssignValue), the decimal readers behind them,
// and the text of a value.
#include <gtest/gtest.h>

#include "value_forms.h"

namespace {

using value_forms::Describe;
using value_forms::Make;

// Each row: the source, " > ", and either the destination afterwards (its kind letter names
// the destination) or the destination's kind letter, " ! " and the refusal's message after
// "Value::AssignValue () - ". A refusal leaves the destination without storage.
TEST(ValueConversion, EveryDestinationKindFromEverySourceKind) {
  const char* const cases[] = {
      "s:ab > s:ab", "i:-5 > s:-5", "d:0.5 > s:0.5", "u:4294967295 > s:4294967295",
      "q:18446744073709551615 > s:18446744073709551615", "d:0.001 > s:1e-3", "d:0.1 > s:0.10000000000000001",
      "d:2e7 > s ! unable to convert double to string.", "b:01 > s ! unable to convert varray to string.",
      // Into 32-bit words: doubles truncate (out of range: -2^31), uint64 gives its low word.
      "i:-7 > i:-7", "u:4294967295 > i:-1", "q:0x100000005 > i:5", "d:3.9 > i:3", "d:-3.9 > i:-3",
      "d:3e10 > i:-2147483648", "d:nan > i:-2147483648", "d:-2147483648.9 > i:-2147483648",
      "d:2147483647.9 > i:2147483647", "i:-1 > u:4294967295", "q:0x1FFFFFFFF > u:4294967295",
      "d:-1 > u:4294967295", "d:4294967295 > u:4294967295", "d:4294967296 > u:0", "d:3e10 > u:4230196224",
      "b:01 > i ! can't convert barray to int.", "b:01 > u ! can't convert barray to uint32.",
      // Into doubles and uint64.
      "i:-3 > d:-3", "u:4294967295 > d:-1", "d:1.5 > d:1.5",
      "q:18446744073709551615 > d:1.8446744073709552e+19",
      // 2^63 + 1025 goes through the signed value and the added 2^64, landing on 2^63.
      "q:9223372036854776833 > d:9.2233720368547758e+18", "i:-1 > q:18446744073709551615",
      "u:4294967295 > q:18446744073709551615", "d:1e19 > q:10000000000000000000",
      "d:-1.5 > q:18446744073709551615", "d:2e19 > q:9223372036854775808", "d:nan > q:9223372036854775808",
      "d:-1e19 > q:9223372036854775808", "q:12345678901234567890 > q:12345678901234567890",
      "b:01 > d ! can't convert barray to double.", "b:01 > q ! can't convert barray to uint64.",
      // Texts read as numbers: white space, a sign, digits wrapping around the width (where
      // scanf would saturate), anything after the number ignored.
      "s:  42abc > i:42", "s:-2147483649 > i:2147483647", "s:\t\n\v\f\r+7 8 > i:7", "s:0x10 > i:0",
      "s:4294967296 > u:0", "s:-1 > u:4294967295", "s:99999999999999999999 > u:1661992959",
      "s:18446744073709551617 > q:1", "s:-1 > q:18446744073709551615",
      "s:99999999999999999999 > q:7766279631452241919", "s: -2.5e3x > d:-2500", "s:\t-.5 > d:-0.5",
      "s:abc > i ! problem converting string to int.", "s:+-1 > i ! problem converting string to int.",
      "s:- > u ! problem converting string to uint32.", "s: > q ! problem converting string to uint64.",
      "s:. > d ! problem converting string to double.", "s: - > d ! problem converting string to double.",
      // Byte arrays only from byte arrays; unset and unknown kinds on either side.
      "b:01FF > b:01FF", "s:01 > b ! barray can only be assigned with another barray.",
      "i:1 > b ! barray can only be assigned with another barray.",
      "- > b ! barray can only be assigned with another barray.", "- > s ! unsupported action.",
      "- > q ! unsupported action.", "i:1 > - ! unsupported action.", "i:1 > k ! unsupported action.",
      "k*1 > i ! unsupported action.",
  };
  for (const std::string c : cases) {
    SCOPED_TRACE(c);
    const size_t arrow = c.find(" > "), bang = c.find(" ! ");
    const bool done = bang == std::string::npos;
    const std::string expected = c.substr(arrow + 3, bang - arrow - 3);
    const std::string kind = expected.substr(0, 1);
    Value destination = Make(kind == "-" ? kind : kind + "*1");
    std::string err = "old";
    ASSERT_EQ(destination.AssignValue(Make(c.substr(0, arrow)), &err, true, 0, 0), done);
    EXPECT_EQ(err, done ? "old" : "Value::AssignValue () - " + c.substr(bang + 3));
    EXPECT_EQ(destination.HasStorage() ? Describe(destination) : "none",
              done ? Describe(Make(expected)) : "none");
  }
}

TEST(ValueConversion, ElementsOutsideEitherValueAreRefused) {
  Value numbers = Make("i*3");
  std::string err = "old";
  EXPECT_TRUE(numbers.AssignValue(Make("i:9"), &err, true, 2, 0));
  EXPECT_FALSE(numbers.AssignValue(Make("i:9"), &err, true, 3, 0) ||
               numbers.AssignValue(Make("i:9"), &err, true, 0, 1) ||
               numbers.AssignValue(Make("i*0"), &err, true, 0, 0));
  EXPECT_EQ(Describe(numbers) + err, Describe(Make("i:0,0,9")) + "old");
  // A string source is read at every text it holds, even past its count; a string
  // destination grows to the index, also within the same Value.
  Value texts = Make("s:a");
  texts.SetString(3, "d");
  EXPECT_TRUE(texts.AssignValue(texts, nullptr, true, 700, 3));
  EXPECT_FALSE(texts.AssignValue(texts, nullptr, true, 0, 701));
  EXPECT_EQ(texts.GetText(700) + "/" + std::to_string(texts.TextCount()), "d/701");
  Value arrays = Make("b*2");
  arrays.SetByteArray(0, {0xAB});
  EXPECT_TRUE(arrays.AssignValue(arrays, nullptr, true, 1, 0));
  EXPECT_EQ(arrays.GetBytes(1), ByteArray{0xAB});
  EXPECT_FALSE(arrays.AssignValue(arrays, nullptr, true, 2, 0) ||
               arrays.AssignValue(arrays, nullptr, true, 0, 2));
}

TEST(ValueConversion, TextOfAValueIsItsElementZero) {
  const std::string hex64(128, '5');  // 64 bytes 0x55
  const std::pair<Value, std::string> cases[] = {
      {Value(), ""}, {Make("s*1"), ""}, {Make("i*0"), "0"}, {Make("s:hi"), "hi"}, {Make("i:-7"), "-7"},
      {Make("u:4294967295"), "4294967295"}, {Make("d:0.5"), "0.5"},
      {Make("q:18446744073709551615"), "18446744073709551615"}, {Make("b:001FAB"), "001FAB"},
      {Make("d:2e7"), "20000000."},  // the exponent path's text is taken as it is
      {Make("d:0.05"), "5.0000000000000003e-2"},
      {Make("b:" + hex64 + hex64.substr(0, 72)), hex64},  // bytes past the 64th do not show
  };
  for (const auto& [value, expected] : cases) {
    std::string out = "stale";
    const char* text = value.ToString(out);  // out's own characters
    EXPECT_EQ(text, out.c_str());
    EXPECT_EQ(out, expected);
  }
}

}  // namespace
