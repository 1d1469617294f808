#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "interpreter/program/ProgramContext.h"

namespace {

// Reads n bits at pos through the context and by the definition, one bit at a time: bit k is
// bit k mod 8 of byte k div 8 XOR its key byte, the first bit read least significant; a field
// must end inside both the bit length and the bytes, else the read fails and pos stays.
void ExpectLikeReference(const ProgramContext& c, uint64_t pos, uint32_t n) {
  const bool fits = pos + n <= std::min<uint64_t>(c.bitLength, c.program->size() * 8);
  uint64_t ref = 0, at = pos, value = 0;
  for (uint64_t k = pos; fits && k < pos + n; ++k) {
    uint8_t byte = (*c.program)[k / 8];
    if (c.keyStream != nullptr) byte ^= (*c.keyStream)[(k / 8) % c.keyStream->size()];
    ref |= static_cast<uint64_t>((byte >> (k % 8)) & 1) << (k - pos);
  }
  ASSERT_EQ(c.ReadBits(at, n, value), fits) << "pos " << pos << " n " << n;
  EXPECT_EQ(at, fits ? pos + n : pos) << "pos " << pos << " n " << n;
  EXPECT_EQ(value, ref) << "pos " << pos << " n " << n;  // a failed read leaves value alone
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
    // A bit length inside the last byte, or one that claims more than the bytes hold.
    for (const auto& [keyed, bitLength] : {std::pair{false, bits}, {true, bits},
                                           {true, bits - 3}, {true, bits + 64}}) {
      ProgramContext c;
      c.program = &program;
      c.keyStream = keyed ? &keyStream : nullptr;
      c.bitLength = bitLength;
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

TEST(ProgramBitsTest, WidthCodes) {
  std::vector<uint8_t> program;
  ProgramContext c;
  c.program = &program;
  const uint32_t widths[8] = {8, 12, 16, 24, 32, 48, 56, 63};
  for (uint32_t code = 0; code < 8; ++code) {
    program.assign(12, 0xFF);  // the code, then ones: only the code's width of them are read
    program[0] = static_cast<uint8_t>(0xF8 | code);
    c.bitLength = 96;
    uint64_t pos = 0, value = 0;
    ASSERT_TRUE(c.ReadVarWidth(pos, value));
    EXPECT_EQ(pos, 3 + widths[code]);
    EXPECT_EQ(value, (uint64_t{1} << widths[code]) - 1);
    c.bitLength = pos - 1;  // its last bit cut off: fails, position unchanged
    pos = 0;
    EXPECT_FALSE(c.ReadVarWidth(pos, value));
    EXPECT_EQ(pos, 0u);
  }
}

}  // namespace
