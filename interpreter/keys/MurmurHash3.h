#pragma once
// The MurmurHash3 family in the three variants Tarnvault uses. Blocks are read and results
// written little-endian on every host, so hashes and everything made from them are portable.
#include <bit>
#include <cstdint>
#include <cstring>

#include "interpreter/LittleEndian.h"

uint32_t MurmurHash3_x86_32(const void* data, int32_t length, uint32_t seed);
// out16 receives h1..h4, four little-endian 32-bit words.
void MurmurHash3_x86_128(const void* data, int32_t length, uint32_t seed, void* out16);
// out16 receives h1 then h2, two little-endian 64-bit words; the seed is zero-extended.
void MurmurHash3_x64_128(const void* data, int32_t length, uint32_t seed, void* out16);

// ---- 16-byte forms for chained hashing: state stays in registers, nothing is allocated. ----

// 16 bytes as two little-endian 64-bit words: h1 = bytes 0-7, h2 = bytes 8-15.
struct Hash128 {
  uint64_t h1;
  uint64_t h2;
};

// 16 bytes as four little-endian 32-bit words: h1 = bytes 0-3 ... h4 = bytes 12-15.
struct Hash128x86 {
  uint32_t h1;
  uint32_t h2;
  uint32_t h3;
  uint32_t h4;
};

namespace murmur_detail {

inline uint32_t Rotl32(uint32_t x, int r) { return (x << r) | (x >> (32 - r)); }
inline uint64_t Rotl64(uint64_t x, int r) { return (x << r) | (x >> (64 - r)); }

inline uint32_t Fmix32(uint32_t h) {
  h ^= h >> 16;
  h *= 0x85ebca6bu;
  h ^= h >> 13;
  h *= 0xc2b2ae35u;
  h ^= h >> 16;
  return h;
}

inline uint64_t Fmix64(uint64_t k) {
  k ^= k >> 33;
  k *= 0xff51afd7ed558ccdull;
  k ^= k >> 33;
  k *= 0xc4ceb9fe1a85ec53ull;
  k ^= k >> 33;
  return k;
}

inline constexpr uint32_t kX86_32_C1 = 0xcc9e2d51u;
inline constexpr uint32_t kX86_32_C2 = 0x1b873593u;

inline constexpr uint32_t kX86_128_C1 = 0x239b961bu;
inline constexpr uint32_t kX86_128_C2 = 0xab0e9789u;
inline constexpr uint32_t kX86_128_C3 = 0x38b34ae5u;
inline constexpr uint32_t kX86_128_C4 = 0xa1e38b93u;

inline constexpr uint64_t kX64_128_C1 = 0x87c37b91114253d5ull;
inline constexpr uint64_t kX64_128_C2 = 0x4cf5ad432745937full;

// Each input word is mixed the same way in a whole block and in the tail.
inline uint32_t MixK32(uint32_t k, uint32_t c1, int r, uint32_t c2) {
  return Rotl32(k * c1, r) * c2;
}
inline uint64_t MixK64(uint64_t k, uint64_t c1, int r, uint64_t c2) {
  return Rotl64(k * c1, r) * c2;
}
inline uint32_t X86_32MixK(uint32_t k) { return MixK32(k, kX86_32_C1, 15, kX86_32_C2); }
inline uint32_t X86_128MixK1(uint32_t k) { return MixK32(k, kX86_128_C1, 15, kX86_128_C2); }
inline uint32_t X86_128MixK2(uint32_t k) { return MixK32(k, kX86_128_C2, 16, kX86_128_C3); }
inline uint32_t X86_128MixK3(uint32_t k) { return MixK32(k, kX86_128_C3, 17, kX86_128_C4); }
inline uint32_t X86_128MixK4(uint32_t k) { return MixK32(k, kX86_128_C4, 18, kX86_128_C1); }
inline uint64_t X64_128MixK1(uint64_t k) { return MixK64(k, kX64_128_C1, 31, kX64_128_C2); }
inline uint64_t X64_128MixK2(uint64_t k) { return MixK64(k, kX64_128_C2, 33, kX64_128_C1); }

// One 4-byte block of the 32-bit variant.
inline uint32_t X86_32Block(uint32_t h1, uint32_t k1) {
  h1 ^= X86_32MixK(k1);
  h1 = Rotl32(h1, 13);
  return h1 * 5 + 0xe6546b64u;
}

inline uint32_t X86_32Finish(uint32_t h1, uint32_t length) { return Fmix32(h1 ^ length); }

// One 16-byte block of the x86 128-bit variant; h holds the four state words.
inline void X86_128Block(Hash128x86& h, uint32_t k1, uint32_t k2, uint32_t k3, uint32_t k4) {
  h.h1 ^= X86_128MixK1(k1); h.h1 = Rotl32(h.h1, 19); h.h1 += h.h2; h.h1 = h.h1 * 5 + 0x561ccd1bu;
  h.h2 ^= X86_128MixK2(k2); h.h2 = Rotl32(h.h2, 17); h.h2 += h.h3; h.h2 = h.h2 * 5 + 0x0bcaa747u;
  h.h3 ^= X86_128MixK3(k3); h.h3 = Rotl32(h.h3, 15); h.h3 += h.h4; h.h3 = h.h3 * 5 + 0x96cd1c35u;
  h.h4 ^= X86_128MixK4(k4); h.h4 = Rotl32(h.h4, 13); h.h4 += h.h1; h.h4 = h.h4 * 5 + 0x32ac3b17u;
}

inline Hash128x86 X86_128Finish(Hash128x86 h, uint32_t length) {
  h.h1 ^= length; h.h2 ^= length; h.h3 ^= length; h.h4 ^= length;
  h.h1 += h.h2; h.h1 += h.h3; h.h1 += h.h4;
  h.h2 += h.h1; h.h3 += h.h1; h.h4 += h.h1;
  h.h1 = Fmix32(h.h1); h.h2 = Fmix32(h.h2); h.h3 = Fmix32(h.h3); h.h4 = Fmix32(h.h4);
  h.h1 += h.h2; h.h1 += h.h3; h.h1 += h.h4;
  h.h2 += h.h1; h.h3 += h.h1; h.h4 += h.h1;
  return h;
}

// One 16-byte block of the x64 128-bit variant; h holds the two state words.
inline void X64_128Block(Hash128& h, uint64_t k1, uint64_t k2) {
  h.h1 ^= X64_128MixK1(k1); h.h1 = Rotl64(h.h1, 27); h.h1 += h.h2; h.h1 = h.h1 * 5 + 0x52dce729u;
  h.h2 ^= X64_128MixK2(k2); h.h2 = Rotl64(h.h2, 31); h.h2 += h.h1; h.h2 = h.h2 * 5 + 0x38495ab5u;
}

inline Hash128 X64_128Finish(Hash128 h, uint64_t length) {
  h.h1 ^= length; h.h2 ^= length;
  h.h1 += h.h2; h.h2 += h.h1;
  h.h1 = Fmix64(h.h1); h.h2 = Fmix64(h.h2);
  h.h1 += h.h2; h.h2 += h.h1;
  return h;
}

}  // namespace murmur_detail


