// Natives 0 to 13 called directly: what each leaves in its output, and what it refuses.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <string_view>

#include "interpreter/natives/Natives.h"
#include "value_forms.h"

using namespace value_forms;

namespace {

struct Case {
  NativeFunction native;
  std::vector<std::string> args;  // every one used by the native
  bool ok;
  std::string output;  // the output argument afterwards, as a form for Make()
  size_t outputArg = 0;
};

// (A negative size throws out of NewByteArray: the request tests' aborted run.)
const Case kCases[] = {
    {NewByteArray, {"b:010203", "i:5"}, true, "b:0102030000"},
    {NewByteArray, {"b:010203", "q:0x100000002"}, true, "b:0102"},  // the low half of a uint64
    {NewByteArray, {"q:1,2,3", "-"}, true, "b:"},
    {NewByteArray, {"b:01", "s:5"}, false, "b:01"},

    {AppendIntegerBytes, {"b:ee", "q:0x0102030405060708", "u:3", "u:0"}, true, "b:ee080706"},
    {AppendIntegerBytes, {"b:ee", "q:0x0102030405060708", "u:3", "u:0xff00"}, true, "b:ee060708"},
    {AppendIntegerBytes, {"b:ee", "q:0x0102030405060708", "u:0", "u:1"}, true, "b:ee"},
    {AppendIntegerBytes, {"b:ee", "q:0x0102030405060708", "u:9", "u:0"}, false, "b:ee"},
    {AppendIntegerBytes, {"d*4", "i:0x04030201,0x08070605", "u:5", "-"}, true, "b:0102030405"},
    {AppendIntegerBytes, {"b:ee", "i:1", "u:1", "u:0"}, false, "b:ee"},  // 8-byte read of 4

    {AppendHexBytes, {"b:55", "s:0aFf", "u:0"}, true, "b:550aff"},
    {AppendHexBytes, {"b:55", "s:G0", "u:0"}, true, "b:5570"},  // 'G' counts as 71
    {AppendHexBytes, {"b:55", "s:0a1b2", "u:1"}, true, "b:551b0a"},  // the odd one is dropped
    {AppendHexBytes, {"b:55", "s*1", "u:0"}, true, "b:55"},
    {AppendHexBytes, {"b:55", "b:0a", "u:0"}, false, "b:55"},
    {AppendHexBytes, {"s:x", "s:0a", "u:0"}, false, "s:x"},  // outputs of another kind
    {AppendHexBytes, {"b#0", "s:0a", "u:0"}, false, "b#0"},  // and a barray of no elements

    {AppendText, {"s:ab", "i:42"}, true, "s:ab42"},
    {AppendText, {"s*3", "-"}, true, "s:"},
    {AppendText, {"-", "b:ab"}, true, "s:AB"},
    {AppendText, {"b:01", "i:1"}, false, "b:01"},

    {FileExists, {"s:/", "q:0x5555555555555555"}, true, "q:0x5555555500000001", 1},
    {FileExists, {"s:", "u*1"}, true, "u:0", 1},

    // 'timelock' hashed with seed N, then N - 1 hashes of the 16 bytes before, seeded 1, 2, ...
    {HashBytes, {"q*1", "b:74696d656c6f636b", "q:0"}, true, "q:0x80ca9d5effc290ca"},
    {HashBytes, {"q*1", "b:74696d656c6f636b", "q:1"}, true, "q:0x337068b48a2cd754"},
    {HashBytes, {"u*2", "b:74696d656c6f636b", "q:3"}, true, "u:0x27baaf0f,0xe6360eb3"},
    {HashBytes, {"u:0", "b:01", "q:1"}, false, "u:0"},
    {HashBytes, {"s:x", "b:01", "q:1"}, false, "s:x"},

    {CopyBytesToStorage, {"q:0", "b:0102030405060708"}, true, "q:0x0807060504030201"},
    {CopyBytesToStorage, {"u:0,0", "b:010203040506070809"}, false, "u:0,0"},
    {CopyBytesToStorage, {"q*4", "b:01"}, false, "q*4"},  // storage is never made
    {CopyBytesToStorage, {"u:7", "b*1"}, true, "u:7"},

    {HexToWords, {"u*3", "s:010203", "u:0"}, true, "u:0x30201,0,0"},  // no whole word
    {HexToWords, {"u*4", "s:0102030a000000020b", "u:1"}, true, "u:0,0x102030a,2,0xb"},
    {HexToWords, {"u*3", "s:abc", "u:0"}, true, "u:0xc0ab,0,0"},
    {HexToWords, {"i:0x55", "s:0102030a01", "u:0"}, false, "i:0x55"},
    {HexToWords, {"q:5", "s:", "u:2"}, false, "q:5"},  // start above count + L / 2

    {ByteArrayLength, {"q:0xaaaaaaaa00000000", "b:010203", "u:0"}, true, "q:0xaaaaaaaa00000003"},
    {ByteArrayLength, {"u:9", "b*3", "u:2"}, true, "u:0"},
    {ByteArrayLength, {"u:9", "b:010203", "u:1"}, false, "u:9"},

    {CopyByteRange, {"u*1", "b:010203040506", "u:2", "u:4"}, true, "u:0x6050403"},
    {CopyByteRange, {"u*1", "b:010203040506", "u:3", "u:4"}, false, "u*1"},
    {CopyByteRange, {"u*1", "b:010203040506", "u:0", "u:5"}, false, "u*1"},
    {CopyByteRange, {"u*1", "b:010203040506", "u:0xffffffff", "u:2"}, false, "u*1"},
    {CopyByteRange, {"u*1", "s:ab", "u:0", "u:0"}, false, "u*1"},

    {FillStorage, {"u:0,0", "i:0x1ab", "u:0", "u:8"}, true, "u:0xabababab,0xabababab"},
    {FillStorage, {"u:0,0", "i:0x1ab", "u:7", "u:2"}, false, "u:0,0"},
    {FillStorage, {"u:0,0", "i:0x1ab", "u:0xffffffff", "u:1"}, false, "u:0,0"},
    {FillStorage, {"q*2", "i:0xff", "u:8", "u:8"}, true, "q:0,0xffffffffffffffff"},
    {FillStorage, {"q*2", "i:0xff", "u:0", "u:9"}, false, "q*2"},  // at most 4 bytes an element
    {FillStorage, {"u:0", "q#0", "u:0", "u:0"}, false, "u:0"},  // nothing to read

    {CopyWordsToBytes, {"b:eeeeeeeeee", "u:1,0x8070605", "u:1", "u:1"}, true, "b:05060708ee"},
    {CopyWordsToBytes, {"b:eeeeeeeeee", "i*4", "u:3", "u:1"}, true, "b:00000000ee"},
    {CopyWordsToBytes, {"b:eeeeeeee", "q:0x0807060504030201", "u:0", "u:1"}, true, "b:01020304"},
    {CopyWordsToBytes, {"i*1", "u:1,2", "u:0", "u:2"}, false, "b:"},  // made before the tests
    {CopyWordsToBytes, {"b:eeeeeeee", "u:1,2", "u:0xffffffff", "u:1"}, false, "b:eeeeeeee"},
    {CopyWordsToBytes, {"u:1", "u:1", "u:0", "u:0"}, false, "u:1"},

    {Log, {"d*1", "d:1"}, true, "d:0"},
    {Log, {"d*1", "-"}, true, "d:-inf"},
    {Exp, {"i*2", "d:0"}, true, "i:0,0x3ff00000"},
    {Exp, {"u:7", "d:0"}, false, "u:7"},  // an int or uint32 output needs 8 bytes
};

TEST(Natives, OutputsAndRefusals) {
  for (size_t i = 0; i < std::size(kCases); ++i) {
    const Case& c = kCases[i];
    // Any one argument fewer is refused; one more than used is ignored.
    for (size_t given = 0; c.ok && given < c.args.size(); ++given) {
      std::vector<Value> some = MakeAll({c.args.begin(), c.args.begin() + given});
      EXPECT_FALSE(Call(c.native, some)) << "case " << i << " with " << given;
    }
    std::vector<Value> values = MakeAll(c.args);
    values.push_back(Make("u:9"));
    EXPECT_EQ(Call(c.native, values), c.ok) << "case " << i;
    EXPECT_EQ(Describe(values[c.outputArg]), Describe(Make(c.output))) << "case " << i;
  }
}

// A program's path is Windows-1252 text; the disk holds the name as UTF-8.
TEST(Natives, FileExistsFindsANameAsTheDiskHoldsIt) {
  char folder[] = "/tmp/tarnvault-caf\xC3\xA9-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string_view made = folder;
  const size_t accent = made.find("\xC3\xA9");
  const std::string path =
      std::string(made.substr(0, accent)).append(1, '\xE9').append(made.substr(accent + 2));
  for (const auto& [name, found] : {std::pair{path, "u:1"}, {path + "/none", "u:0"}}) {
    std::vector<Value> values = MakeAll({"s:" + name, "u:7"});
    EXPECT_TRUE(Call(FileExists, values));
    EXPECT_EQ(Describe(values[1]), Describe(Make(found))) << name;
  }
  rmdir(folder);
}

TEST(Natives, SameVariableInTwoRoles) {
  Value text = Make("s:ab"), words = Make("u*4"), zero = Make("u:0");
  NativeArgs twice(NativeArgs::KeepIdOrder), wordsTwice(NativeArgs::KeepIdOrder);
  for (Value* v : {&text, &text}) twice.Add(v);
  for (Value* v : {&words, &words, &zero, &zero}) wordsTwice.Add(v);
  EXPECT_TRUE(AppendText(&twice));
  EXPECT_EQ(text.GetText(0), "abab");
  EXPECT_FALSE(CopyWordsToBytes(&wordsTwice));  // the words are a byte array when read
}

// A TimeLock file calls natives by index, so the order is part of the file format.
TEST(NativeTable, StandardNativesGoInIndexOrderIntoAnEmptyTableOnly) {
  const NativeTable saved = g_nativeTable;
  g_nativeTable.clear();
  RegisterStandardNatives();
  RegisterStandardNatives();
  EXPECT_EQ(g_nativeTable,
            (NativeTable{NewByteArray, AppendIntegerBytes, AppendHexBytes, AppendText, FileExists, HashBytes,
                         CopyBytesToStorage, HexToWords, ByteArrayLength, CopyByteRange, FillStorage,
                         CopyWordsToBytes, Log, Exp, TimeLockTextToBytes, TimeLockBytesToText}));
  g_nativeTable = saved;
}

}  // namespace
