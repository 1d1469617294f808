#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "interpreter/ProgramContext.h"

namespace {

// The definition: bit k is bit k mod 8 of byte k div 8 XOR its key byte, the first bit read
// least significant; a field must end inside both the bit length and the bytes.
bool ReferenceRead(const ProgramContext& c, uint64_t& pos, uint32_t n, uint64_t& value) {
  if (pos + n > std::min<uint64_t>(c.bitLength, c.program->size() * 8)) return false;
  value = 0;
  for (uint32_t i = 0; i < n; ++i, ++pos) {
    uint8_t byte = (*c.program)[pos / 8];
    if (c.keyStream != nullptr) byte ^= (*c.keyStream)[(pos / 8) % c.keyStream->size()];
    value |= static_cast<uint64_t>((byte >> (pos % 8)) & 1) << i;
  }
  return true;
}

void ExpectLikeReference(const ProgramContext& c, uint64_t pos, uint32_t n) {
  uint64_t refPos = pos, ref = 0, value = 0;
  const bool refOk = ReferenceRead(c, refPos, n, ref);
  ASSERT_EQ(c.ReadBits(pos, n, value), refOk) << "pos " << pos << " n " << n;
  EXPECT_EQ(pos, refOk ? refPos : pos);
  if (refOk) {
    EXPECT_EQ(value, ref) << "pos " << pos - n << " n " << n;
  }
}

TEST(ProgramBitsTest, WordReadsMatchTheBitByBitDefinition) {
  std::mt19937_64 rng(20240611);
  std::vector<uint8_t> keyStream(65536);
  for (uint8_t& b : keyStream) b = static_cast<uint8_t>(rng());
  // Short programs (fewer bytes than a word), and one of 70,000 bytes, past the stream's wrap.
  for (size_t size : {1, 5, 8, 9, 17, 40, 70000}) {
    std::vector<uint8_t> program(size);
    for (uint8_t& b : program) b = static_cast<uint8_t>(rng());
    const uint64_t bits = size * 8;
    for (int variant = 0; variant < 4; ++variant) {
      ProgramContext c;
      c.program = &program;
      c.keyStream = variant == 0 ? nullptr : &keyStream;
      // A bit length inside the last byte, or one that claims more than the bytes hold.
      c.bitLength = variant == 2 ? bits - rng() % 8 : variant == 3 ? bits + 64 : bits;
      // Anywhere, near the end, and across the key stream's wrap.
      const uint64_t near[3] = {0, bits > 80 ? bits - 80 : 0, bits > 524288 ? 524288u - 80 : 0};
      for (int i = 0; i < 3000; ++i) {
        const uint64_t pos = near[i % 3] + rng() % (i % 3 == 0 ? bits + 2 : 160);
        ExpectLikeReference(c, pos, static_cast<uint32_t>(1 + rng() % 64));
      }
      const uint64_t end = std::min(c.bitLength, bits);  // fields ending on the last bit
      for (uint32_t n = 1; n <= 64 && n <= end; ++n) ExpectLikeReference(c, end - n, n);
    }
  }
}

TEST(ProgramBitsTest, FlagsFieldsAndWidthCodes) {
  const std::vector<uint8_t> bits101{0x05};
  ProgramContext c;
  c.program = &bits101;
  c.bitLength = 8;
  uint64_t pos = 0, value = 0, flag = 0;
  ASSERT_TRUE(c.ReadBits(pos, 3, value));
  EXPECT_EQ(value, 5u);
  for (uint64_t at = 0; uint64_t expected : {1u, 0u, 1u}) {
    ASSERT_TRUE(c.ReadBits(at, 1, flag));
    EXPECT_EQ(flag, expected);
  }

  const uint32_t widths[8] = {8, 12, 16, 24, 32, 48, 56, 63};
  for (uint32_t code = 0; code < 8; ++code) {
    // The code, then ones: only the code's width of them belongs to the number.
    std::vector<uint8_t> program(12, 0xFF);
    program[0] = static_cast<uint8_t>(0xF8 | code);
    c.program = &program;
    c.bitLength = program.size() * 8;
    pos = 0;
    ASSERT_TRUE(c.ReadVarWidth(pos, value));
    EXPECT_EQ(pos, 3 + widths[code]);
    EXPECT_EQ(value, (uint64_t{1} << widths[code]) - 1);
    c.bitLength = 3 + widths[code] - 1;  // its last bit cut off: fails, position unchanged
    pos = 0;
    EXPECT_FALSE(c.ReadVarWidth(pos, value));
    EXPECT_EQ(pos, 0u);
  }
}

}  // namespace
