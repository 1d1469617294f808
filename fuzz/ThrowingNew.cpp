// The global operator new of the fuzz targets. Under AddressSanitizer a request that the
// allocator refuses ends the process as "out of memory" instead of throwing, while the
// program throws std::bad_alloc and the Open TimeLock request shows "Failure". These take
// memory from malloc, which the sanitizer refuses above ASAN_OPTIONS max_allocation_size_mb
// by returning null (allocator_may_return_null=1), and turn the refusal into std::bad_alloc.
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

void* Take(std::size_t n) {
  void* p = std::malloc(n != 0 ? n : 1);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

void* TakeAligned(std::size_t n, std::align_val_t alignment) {
  const auto a = static_cast<std::size_t>(alignment);
  const std::size_t rounded = (n + a - 1) / a * a;
  if (rounded < n) throw std::bad_alloc();
  void* p = std::aligned_alloc(a, rounded != 0 ? rounded : a);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

template <typename F>
void* NoThrow(F take) noexcept {
  try {
    return take();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace

void* operator new(std::size_t n) { return Take(n); }
void* operator new[](std::size_t n) { return Take(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
  return NoThrow([n] { return Take(n); });
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
  return NoThrow([n] { return Take(n); });
}
void* operator new(std::size_t n, std::align_val_t a) { return TakeAligned(n, a); }
void* operator new[](std::size_t n, std::align_val_t a) { return TakeAligned(n, a); }
void* operator new(std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
  return NoThrow([n, a] { return TakeAligned(n, a); });
}
void* operator new[](std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
  return NoThrow([n, a] { return TakeAligned(n, a); });
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
