#pragma once
// The keys of fuzzed programs, shared by the harness and the seed-corpus generator so that the
// seeds decipher in the harness exactly as they were written.
//
// The main program key is derived for real, once. Every other key (a routine's key, made from a
// variable the fuzzer controls) gets a cheap stand-in stream: a real derivation costs millions
// of hashes, which would spend the fuzzer's time on key streams instead of the interpreter.
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "interpreter/keys/KeyStream.h"

namespace fuzzkeys {

inline constexpr ProgramKey kMainKey{'f', 'u', 'z', 'z', '-', 'T', 'a',  'r',
                                     'n', 'v', 'a', 'u', 'l', 't', 0x5A, 0xC3};

// Different for every key, repeating every 65,536 bytes like a real stream.
inline void DeriveStandInStream(KeyStreamEntry& entry) {
  entry.stream.resize(kKeyStreamBytes);
  for (size_t i = 0; i < kKeyStreamBytes; ++i) {
    const auto mix = static_cast<uint8_t>((i * 167u) ^ (i >> 8) * 29u);
    entry.stream[i] = static_cast<uint8_t>(entry.key[i % kProgramKeyBytes] ^ mix);
  }
}

// Derives the main key in both caches, then routes every later derivation to the stand-in.
inline void InstallKeys() {
  GetCachedKeyStream(kMainKey.data());
  FindOrAddContextKeyStream(kMainKey.data());
  SetKeyStreamDeriverForTesting(&DeriveStandInStream);
}

// Drops every stream but the main key's, so that a long fuzzing session does not fill memory
// with the streams of routine keys. Only between runs: no context may be alive.
inline void ForgetRoutineKeyStreams() {
  for (KeyStreamCache* cache : {&g_keyStreamCache, &g_contextKeyStreamCache}) {
    std::erase_if(*cache, [](const auto& entry) { return entry.first != kMainKey; });
  }
}

}  // namespace fuzzkeys
