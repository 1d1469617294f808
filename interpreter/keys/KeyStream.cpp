#include "interpreter/keys/KeyStream.h"

#include <stdexcept>

#include "interpreter/keys/MurmurHash3.h"

// Both caches live here so that g_keyStreamCache is built first and destroyed last.
KeyStreamCache g_keyStreamCache;
KeyStreamCache g_contextKeyStreamCache;

namespace {

uint64_t g_derivationCount = 0;
KeyStreamDeriver g_deriverForTesting = nullptr;

// Finds key in cache, or adds it with a complete stream. A key that the other cache already
// holds takes a copy of that stream, so a key new to the process is derived only once.
KeyStreamEntry* FindOrAdd(KeyStreamCache& cache, const KeyStreamCache& other,
                          const uint8_t key[16]) {
  ProgramKey k;
  std::memcpy(k.data(), key, kProgramKeyBytes);
  auto [it, added] = cache.try_emplace(k);
  KeyStreamEntry& entry = it->second;
  if (!added) return &entry;
  try {
    entry.key.assign(k.begin(), k.end());
    auto twin = other.find(k);
    if (twin != other.end()) {
      entry.stream = twin->second.stream;
    } else if (g_deriverForTesting != nullptr) {
      g_deriverForTesting(entry);
    } else {
      DeriveKeyStream(entry);
    }
  } catch (...) {
    // Never keep an entry whose stream is incomplete: the next use derives it anew.
    cache.erase(it);
    throw;
  }
  return &entry;
}

}  // namespace

void DeriveKeyStream(KeyStreamEntry& entry) {
  if (entry.key.size() != kProgramKeyBytes) {
    throw std::invalid_argument("DeriveKeyStream: a program key is 16 bytes");
  }
  entry.stream.resize(kKeyStreamBytes);
  uint8_t* out = entry.stream.data();

  Hash128 source = LoadHash128(entry.key.data());
  for (uint32_t round = 0; round < kKeyStreamRounds; ++round) {
    const uint32_t seed = static_cast<uint32_t>(source.h2);  // key bytes 8 to 11
    Hash128 block = ToHash128(MurmurHash3_x86_128_16(ToHash128x86(source), seed));
    StoreHash128(block, out);
    for (uint32_t i = 1; i < kKeyStreamBlocks; ++i) {
      block = MurmurHash3_x64_128_16(block, seed);
      StoreHash128(block, out + 16 * i);
    }
    source = block;
  }
  ++g_derivationCount;
}

KeyStreamEntry* GetCachedKeyStream(const uint8_t key[16]) {
  return FindOrAdd(g_keyStreamCache, g_contextKeyStreamCache, key);
}

KeyStreamEntry* FindOrAddContextKeyStream(const uint8_t key[16]) {
  return FindOrAdd(g_contextKeyStreamCache, g_keyStreamCache, key);
}

uint64_t KeyStreamDerivationCount() { return g_derivationCount; }

void SetKeyStreamDeriverForTesting(KeyStreamDeriver deriver) { g_deriverForTesting = deriver; }
