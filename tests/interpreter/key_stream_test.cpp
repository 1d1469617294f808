#include "interpreter/keys/KeyStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <tuple>
#include <vector>

#include "interpreter/keys/MurmurHash3.h"

namespace {

// The derivation written plainly over bytes with the general hash functions, for a key whose
// seed (bytes 8 to 11) has the top bit set; a cache hands out the same stream.
TEST(KeyStream, DerivationFollowsTheRounds) {
  const ProgramKey key = {0x42, 0, 0, 0, 0, 0, 0, 0, 0x01, 0, 0, 0xF3, 0, 0, 0, 9};
  std::vector<uint8_t> expected(65536);
  uint8_t source[16];
  std::copy(key.begin(), key.end(), source);
  for (int round = 0; round < 1024; ++round) {
    const uint32_t seed = LoadLE32(source + 8);
    MurmurHash3_x86_128(source, 16, seed, expected.data());
    for (size_t i = 16; i < expected.size(); i += 16) MurmurHash3_x64_128(&expected[i - 16], 16, seed, &expected[i]);
    std::copy(expected.end() - 16, expected.end(), source);
  }
  KeyStreamEntry entry{{key.begin(), key.end()}, {}};
  DeriveKeyStream(entry);
  EXPECT_EQ(entry.stream, expected);
  EXPECT_EQ(FindOrAddContextKeyStream(key.data())->stream, expected);
}

// Asking one cache twice derives once; asking the other cache then copies, not derives. Keys
// 0x20.. and 0x21.. share their seed (bytes 8 to 11) yet get different streams; the all-zero
// key is an ordinary key whose stream is not all zero.
TEST(KeyStreamCache, EachKeyIsDerivedOncePerProcess) {
  const ProgramKey key{0x20};
  const uint64_t before = KeyStreamDerivationCount();
  KeyStreamEntry* a = GetCachedKeyStream(key.data());
  KeyStreamEntry* b = FindOrAddContextKeyStream(key.data());
  EXPECT_EQ(GetCachedKeyStream(key.data()), a);
  EXPECT_EQ(FindOrAddContextKeyStream(key.data()), b);
  EXPECT_EQ(KeyStreamDerivationCount(), before + 1);
  EXPECT_EQ(std::tie(b->key, b->stream), std::tie(a->key, a->stream));
  EXPECT_NE(GetCachedKeyStream(ProgramKey{0x21}.data())->stream, a->stream);
  EXPECT_NE(GetCachedKeyStream(ProgramKey{}.data())->stream, std::vector<uint8_t>(65536, 0));
}

void FakeDeriver(KeyStreamEntry& entry) { entry.stream.assign(65536, entry.key[1]); }
void FailingDeriver(KeyStreamEntry&) { throw std::bad_alloc(); }

// A running context keeps a pointer to its stream while routine calls add keys. A failed
// derivation leaves no entry behind in either cache, and the next use derives anew.
TEST(KeyStreamCache, EntriesStayInPlaceAndFailedDerivationsLeaveNone) {
  SetKeyStreamDeriverForTesting(&FakeDeriver);
  const ProgramKey key{0x30, 0x80};
  KeyStreamEntry* held = FindOrAddContextKeyStream(key.data());
  const uint8_t* heldStream = held->stream.data();
  for (int i = 1; i <= 200; ++i) {  // keys that differ from key only in bytes 8 to 15
    ProgramKey other = key;
    other[8 + i % 8] = static_cast<uint8_t>(i);
    EXPECT_NE(FindOrAddContextKeyStream(other.data()), held);
  }
  EXPECT_EQ(FindOrAddContextKeyStream(key.data()), held);
  EXPECT_EQ(held->stream.data(), heldStream);

  for (const auto& [findOrAdd, cache, k] : {std::tuple{&GetCachedKeyStream, &g_keyStreamCache, ProgramKey{0x40, 1}},
                                            std::tuple{&FindOrAddContextKeyStream, &g_contextKeyStreamCache, ProgramKey{0x40, 2}}}) {
    const size_t size = cache->size();
    SetKeyStreamDeriverForTesting(&FailingDeriver);
    EXPECT_THROW(findOrAdd(k.data()), std::bad_alloc);
    EXPECT_EQ(cache->size(), size);
    EXPECT_EQ(cache->count(k), 0u);
    SetKeyStreamDeriverForTesting(&FakeDeriver);
    EXPECT_EQ(findOrAdd(k.data())->stream, std::vector<uint8_t>(65536, k[1]));
  }
  SetKeyStreamDeriverForTesting(nullptr);
}

}  // namespace