// Reads 16 bytes as h1, h2 (little-endian 64-bit words).
inline Hash128 LoadHash128(const uint8_t* bytes16) {
  return Hash128{LoadLE64(bytes16), LoadLE64(bytes16 + 8)};
}

// Writes h1, h2 as 16 little-endian bytes.
inline void StoreHash128(const Hash128& h, uint8_t* out16) {
  StoreLE64(out16, h.h1);
  StoreLE64(out16 + 8, h.h2);
}

// Reads 16 bytes as h1..h4 (little-endian 32-bit words).
inline Hash128x86 LoadHash128x86(const uint8_t* bytes16) {
  return Hash128x86{LoadLE32(bytes16), LoadLE32(bytes16 + 4), LoadLE32(bytes16 + 8),
                    LoadLE32(bytes16 + 12)};
}

// Writes h1..h4 as 16 little-endian bytes.
inline void StoreHash128x86(const Hash128x86& h, uint8_t* out16) {
  StoreLE32(out16, h.h1);
  StoreLE32(out16 + 4, h.h2);
  StoreLE32(out16 + 8, h.h3);
  StoreLE32(out16 + 12, h.h4);
}

// The same 16 bytes seen as 32-bit words: no byte moves.
inline Hash128x86 ToHash128x86(const Hash128& h) {
  return Hash128x86{static_cast<uint32_t>(h.h1), static_cast<uint32_t>(h.h1 >> 32),
                    static_cast<uint32_t>(h.h2), static_cast<uint32_t>(h.h2 >> 32)};
}

// The same 16 bytes seen as 64-bit words: no byte moves.
inline Hash128 ToHash128(const Hash128x86& h) {
  return Hash128{static_cast<uint64_t>(h.h1) | (static_cast<uint64_t>(h.h2) << 32),
                 static_cast<uint64_t>(h.h3) | (static_cast<uint64_t>(h.h4) << 32)};
}

// MurmurHash3_x86_32 of the 16 bytes held by in (four 4-byte blocks, no tail).
inline uint32_t MurmurHash3_x86_32_16(const Hash128x86& in, uint32_t seed) {
  using namespace murmur_detail;
  uint32_t h1 = seed;
  h1 = X86_32Block(h1, in.h1);
  h1 = X86_32Block(h1, in.h2);
  h1 = X86_32Block(h1, in.h3);
  h1 = X86_32Block(h1, in.h4);
  return X86_32Finish(h1, 16);
}

// MurmurHash3_x86_32 of the 16 bytes held by in, given as two 64-bit words.
inline uint32_t MurmurHash3_x86_32_16(const Hash128& in, uint32_t seed) {
  return MurmurHash3_x86_32_16(ToHash128x86(in), seed);
}

// MurmurHash3_x86_128 of the 16 bytes held by in (one 16-byte block, no tail).
inline Hash128x86 MurmurHash3_x86_128_16(const Hash128x86& in, uint32_t seed) {
  using namespace murmur_detail;
  Hash128x86 h{seed, seed, seed, seed};
  X86_128Block(h, in.h1, in.h2, in.h3, in.h4);
  return X86_128Finish(h, 16);
}

// MurmurHash3_x64_128 of the 16 bytes held by in (one 16-byte block, no tail).
inline Hash128 MurmurHash3_x64_128_16(const Hash128& in, uint32_t seed) {
  using namespace murmur_detail;
  Hash128 h{seed, seed};
  X64_128Block(h, in.h1, in.h2);
  return X64_128Finish(h, 16);
}
