// The time-lock pad, its walk, and the two natives built on them. Each native call that
// accepts its arguments builds a pad of 100 to 251 MB, so only a handful do.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "interpreter/keys/MurmurHash3.h"
#include "interpreter/natives/Natives.h"
#include "interpreter/natives/TimeLockPad.h"
#include "value_forms.h"

using namespace value_forms;

namespace {

TEST(TimeLockPad, SizeAndBlocksFollowTheSeed) {
  // h1 of seed 4880903 ends in 0xAEFFFFFF: every kept bit set, and bits 24 to 26 that are not.
  const std::pair<uint64_t, uint32_t> sizes[] = {
      {0, 239969472}, {0x0123456789ABCDEF, 107799632}, {4880903, 250994928}};
  for (const auto& [seed, padSize] : sizes) {
    uint8_t seedBytes[8];
    StoreLE64(seedBytes, seed);
    EXPECT_EQ(TimeLockStartFor(seedBytes).padSize, padSize) << seed;
  }
  // Each block hashes the one before (the first: the state), seeded by its first 4 bytes.
  uint8_t chain[48] = {0xF0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  for (uint8_t* b = chain; b < chain + 32; b += 16) MurmurHash3_x64_128(b, 16, LoadLE32(b), b + 16);
  ByteArray pad(40, 0xCC);
  ASSERT_TRUE(FillTimeLockPad(pad.data(), 40, chain));
  EXPECT_EQ(ByteArray(pad.begin(), pad.begin() + 32), ByteArray(chain + 16, chain + 48));
  EXPECT_EQ(ByteArray(pad.begin() + 32, pad.end()), ByteArray(8, 0xCC));  // no whole block left
}

TEST(TimeLockPad, WalkFollowsTheStateThatChosenPadBytesRewrite) {
  // Against the walk written out step by step, on small random pads: the first byte keeps its
  // hashed index, a later one moves on by one (P - 1 to 0) when it repeats the one before.
  std::mt19937 rng(7);
  for (uint32_t padSize : {1u, 2u, 2u, 2u, 3u, 37u, 4096u}) {
    ByteArray pad(padSize), data(40), state(16);
    for (ByteArray* b : {&pad, &data, &state}) std::generate(b->begin(), b->end(), std::ref(rng));
    ByteArray walked = data, s = state;
    WalkTimeLockPad(walked.data(), walked.size(), pad.data(), padSize, state.data());
    for (uint32_t i = 0, previous = 0xFFFFFFFF; i < data.size(); ++i) {
      uint32_t index = MurmurHash3_x86_32(s.data(), 16, 0) % padSize;
      if (index == previous) index = (index + 1) % padSize;
      data[i] ^= pad[index];
      s[i % 16] = pad[index];
      previous = index;
    }
    EXPECT_EQ(walked, data) << padSize;
  }
}

std::string BytesToText(const std::string& seed, const ByteArray& bytes) {
  std::vector<Value> values = MakeAll({seed, "b:", "s:previous text"});
  values[1].SetByteArray(0, bytes);
  EXPECT_TRUE(Call(TimeLockBytesToText, values));
  return values[2].GetText(0);
}

TEST(TimeLockNatives, BytesToTextUndoesTextToBytesUnderTheSameSeed) {
  // Made without a seed, undone with seed 0: a seed without storage is seed 0.
  const std::string text = "Pay to the order of block 840000 \x01\xFF";
  std::vector<Value> values = MakeAll({"-", "s:" + text, "b:0909"});
  ASSERT_TRUE(Call(TimeLockTextToBytes, values));
  const ByteArray bytes = values[2].GetBytes(0);
  ASSERT_EQ(bytes.size(), text.size());
  EXPECT_NE(std::string(bytes.begin(), bytes.end()), text);

  EXPECT_EQ(BytesToText("q:0", bytes), text);
  EXPECT_NE(BytesToText("q:0x8000000000000000", bytes), text);
  ByteArray cut = bytes;  // byte 2 now turns into 0, which ends the text
  cut[2] ^= static_cast<uint8_t>(text[2]);
  EXPECT_EQ(BytesToText("q:0", cut), text.substr(0, 2));
  EXPECT_EQ(BytesToText("-", {}), "");
}

TEST(TimeLockNatives, RefuseMissingArgumentsAndOtherRolesBeforeBuildingAPad) {
  const auto t2b = TimeLockTextToBytes, b2t = TimeLockBytesToText;
  const std::pair<NativeFunction, std::vector<std::string>> refused[] = {
      {t2b, {"s:1", "s:abc", "b:"}}, {t2b, {"i:1", "s:abc", "b:"}}, {t2b, {"q:1", "b:01", "b:"}},
      {t2b, {"q:1", "-", "b:"}},     {t2b, {"q:1", "s:abc", "s:"}}, {t2b, {"q:1", "s:abc"}},
      {b2t, {"b:01", "b:01", "s:"}}, {b2t, {"q:1", "s:abc", "s:"}}, {b2t, {"q:1", "b:01", "b:"}},
      {b2t, {"q:1", "b:01", "-"}},   {b2t, {"q:1", "b:01", "i:1"}}, {b2t, {"q:1", "b:01"}},
  };
  for (const auto& [native, forms] : refused) {
    for (size_t given = 0; given <= forms.size(); ++given) {  // and every shorter list
      std::vector<Value> values = MakeAll({forms.begin(), forms.begin() + given});
      EXPECT_FALSE(Call(native, values)) << testing::PrintToString(forms) << " with " << given;
    }
  }
}

}  // namespace
