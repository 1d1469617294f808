#include "interpreter/keys/MurmurHash3.h"

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
    case 1: k1 ^= tail[0]; h1 ^= X86_32MixK(k1); break;
    default: break;
  }
  return X86_32Finish(h1, len);
}

void MurmurHash3_x86_128(const void* data, int32_t length, uint32_t seed, void* out16) {
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  const uint32_t len = ByteCount(length);
  const uint32_t blocks = len / 16;

  Hash128x86 h{seed, seed, seed, seed};
  for (uint32_t i = 0; i < blocks; ++i) {
    const uint8_t* block = bytes + 16 * i;
    X86_128Block(h, LoadLE32(block), LoadLE32(block + 4), LoadLE32(block + 8),
                 LoadLE32(block + 12));
  }

  const uint8_t* tail = bytes + 16 * blocks;
  uint32_t k1 = 0, k2 = 0, k3 = 0, k4 = 0;
  switch (len & 15) {
    case 15: k4 ^= static_cast<uint32_t>(tail[14]) << 16; [[fallthrough]];
    case 14: k4 ^= static_cast<uint32_t>(tail[13]) << 8; [[fallthrough]];
    case 13: k4 ^= tail[12]; h.h4 ^= X86_128MixK4(k4); [[fallthrough]];
    case 12: k3 ^= static_cast<uint32_t>(tail[11]) << 24; [[fallthrough]];
    case 11: k3 ^= static_cast<uint32_t>(tail[10]) << 16; [[fallthrough]];
    case 10: k3 ^= static_cast<uint32_t>(tail[9]) << 8; [[fallthrough]];
    case 9: k3 ^= tail[8]; h.h3 ^= X86_128MixK3(k3); [[fallthrough]];
    case 8: k2 ^= static_cast<uint32_t>(tail[7]) << 24; [[fallthrough]];
    case 7: k2 ^= static_cast<uint32_t>(tail[6]) << 16; [[fallthrough]];
    case 6: k2 ^= static_cast<uint32_t>(tail[5]) << 8; [[fallthrough]];
    case 5: k2 ^= tail[4]; h.h2 ^= X86_128MixK2(k2); [[fallthrough]];
    case 4: k1 ^= static_cast<uint32_t>(tail[3]) << 24; [[fallthrough]];
    case 3: k1 ^= static_cast<uint32_t>(tail[2]) << 16; [[fallthrough]];
    case 2: k1 ^= static_cast<uint32_t>(tail[1]) << 8; [[fallthrough]];
    case 1: k1 ^= tail[0]; h.h1 ^= X86_128MixK1(k1); break;
    default: break;
  }
  StoreHash128x86(X86_128Finish(h, len), static_cast<uint8_t*>(out16));
}

void MurmurHash3_x64_128(const void* data, int32_t length, uint32_t seed, void* out16) {
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  const uint32_t len = ByteCount(length);
  const uint32_t blocks = len / 16;

  Hash128 h{seed, seed};  // zero-extended
  for (uint32_t i = 0; i < blocks; ++i) {
    X64_128Block(h, LoadLE64(bytes + 16 * i), LoadLE64(bytes + 16 * i + 8));
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
    case 9: k2 ^= tail[8]; h.h2 ^= X64_128MixK2(k2); [[fallthrough]];
    case 8: k1 ^= static_cast<uint64_t>(tail[7]) << 56; [[fallthrough]];
    case 7: k1 ^= static_cast<uint64_t>(tail[6]) << 48; [[fallthrough]];
    case 6: k1 ^= static_cast<uint64_t>(tail[5]) << 40; [[fallthrough]];
    case 5: k1 ^= static_cast<uint64_t>(tail[4]) << 32; [[fallthrough]];
    case 4: k1 ^= static_cast<uint64_t>(tail[3]) << 24; [[fallthrough]];
    case 3: k1 ^= static_cast<uint64_t>(tail[2]) << 16; [[fallthrough]];
    case 2: k1 ^= static_cast<uint64_t>(tail[1]) << 8; [[fallthrough]];
    case 1: k1 ^= tail[0]; h.h1 ^= X64_128MixK1(k1); break;
    default: break;
  }
  StoreHash128(X64_128Finish(h, len), static_cast<uint8_t*>(out16));
}
