// Natives 0 to 13 called directly: what each leaves in its output, and what it refuses.
#include <gtest/gtest.h>

#include <stdexcept>

#include "interpreter/MurmurHash3.h"
#include "interpreter/Natives.h"
#include "natives_values.h"

using namespace natives_test;

namespace {

struct Case {
  NativeFunction native;
  std::vector<std::string> args;
  bool ok;
  std::string output;  // Describe() of the output argument afterwards
  size_t outputArg = 0;
};

const Case kCases[] = {
    {NewByteArray, {"b:010203", "i:5"}, true, "b:0102030000"},
    {NewByteArray, {"b:010203", "i:2"}, true, "b:0102"},
    {NewByteArray, {"q:1,2,3", "-"}, true, "b:"},
    {NewByteArray, {"b:01", "s:5"}, false, "b:01"},

    {AppendIntegerBytes, {"b:ee", "q:0x0102030405060708", "u:3", "u:0"}, true, "b:ee080706"},
    {AppendIntegerBytes, {"b:ee", "q:0x0102030405060708", "u:3", "u:0xff00"}, true, "b:ee060708"},
    {AppendIntegerBytes, {"b:ee", "q:0x0102030405060708", "u:0", "u:1"}, true, "b:ee"},
    {AppendIntegerBytes, {"b:ee", "q:0x0102030405060708", "u:9", "u:0"}, false, "b:ee"},
    {AppendIntegerBytes, {"d*4", "i:0x04030201,0x08070605", "u:5", "-"}, true, "b:0102030405"},
    {AppendIntegerBytes, {"b:ee", "i:1", "u:1", "u:0"}, false, "b:ee"},

    {AppendHexBytes, {"b:55", "s:0aFf", "u:0"}, true, "b:550aff"},
    {AppendHexBytes, {"b:55", "s:0aFf", "u:1"}, true, "b:55ff0a"},
    {AppendHexBytes, {"b:55", "s:G0", "u:0"}, true, "b:5570"},  // 'G' counts as 71
    {AppendHexBytes, {"b:55", "s:0a1", "u:0"}, true, "b:550a"},  // the odd character is dropped
    {AppendHexBytes, {"b:55", "s:0a1b2", "u:1"}, true, "b:551b0a"},

    {AppendText, {"s:ab", "i:42"}, true, "s:ab42"},
    {AppendText, {"d*3", "i:42"}, true, "s:42"},
    {AppendText, {"s*3", "i:42"}, true, "s:42"},
    {AppendText, {"-", "b:ab"}, true, "s:AB"},

    {FileExists, {"s:/", "q:0x5555555555555555"}, true, "q:0x5555555500000001", 1},
    {FileExists, {"s:", "q:0x5555555555555555"}, true, "q:0x5555555500000000", 1},
    {FileExists, {"s:/no-such-folder/natives", "u*1"}, true, "u:0", 1},

    {HashBytes, {"u:0", "b:01", "q:1"}, false, "u:0"},
    {HashBytes, {"q:0", "b:01", "i:2"}, false, "q:0"},

    {CopyBytesToStorage, {"u:0xaaaaaaaa,0xbbbbbbbb", "b:0102030405"}, true,
     "u:0x4030201,0xbbbbbb05"},
    {CopyBytesToStorage, {"u:0,0", "b:010203040506070809"}, false, "u:0,0"},
    {CopyBytesToStorage, {"q*4", "b:01"}, false, "q*4"},  // storage is never made

    {HexToWords, {"u*3", "s:0102030a", "u:0"}, true, "u:0x102030a,0,0"},
    {HexToWords, {"u*3", "s:010203", "u:0"}, true, "u:0x30201,0,0"},  // no whole word
    {HexToWords, {"u*3", "s:0102030a0b", "u:1"}, true, "u:0,0x102030a,0xb"},
    {HexToWords, {"u*3", "s:abc", "u:0"}, true, "u:0xc0ab,0,0"},
    {HexToWords, {"q*1", "s:0000000100000002", "u:0"}, true, "q:0x200000001"},
    {HexToWords, {"i:0x55", "s:0102030a01", "u:0"}, false, "i:0x55"},
    {HexToWords, {"q:5", "s:", "u:2"}, false, "q:0x5"},  // start above count + L / 2

    {ByteArrayLength, {"q:0xaaaaaaaa00000000", "b:010203", "u:0"}, true, "q:0xaaaaaaaa00000003"},
    {ByteArrayLength, {"u:9", "b*3", "u:2"}, true, "u:0"},
    {ByteArrayLength, {"u:9", "b:010203", "u:1"}, false, "u:0x9"},

    {CopyByteRange, {"u*1", "b:010203040506", "u:2", "u:4"}, true, "u:0x6050403"},
    {CopyByteRange, {"u*1", "b:010203040506", "u:3", "u:4"}, false, "u*1"},
    {CopyByteRange, {"u*1", "b:010203040506", "u:0", "u:5"}, false, "u*1"},
    {CopyByteRange, {"u*1", "b:010203040506", "u:0xffffffff", "u:2"}, false, "u*1"},

    {FillStorage, {"u:0,0", "i:0x1ab", "u:0", "u:8"}, true, "u:0xabababab,0xabababab"},
    {FillStorage, {"u:0,0", "i:0x1ab", "u:0", "u:9"}, false, "u:0,0"},
    {FillStorage, {"u:0,0", "i:0x1ab", "u:6", "u:2"}, true, "u:0,0xabab0000"},
    {FillStorage, {"u:0,0", "i:0x1ab", "u:7", "u:2"}, false, "u:0,0"},
    {FillStorage, {"u:0,0", "i:0x1ab", "u:0xffffffff", "u:1"}, false, "u:0,0"},
    {FillStorage, {"q*2", "i:0xff", "u:8", "u:8"}, true, "q:0,0xffffffffffffffff"},
    {FillStorage, {"q*2", "i:0xff", "u:0", "u:9"}, false, "q*2"},  // at most 4 bytes an element

    {CopyWordsToBytes, {"b:eeeeeeeeee", "u:1,0x8070605", "u:1", "u:1"}, true, "b:05060708ee"},
    {CopyWordsToBytes, {"b:eeeeeeeeee", "i*4", "u:3", "u:1"}, true, "b:00000000ee"},
    {CopyWordsToBytes, {"i*1", "u:1,2", "u:0", "u:2"}, false, "b:"},  // made before the tests
    {CopyWordsToBytes, {"b:eeeeeeee", "u:1,2", "u:1", "u:2"}, false, "b:eeeeeeee"},
    {CopyWordsToBytes, {"b:eeeeeeee", "u:1,2", "u:0xffffffff", "u:1"}, false, "b:eeeeeeee"},
    {CopyWordsToBytes, {"b:eeeeeeee", "q:0x0807060504030201", "u:0", "u:1"}, true, "b:01020304"},
    {CopyWordsToBytes, {"b:eeeeeeee", "q:0x0807060504030201", "u:1", "u:1"}, false, "b:eeeeeeee"},

    {Log, {"d*1", "d:1"}, true, "d:0"},
    {Log, {"d*1", "-"}, true, "d:-inf"},
    {Log, {"q*1", "i:0,0x3ff00000"}, true, "q:0"},  // two words hold the bits of 1.0
    {Exp, {"d*1", "d:0"}, true, "d:1"},
    {Exp, {"i*2", "d:0"}, true, "i:0,0x3ff00000"},
    {Exp, {"u:7", "d:0"}, false, "u:0x7"},
    {Exp, {"i*1", "d:0"}, false, "i*1"},
};

TEST(Natives, OutputsAndRefusals) {
  for (size_t i = 0; i < std::size(kCases); ++i) {
    const Case& c = kCases[i];
    std::vector<Value> values = MakeAll(c.args);
    EXPECT_EQ(Call(c.native, values), c.ok) << "case " << i;
    EXPECT_EQ(Describe(values[c.outputArg]), c.output) << "case " << i;
  }
}

TEST(Natives, SameVariableInTwoRoles) {
  Value text = Make("s:ab");
  ASSERT_TRUE(Call(AppendText, {&text, &text}));
  EXPECT_EQ(Describe(text), "s:abab");
  // The words argument is a byte array by the time it is read.
  Value both = Make("u*4"), zero = Make("u:0");
  EXPECT_FALSE(Call(CopyWordsToBytes, {&both, &both, &zero, &zero}));
}

TEST(Natives, NegativeByteArraySizeThrows) {
  std::vector<Value> values = MakeAll({"-", "i:-1"});
  EXPECT_THROW(Call(NewByteArray, values), std::length_error);
}

TEST(HashBytes, ChainsSixteenByteHashesSeededByTheirNumber) {
  const ByteArray data{'t', 'i', 'm', 'e', 'l', 'o', 'c', 'k', 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  for (uint64_t n : {0u, 1u, 2u, 3u, 1000u}) {
    // The data hashed with seed N, then N - 1 hashes of the 16 bytes before, seeded 1, 2, ...
    uint8_t h[16], next[16];
    MurmurHash3_x64_128(data.data(), 19, static_cast<uint32_t>(n), h);
    for (uint64_t i = 1; i < n; ++i) {
      MurmurHash3_x64_128(h, 16, static_cast<uint32_t>(i), next);
      std::copy(next, next + 16, h);
    }
    Value output = Make("u*2"), bytes = Make("b:"), count = Make("q:" + std::to_string(n));
    bytes.SetByteArray(0, data);
    ASSERT_TRUE(Call(HashBytes, {&output, &bytes, &count}));
    EXPECT_EQ(output.GetWord(0) | uint64_t{output.GetWord(1)} << 32, LoadLE64(h)) << n;
  }
}

}  // namespace
