#include "interpreter/MurmurHash3.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

// Each variant as "hash length bytes of data with seed into out", out being 4 or 16 bytes.
struct Variant {
  const char* name;
  size_t width;
  void (*hash)(const void* data, int32_t length, uint32_t seed, uint8_t* out);
  uint32_t verification;
};

const Variant kVariants[] = {
    {"x86_32", 4,
     [](const void* d, int32_t n, uint32_t s, uint8_t* o) { StoreLE32(o, MurmurHash3_x86_32(d, n, s)); },
     0xB0F57EE3u},
    {"x86_128", 16, [](const void* d, int32_t n, uint32_t s, uint8_t* o) { MurmurHash3_x86_128(d, n, s, o); },
     0xB3ECE62Au},
    {"x64_128", 16, [](const void* d, int32_t n, uint32_t s, uint8_t* o) { MurmurHash3_x64_128(d, n, s, o); },
     0x6384BA69u},
};

std::vector<uint8_t> Hash(const Variant& v, const void* data, int32_t length, uint32_t seed) {
  std::vector<uint8_t> out(v.width);
  v.hash(data, length, seed, out.data());
  return out;
}

// Keys of bytes 0..i-1 hashed with seed 256 - i, the 256 results hashed with seed 0: every
// length from 0 to 255, so every tail length of every variant.
TEST(MurmurHash3, PublishedVerificationValues) {
  for (const Variant& v : kVariants) {
    uint8_t key[256];
    std::vector<uint8_t> results(v.width * 256);
    for (int i = 0; i < 256; ++i) {
      key[i] = static_cast<uint8_t>(i);
      v.hash(key, i, static_cast<uint32_t>(256 - i), &results[v.width * static_cast<size_t>(i)]);
    }
    const auto final = Hash(v, results.data(), static_cast<int32_t>(results.size()), 0);
    EXPECT_EQ(LoadLE32(final.data()), v.verification) << v.name;
    EXPECT_EQ(Hash(v, "abcd", -1, 9), Hash(v, nullptr, 0, 9)) << v.name;  // reads nothing
  }
}

// With no data, x64_128's h1 and h2 start at the seed and only the final mix runs: a
// sign-extended seed would give another result.
TEST(MurmurHash3, SeedsFromTwoToThe31) {
  EXPECT_EQ(MurmurHash3_x86_32("", 0, 0xFFFFFFFFu), 0x81F16F39u);
  for (uint64_t seed : {0x80000000ull, 0xFFFFFFFFull}) {
    uint64_t h1 = murmur_detail::Fmix64(2 * seed);
    uint64_t h2 = murmur_detail::Fmix64(3 * seed);
    h1 += h2;
    h2 += h1;
    uint8_t out[16];
    MurmurHash3_x64_128(nullptr, 0, static_cast<uint32_t>(seed), out);
    EXPECT_EQ(LoadLE64(out), h1) << seed;
    EXPECT_EQ(LoadLE64(out + 8), h2) << seed;
  }
}

// The inline 16-byte forms agree with the general functions, alone and chained in place.
TEST(MurmurHash3, SixteenByteFormsMatchGeneralFunctions) {
  std::mt19937_64 rng(11);
  uint8_t in[16], expected[16], got[16];
  for (int trial = 0; trial < 2000; ++trial) {
    for (auto& b : in) b = static_cast<uint8_t>(rng());
    const uint32_t seed = static_cast<uint32_t>(rng()) | (trial % 2 == 0 ? 0x80000000u : 0u);
    EXPECT_EQ(MurmurHash3_x86_32_16(LoadHash128x86(in), seed), MurmurHash3_x86_32(in, 16, seed));
    EXPECT_EQ(MurmurHash3_x86_32_16(LoadHash128(in), seed), MurmurHash3_x86_32(in, 16, seed));
    MurmurHash3_x86_128(in, 16, seed, expected);
    StoreHash128(ToHash128(MurmurHash3_x86_128_16(LoadHash128x86(in), seed)), got);
    ASSERT_EQ(0, std::memcmp(got, expected, 16)) << trial;
    MurmurHash3_x64_128(in, 16, seed, expected);
    StoreHash128x86(ToHash128x86(MurmurHash3_x64_128_16(LoadHash128(in), seed)), got);
    ASSERT_EQ(0, std::memcmp(got, expected, 16)) << trial;
  }
  uint8_t bytes[16] = {1};
  Hash128 chained = LoadHash128(bytes);
  for (uint32_t i = 0; i < 1000; ++i) {
    MurmurHash3_x64_128(bytes, 16, i, bytes);
    chained = MurmurHash3_x64_128_16(chained, i);
  }
  EXPECT_EQ(LoadHash128(bytes).h1, chained.h1);
  EXPECT_EQ(LoadHash128(bytes).h2, chained.h2);
}

}  // namespace
