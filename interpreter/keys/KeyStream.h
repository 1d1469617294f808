#pragma once
// Program keys, the key streams derived from them, and the two process-wide caches that keep
// every derived stream until the process ends.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

inline constexpr size_t kProgramKeyBytes = 16;
inline constexpr size_t kKeyStreamBytes = 65536;
inline constexpr uint32_t kKeyStreamRounds = 1024;
inline constexpr uint32_t kKeyStreamBlocks = kKeyStreamBytes / 16;

struct KeyStreamEntry {
  std::vector<uint8_t> key;     // the 16 key bytes
  std::vector<uint8_t> stream;  // 65,536 bytes once derived, empty until then
};

// Fills entry.stream from entry.key (which must hold 16 bytes). Throws only when memory runs out.
void DeriveKeyStream(KeyStreamEntry& entry);

using ProgramKey = std::array<uint8_t, kProgramKeyBytes>;

// Orders keys as memcmp orders their 16 bytes.
struct ProgramKeyLess {
  bool operator()(const ProgramKey& a, const ProgramKey& b) const {
    return std::memcmp(a.data(), b.data(), kProgramKeyBytes) < 0;
  }
};

// Node-based, so an entry and its stream keep their address while other keys are added: a
// running context holds a pointer to its stream while routine calls add new keys.
using KeyStreamCache = std::map<ProgramKey, KeyStreamEntry, ProgramKeyLess>;

// Defined together in one translation unit, in this order.
extern KeyStreamCache g_keyStreamCache;
extern KeyStreamCache g_contextKeyStreamCache;

// The entry of g_keyStreamCache for key, derived and added when absent. Never null; valid
// until the process ends.
KeyStreamEntry* GetCachedKeyStream(const uint8_t key[16]);

// The same service over g_contextKeyStreamCache, for binding a program context.
KeyStreamEntry* FindOrAddContextKeyStream(const uint8_t key[16]);

// Number of key-stream derivations this process has run, for tests and measurements.
uint64_t KeyStreamDerivationCount();

// Test seam: a function run on each new entry in place of DeriveKeyStream, or null for the
// real derivation. Lets tests make a derivation fail; programs have no way to reach it.
using KeyStreamDeriver = void (*)(KeyStreamEntry& entry);
void SetKeyStreamDeriverForTesting(KeyStreamDeriver deriver);
