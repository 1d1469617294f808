#pragma once
// Multi-byte numbers in the byte order that programs, hashes and element storage use:
// little-endian on every host. A copy of the bytes, swapped on a big-endian host, compiles to
// one load or store.
#include <bit>
#include <cstdint>
#include <cstring>

inline uint32_t SwapBytes32(uint32_t v) {
  return (v >> 24) | ((v >> 8) & 0x0000FF00u) | ((v << 8) & 0x00FF0000u) | (v << 24);
}

inline uint64_t SwapBytes64(uint64_t v) {
  return (static_cast<uint64_t>(SwapBytes32(static_cast<uint32_t>(v))) << 32) |
         SwapBytes32(static_cast<uint32_t>(v >> 32));
}

inline uint32_t LoadLE32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::big) v = SwapBytes32(v);
  return v;
}

inline uint64_t LoadLE64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::big) v = SwapBytes64(v);
  return v;
}

inline void StoreLE32(uint8_t* p, uint32_t v) {
  if constexpr (std::endian::native == std::endian::big) v = SwapBytes32(v);
  std::memcpy(p, &v, sizeof v);
}

inline void StoreLE64(uint8_t* p, uint64_t v) {
  if constexpr (std::endian::native == std::endian::big) v = SwapBytes64(v);
  std::memcpy(p, &v, sizeof v);
}
