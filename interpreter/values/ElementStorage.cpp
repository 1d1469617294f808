#include "interpreter/values/ElementStorage.h"

namespace {

constexpr uint64_t kBlockBytes = 4096;
constexpr uint64_t kSmallBytes = 64;

bool IsZero(const uint8_t* p, uint64_t n) {
  uint8_t any = 0;
  for (uint64_t i = 0; i < n; ++i) any |= p[i];
  return any == 0;
}

}  // namespace

void* AllocateZeroedBytes(uint64_t bytes) {
  if (bytes > SIZE_MAX) throw std::bad_alloc();
  void* p = std::calloc(bytes == 0 ? 1 : static_cast<size_t>(bytes), 1);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

void CopyElementBytes(uint8_t* dst, const uint8_t* src, uint64_t bytes) {
  if (dst == src) return;
  if (bytes <= kSmallBytes) {  // a few elements: no page is spared by testing for zeros
    if (src != nullptr) {
      std::memmove(dst, src, bytes);
    } else {
      std::memset(dst, 0, bytes);
    }
    return;
  }
  for (uint64_t off = 0; off < bytes; off += kBlockBytes) {
    const uint64_t n = bytes - off < kBlockBytes ? bytes - off : kBlockBytes;
    if (src != nullptr && !IsZero(src + off, n)) {
      std::memmove(dst + off, src + off, n);
    } else if (!IsZero(dst + off, n)) {
      std::memset(dst + off, 0, n);
    }
  }
}
