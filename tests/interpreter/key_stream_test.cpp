#include "interpreter/KeyStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <vector>

#include "interpreter/MurmurHash3.h"

namespace {

ProgramKey MakeKey(uint8_t first, uint8_t fill = 0) {
  ProgramKey key;
  key.fill(fill);
  key[0] = first;
  return key;
}

std::vector<uint8_t> Derive(const ProgramKey& key) {
  KeyStreamEntry entry{{key.begin(), key.end()}, {}};
  DeriveKeyStream(entry);
  return entry.stream;
}

// The derivation written plainly over bytes with the general hash functions, for a key whose
// seed (bytes 8 to 11) has the top bit set.
TEST(KeyStream, DerivationFollowsTheRounds) {
  const ProgramKey key = {0x42, 0, 0, 0, 0, 0, 0, 0, 0x01, 0, 0, 0xF3, 0, 0, 0, 9};
  std::vector<uint8_t> expected(65536);
  uint8_t source[16];
  std::copy(key.begin(), key.end(), source);
  for (int round = 0; round < 1024; ++round) {
    const uint32_t seed = LoadLE32(source + 8);
    MurmurHash3_x86_128(source, 16, seed, expected.data());
    for (size_t i = 16; i < expected.size(); i += 16) {
      MurmurHash3_x64_128(&expected[i - 16], 16, seed, &expected[i]);
    }
    std::copy(expected.end() - 16, expected.end(), source);
  }
  EXPECT_EQ(Derive(key), expected);
}

using FindOrAdd = KeyStreamEntry* (*)(const uint8_t*);

// Asking one cache twice derives once; asking the other cache then copies, not derives.
TEST(KeyStreamCache, EachKeyIsDerivedOncePerProcess) {
  struct Case {
    FindOrAdd first, second;
    uint8_t keyByte;
  };
  for (const Case& c : {Case{&GetCachedKeyStream, &FindOrAddContextKeyStream, 0x20},
                        Case{&FindOrAddContextKeyStream, &GetCachedKeyStream, 0x21}}) {
    const ProgramKey key = MakeKey(c.keyByte);
    const uint64_t before = KeyStreamDerivationCount();
    KeyStreamEntry* a = c.first(key.data());
    EXPECT_EQ(c.first(key.data()), a);
    KeyStreamEntry* b = c.second(key.data());
    EXPECT_EQ(c.second(key.data()), b);
    EXPECT_EQ(KeyStreamDerivationCount(), before + 1);
    EXPECT_NE(a->stream.data(), b->stream.data());
    EXPECT_EQ(a->key, std::vector<uint8_t>(key.begin(), key.end()));
    EXPECT_EQ(a->key, b->key);
    EXPECT_EQ(a->stream, b->stream);
    EXPECT_EQ(a->stream, Derive(key));
  }
}

void FakeDeriver(KeyStreamEntry& entry) { entry.stream.assign(65536, entry.key[1]); }
void FailingDeriver(KeyStreamEntry&) { throw std::bad_alloc(); }

struct DeriverGuard {
  explicit DeriverGuard(KeyStreamDeriver d) { SetKeyStreamDeriverForTesting(d); }
  ~DeriverGuard() { SetKeyStreamDeriverForTesting(nullptr); }
};

// A running context keeps a pointer to its stream while routine calls add keys.
TEST(KeyStreamCache, EntriesStayInPlaceAsKeysAreAdded) {
  DeriverGuard fake(&FakeDeriver);
  const ProgramKey key = MakeKey(0x30, 0x80);
  KeyStreamEntry* held = FindOrAddContextKeyStream(key.data());
  const uint8_t* heldStream = held->stream.data();
  for (int i = 0; i < 200; ++i) {
    ProgramKey other = MakeKey(static_cast<uint8_t>(i), static_cast<uint8_t>(i * 7));
    other[15] = 0xEE;
    FindOrAddContextKeyStream(other.data());
  }
  EXPECT_EQ(FindOrAddContextKeyStream(key.data()), held);
  EXPECT_EQ(held->stream.data(), heldStream);
  EXPECT_EQ(held->stream, std::vector<uint8_t>(65536, 0x80));
}

TEST(KeyStreamCache, FailedDerivationLeavesNoEntry) {
  struct Case {
    FindOrAdd findOrAdd;
    const KeyStreamCache& cache;
    ProgramKey key;
  };
  for (const Case& c : {Case{&GetCachedKeyStream, g_keyStreamCache, MakeKey(0x40, 1)},
                        Case{&FindOrAddContextKeyStream, g_contextKeyStreamCache, MakeKey(0x40, 2)}}) {
    const size_t size = c.cache.size();
    {
      DeriverGuard failing(&FailingDeriver);
      EXPECT_THROW(c.findOrAdd(c.key.data()), std::bad_alloc);
    }
    EXPECT_EQ(c.cache.size(), size);
    EXPECT_EQ(c.cache.count(c.key), 0u);
    DeriverGuard fake(&FakeDeriver);
    EXPECT_EQ(c.findOrAdd(c.key.data())->stream, std::vector<uint8_t>(65536, c.key[1]));
  }
}

}  // namespace
