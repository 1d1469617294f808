#include <limits>
#include <stdexcept>

#include "app/request/OpenTimeLock.h"
#include "interpreter/keys/MurmurHash3.h"

namespace {
constexpr uint32_t kStretchPasses = 16777215;  // 2^24 - 1 after the first hash
}

std::array<uint8_t, 16> StretchPassword(const uint8_t* bytes, size_t length) {
  if (length > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
    throw std::length_error("password too long to hash");
  }
  uint8_t first[16];
  MurmurHash3_x86_128(bytes, static_cast<int32_t>(length), 0, first);
  // Both hashes of a pass read the key of the pass before; the 32-bit hash seeds the 128-bit
  // hash of its own pass and the 32-bit hash of the next.
  Hash128x86 key = LoadHash128x86(first);
  uint32_t seed = 0;
  for (uint32_t pass = 0; pass < kStretchPasses; ++pass) {
    seed = MurmurHash3_x86_32_16(key, seed);
    key = MurmurHash3_x86_128_16(key, seed);
  }
  std::array<uint8_t, 16> out;
  StoreHash128x86(key, out.data());
  return out;
}
