#include "interpreter/MurmurHash3.h"

using namespace murmur_detail;

namespace {

// A negative length reads nothing and hashes as the empty input.
uint32_t ByteCount(int32_t length) { return length > 0 ? static_cast<uint32_t>(length) : 0u; }

}  // namespace

uint32_t MurmurHash3_x86_32(const void* data, int32_t length, uint32_t seed) {
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  const uint32_t len = ByteCount(length);
  const uint32_t blocks = len / 4;

  uint32_t h1 = seed;
  for (uint32_t i = 0; i < blocks; ++i) h1 = X86_32Block(h1, LoadLE32(bytes + 4 * i));

  const uint8_t* tail = bytes + 4 * blocks;
  uint32_t k1 = 0;
  switch (len & 3) {
    case 3: k1 ^= static_cast<uint32_t>(tail[2]) << 16; [[fallthrough]];
    case 2: k1 ^= static_cast<uint32_t>(tail[1]) << 8; [[fallthrough]];
    case 1:
      k1 ^= tail[0];
      k1 *= kX86_32_C1;
      k1 = Rotl32(k1, 15);
      k1 *= kX86_32_C2;
      h1 ^= k1;
      break;
    default: break;
  }

  h1 ^= len;
  return Fmix32(h1);
}

void MurmurHash3_x86_128(const void* data, int32_t length, uint32_t seed, void* out16) {
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  const uint32_t len = ByteCount(length);
  const uint32_t blocks = len / 16;

  uint32_t h1 = seed, h2 = seed, h3 = seed, h4 = seed;
  for (uint32_t i = 0; i < blocks; ++i) {
    const uint8_t* block = bytes + 16 * i;
    uint32_t k1 = LoadLE32(block), k2 = LoadLE32(block + 4);
    uint32_t k3 = LoadLE32(block + 8), k4 = LoadLE32(block + 12);

    k1 *= kX86_128_C1; k1 = Rotl32(k1, 15); k1 *= kX86_128_C2; h1 ^= k1;
    h1 = Rotl32(h1, 19); h1 += h2; h1 = h1 * 5 + 0x561ccd1bu;
    k2 *= kX86_128_C2; k2 = Rotl32(k2, 16); k2 *= kX86_128_C3; h2 ^= k2;
    h2 = Rotl32(h2, 17); h2 += h3; h2 = h2 * 5 + 0x0bcaa747u;
    k3 *= kX86_128_C3; k3 = Rotl32(k3, 17); k3 *= kX86_128_C4; h3 ^= k3;
    h3 = Rotl32(h3, 15); h3 += h4; h3 = h3 * 5 + 0x96cd1c35u;
    k4 *= kX86_128_C4; k4 = Rotl32(k4, 18); k4 *= kX86_128_C1; h4 ^= k4;
    h4 = Rotl32(h4, 13); h4 += h1; h4 = h4 * 5 + 0x32ac3b17u;
  }

  const uint8_t* tail = bytes + 16 * blocks;
  uint32_t k1 = 0, k2 = 0, k3 = 0, k4 = 0;
  switch (len & 15) {
    case 15: k4 ^= static_cast<uint32_t>(tail[14]) << 16; [[fallthrough]];
    case 14: k4 ^= static_cast<uint32_t>(tail[13]) << 8; [[fallthrough]];
    case 13:
      k4 ^= tail[12];
      k4 *= kX86_128_C4; k4 = Rotl32(k4, 18); k4 *= kX86_128_C1; h4 ^= k4;
      [[fallthrough]];
    case 12: k3 ^= static_cast<uint32_t>(tail[11]) << 24; [[fallthrough]];
    case 11: k3 ^= static_cast<uint32_t>(tail[10]) << 16; [[fallthrough]];
    case 10: k3 ^= static_cast<uint32_t>(tail[9]) << 8; [[fallthrough]];
    case 9:
      k3 ^= tail[8];
      k3 *= kX86_128_C3; k3 = Rotl32(k3, 17); k3 *= kX86_128_C4; h3 ^= k3;
      [[fallthrough]];
    case 8: k2 ^= static_cast<uint32_t>(tail[7]) << 24; [[fallthrough]];
    case 7: k2 ^= static_cast<uint32_t>(tail[6]) << 16; [[fallthrough]];
    case 6: k2 ^= static_cast<uint32_t>(tail[5]) << 8; [[fallthrough]];
    case 5:
      k2 ^= tail[4];
      k2 *= kX86_128_C2; k2 = Rotl32(k2, 16); k2 *= kX86_128_C3; h2 ^= k2;
      [[fallthrough]];
    case 4: k1 ^= static_cast<uint32_t>(tail[3]) << 24; [[fallthrough]];
    case 3: k1 ^= static_cast<uint32_t>(tail[2]) << 16; [[fallthrough]];
    case 2: k1 ^= static_cast<uint32_t>(tail[1]) << 8; [[fallthrough]];
    case 1:
      k1 ^= tail[0];
      k1 *= kX86_128_C1; k1 = Rotl32(k1, 15); k1 *= kX86_128_C2; h1 ^= k1;
      break;
    default: break;
  }

  h1 ^= len; h2 ^= len; h3 ^= len; h4 ^= len;
  h1 += h2; h1 += h3; h1 += h4;
  h2 += h1; h3 += h1; h4 += h1;
  h1 = Fmix32(h1); h2 = Fmix32(h2); h3 = Fmix32(h3); h4 = Fmix32(h4);
  h1 += h2; h1 += h3; h1 += h4;
  h2 += h1; h3 += h1; h4 += h1;

  StoreHash128x86(Hash128x86{h1, h2, h3, h4}, static_cast<uint8_t*>(out16));
}

