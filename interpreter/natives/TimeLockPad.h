#pragma once
// The time-lock pad: a 100,000,000 to 250,994,928 byte pad derived from a 64-bit seed, and the
// walk that XORs data with pad bytes chosen by a hash of a 16-byte state that the chosen pad
// bytes keep changing. The walk depends on the seed alone, so walking twice restores the data.
#include <cstddef>
#include <cstdint>

#include "interpreter/keys/MurmurHash3.h"

inline constexpr uint32_t kTimeLockPadMaskBits = 0x8ffffffu;  // bits 0-23 and bit 27
inline constexpr uint32_t kTimeLockPadMinimum = 100000000u;

struct TimeLockStart {
  uint8_t state[16];  // MurmurHash3_x64_128 of the 8 seed bytes, seed 0: h1 then h2
  uint32_t padSize;   // a multiple of 16 from 100,000,000 to 250,994,928
};

// seedBytes: the seed's 8 bytes as they lie in storage (little-endian).
TimeLockStart TimeLockStartFor(const uint8_t seedBytes[8]);

// Fills size / 16 whole blocks of the pad, each the x64_128 hash of the block before (the
// first of the state), seeded with that block's first 4 bytes. Bytes past the last whole block
// are left alone. Always true.
bool FillTimeLockPad(uint8_t* pad, uint32_t size, const uint8_t state[16]);

// XORs each data byte with the pad byte at the x86_32 hash of the state modulo the pad size,
// moved on by one when it repeats the previous byte's index; that pad byte then replaces state
// byte (i mod 16). The caller's state is not changed; a pad of size 0 leaves the data as it is.
void WalkTimeLockPad(uint8_t* data, size_t length, const uint8_t* pad, uint32_t padSize,
                     const uint8_t state[16]);

// Builds the seed's pad, walks the data with it and releases it.
void ApplyTimeLockPad(uint8_t* data, size_t length, const uint8_t seedBytes[8]);
