// The time-lock pad, its walk, and the two natives built on them. Each native call that
// accepts its arguments builds a pad of 100 to 251 MB, so only a handful do.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "interpreter/MurmurHash3.h"
#include "interpreter/Natives.h"
#include "interpreter/natives/TimeLockPad.h"
#include "natives_values.h"

using namespace natives_test;

namespace {

TEST(TimeLockPad, SizeKeepsBitsZeroTo23And27OfH1) {
  // h1 of seed 4880903 ends in 0xAEFFFFFF: every kept bit set, and bits 24 to 26 that are not.
  const std::pair<uint64_t, uint32_t> cases[] = {
      {0, 239969472}, {0x0123456789ABCDEF, 107799632}, {4880903, 250994928}};
  for (const auto& [seed, padSize] : cases) {
    uint8_t seedBytes[8];
    StoreLE64(seedBytes, seed);
    EXPECT_EQ(TimeLockStartFor(seedBytes).padSize, padSize) << seed;
  }
}

TEST(TimeLockPad, EachBlockHashesTheOneBeforeSeededByItsFirstWord) {
  uint8_t state[16], block0[16], block1[16], pad[40];
  for (int i = 0; i < 16; ++i) state[i] = static_cast<uint8_t>(0xF0 + i);
  std::memset(pad, 0xCC, sizeof pad);
  ASSERT_TRUE(FillTimeLockPad(pad, sizeof pad, state));
  MurmurHash3_x64_128(state, 16, LoadLE32(state), block0);
  MurmurHash3_x64_128(block0, 16, LoadLE32(block0), block1);
  EXPECT_EQ(std::memcmp(pad, block0, 16), 0);
  EXPECT_EQ(std::memcmp(pad + 16, block1, 16), 0);
  EXPECT_EQ(ByteArray(pad + 32, pad + 40), ByteArray(8, 0xCC));  // no whole block left
}

// The walk written out step by step: which pad byte each data byte meets.
ByteArray ModelWalk(ByteArray data, const ByteArray& pad, const uint8_t state[16]) {
  uint8_t s[16];
  std::memcpy(s, state, 16);
  uint32_t previous = 0xFFFFFFFF;
  for (size_t i = 0; i < data.size(); ++i) {
    uint32_t index = MurmurHash3_x86_32(s, 16, 0) % pad.size();
    if (index == previous) index = static_cast<uint32_t>((index + 1) % pad.size());
    data[i] ^= pad[index];
    s[i % 16] = pad[index];
    previous = index;
  }
  return data;
}

TEST(TimeLockPad, WalkFollowsTheStateThatChosenPadBytesRewrite) {
  std::mt19937 rng(7);
  for (uint32_t padSize : {3u, 16u, 37u, 4096u}) {
    ByteArray pad(padSize), data(53);
    uint8_t state[16];
    for (uint8_t& b : pad) b = static_cast<uint8_t>(rng());
    for (uint8_t& b : data) b = static_cast<uint8_t>(rng());
    for (uint8_t& b : state) b = static_cast<uint8_t>(rng());
    ByteArray walked = data;
    WalkTimeLockPad(walked.data(), walked.size(), pad.data(), padSize, state);
    EXPECT_EQ(walked, ModelWalk(data, pad, state)) << padSize;
  }
}

TEST(TimeLockPad, TwoPadBytesAlternateFromTheFirstHashedIndex) {
  // Every later index repeats the one before and moves on, wrapping from 1 to 0; only the
  // first byte keeps its hashed index, whichever it is.
  const ByteArray pad{0x11, 0x22};
  for (uint32_t firstIndex : {0u, 1u}) {
    uint8_t state[16] = {};
    while (MurmurHash3_x86_32(state, 16, 0) % 2 != firstIndex) ++state[0];
    ByteArray data(5, 0);
    WalkTimeLockPad(data.data(), data.size(), pad.data(), 2, state);
    const ByteArray fromZero{0x11, 0x22, 0x11, 0x22, 0x11}, fromOne{0x22, 0x11, 0x22, 0x11, 0x22};
    EXPECT_EQ(data, firstIndex == 0 ? fromZero : fromOne);
  }
}

std::string BytesToText(const std::string& seed, const ByteArray& bytes) {
  Value seedValue = Make(seed), input = Make("b:"), output = Make("s:previous text");
  input.SetByteArray(0, bytes);
  EXPECT_TRUE(Call(TimeLockBytesToText, {&seedValue, &input, &output}));
  return output.GetText(0);
}

TEST(TimeLockNatives, BytesToTextUndoesTextToBytesUnderTheSameSeed) {
  const std::string text = "Pay to the order of block 840000 \x01\xFF";
  std::vector<Value> values = MakeAll({"q:0x0123456789ABCDEF", "s:" + text, "-"});
  ASSERT_TRUE(Call(TimeLockTextToBytes, values));
  const ByteArray bytes = values[2].GetBytes(0);
  ASSERT_EQ(bytes.size(), text.size());
  EXPECT_NE(std::string(bytes.begin(), bytes.end()), text);

  EXPECT_EQ(BytesToText("q:0x0123456789ABCDEF", bytes), text);
  EXPECT_NE(BytesToText("q:0x8123456789ABCDEF", bytes), text);
  ByteArray cut = bytes;  // byte 2 now turns into 0, which ends the text
  cut[2] ^= static_cast<uint8_t>(text[2]);
  EXPECT_EQ(BytesToText("q:0x0123456789ABCDEF", cut), text.substr(0, 2));
}

TEST(TimeLockNatives, SeedWithoutStorageIsSeedZero) {
  std::vector<Value> noSeed = MakeAll({"-", "s:abc", "b:0909090909"});
  std::vector<Value> zeroSeed = MakeAll({"q:0", "s:abc", "d*2"});
  ASSERT_TRUE(Call(TimeLockTextToBytes, noSeed));
  ASSERT_TRUE(Call(TimeLockTextToBytes, zeroSeed));
  EXPECT_EQ(noSeed[2].GetBytes(0).size(), 3u);
  EXPECT_EQ(Describe(noSeed[2]), Describe(zeroSeed[2]));
  EXPECT_EQ(BytesToText("-", {}), "");
}

TEST(TimeLockNatives, RefuseArgumentsOfOtherRolesBeforeBuildingAPad) {
  const std::vector<std::string> textToBytes[] = {
      {"s:1", "s:abc", "b:"}, {"i:1", "s:abc", "b:"}, {"q:1", "b:01", "b:"},
      {"q:1", "-", "b:"},     {"q:1", "s:abc", "s:"}};
  const std::vector<std::string> bytesToText[] = {
      {"b:01", "b:01", "s:"}, {"q:1", "s:abc", "s:"}, {"q:1", "b:01", "b:"},
      {"q:1", "b:01", "-"},   {"q:1", "b:01", "i:1"}};
  for (const auto& forms : textToBytes) {
    std::vector<Value> values = MakeAll(forms);
    EXPECT_FALSE(Call(TimeLockTextToBytes, values)) << testing::PrintToString(forms);
  }
  for (const auto& forms : bytesToText) {
    std::vector<Value> values = MakeAll(forms);
    EXPECT_FALSE(Call(TimeLockBytesToText, values)) << testing::PrintToString(forms);
  }
}

}  // namespace