void MurmurHash3_x64_128(const void* data, int32_t length, uint32_t seed, void* out16) {
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  const uint32_t len = ByteCount(length);
  const uint32_t blocks = len / 16;

  uint64_t h1 = seed, h2 = seed;  // zero-extended
  for (uint32_t i = 0; i < blocks; ++i) {
    uint64_t k1 = LoadLE64(bytes + 16 * i), k2 = LoadLE64(bytes + 16 * i + 8);

    k1 *= kX64_128_C1; k1 = Rotl64(k1, 31); k1 *= kX64_128_C2; h1 ^= k1;
    h1 = Rotl64(h1, 27); h1 += h2; h1 = h1 * 5 + 0x52dce729u;
    k2 *= kX64_128_C2; k2 = Rotl64(k2, 33); k2 *= kX64_128_C1; h2 ^= k2;
    h2 = Rotl64(h2, 31); h2 += h1; h2 = h2 * 5 + 0x38495ab5u;
  }

  const uint8_t* tail = bytes + 16 * blocks;
  uint64_t k1 = 0, k2 = 0;
  switch (len & 15) {
    case 15: k2 ^= static_cast<uint64_t>(tail[14]) << 48; [[fallthrough]];
    case 14: k2 ^= static_cast<uint64_t>(tail[13]) << 40; [[fallthrough]];
    case 13: k2 ^= static_cast<uint64_t>(tail[12]) << 32; [[fallthrough]];
    case 12: k2 ^= static_cast<uint64_t>(tail[11]) << 24; [[fallthrough]];
    case 11: k2 ^= static_cast<uint64_t>(tail[10]) << 16; [[fallthrough]];
    case 10: k2 ^= static_cast<uint64_t>(tail[9]) << 8; [[fallthrough]];
    case 9:
      k2 ^= tail[8];
      k2 *= kX64_128_C2; k2 = Rotl64(k2, 33); k2 *= kX64_128_C1; h2 ^= k2;
      [[fallthrough]];
    case 8: k1 ^= static_cast<uint64_t>(tail[7]) << 56; [[fallthrough]];
    case 7: k1 ^= static_cast<uint64_t>(tail[6]) << 48; [[fallthrough]];
    case 6: k1 ^= static_cast<uint64_t>(tail[5]) << 40; [[fallthrough]];
    case 5: k1 ^= static_cast<uint64_t>(tail[4]) << 32; [[fallthrough]];
    case 4: k1 ^= static_cast<uint64_t>(tail[3]) << 24; [[fallthrough]];
    case 3: k1 ^= static_cast<uint64_t>(tail[2]) << 16; [[fallthrough]];
    case 2: k1 ^= static_cast<uint64_t>(tail[1]) << 8; [[fallthrough]];
    case 1:
      k1 ^= tail[0];
      k1 *= kX64_128_C1; k1 = Rotl64(k1, 31); k1 *= kX64_128_C2; h1 ^= k1;
      break;
    default: break;
  }

  h1 ^= len; h2 ^= len;
  h1 += h2; h2 += h1;
  h1 = Fmix64(h1); h2 = Fmix64(h2);
  h1 += h2; h2 += h1;

  StoreHash128(Hash128{h1, h2}, static_cast<uint8_t*>(out16));
}
