// The general hash functions. (Their inline 16-byte forms are checked against them where they
// are used: the key stream's derivation and the time-lock pad.)
#include "interpreter/keys/MurmurHash3.h"

#include <gtest/gtest.h>

#include <cstring>

// Keys of bytes 0..i-1 hashed with seed 256 - i, the 256 results hashed with seed 0: every
// length from 0 to 255, so every tail length of every variant.
TEST(MurmurHash3, PublishedVerificationValues) {
  using Hash = void (*)(const void* data, int32_t length, uint32_t seed, void* out);
  const struct { const char* name; size_t width; Hash hash; uint32_t verification; } variants[] = {
      {"x86_32", 4,
       [](const void* d, int32_t n, uint32_t s, void* o) { StoreLE32(static_cast<uint8_t*>(o), MurmurHash3_x86_32(d, n, s)); },
       0xB0F57EE3u},
      {"x86_128", 16, &MurmurHash3_x86_128, 0xB3ECE62Au},
      {"x64_128", 16, &MurmurHash3_x64_128, 0x6384BA69u},
  };
  for (const auto& v : variants) {
    uint8_t key[256], results[16 * 256], final[16], empty[16], negative[16];
    for (int i = 0; i < 256; ++i) {
      key[i] = static_cast<uint8_t>(i);
      v.hash(key, i, static_cast<uint32_t>(256 - i), &results[v.width * static_cast<size_t>(i)]);
    }
    v.hash(results, static_cast<int32_t>(v.width * 256), 0, final);
    EXPECT_EQ(LoadLE32(final), v.verification) << v.name;
    v.hash(nullptr, 0, 9, empty);  // an empty input reads nothing, nor does a negative length
    v.hash("abcd", -1, 9, negative);
    EXPECT_EQ(0, std::memcmp(negative, empty, v.width)) << v.name;
  }
}

// With no data, x64_128's h1 and h2 start at the seed and only the final mix runs: a
// sign-extended seed would give another result.
TEST(MurmurHash3, SeedsFromTwoToThe31) {
  EXPECT_EQ(MurmurHash3_x86_32("", 0, 0xFFFFFFFFu), 0x81F16F39u);
  for (uint64_t seed : {0x80000000ull, 0xFFFFFFFFull}) {
    const uint64_t h2 = murmur_detail::Fmix64(3 * seed), h1 = murmur_detail::Fmix64(2 * seed) + h2;
    uint8_t out[16];
    MurmurHash3_x64_128(nullptr, 0, static_cast<uint32_t>(seed), out);
    EXPECT_EQ(LoadLE64(out), h1) << seed;
    EXPECT_EQ(LoadLE64(out + 8), h2 + h1) << seed;
  }
}
