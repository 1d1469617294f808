#include "interpreter/program/ScopePool.h"

#include <utility>

namespace scope_pool {

namespace {

constexpr size_t kSpareScopes = 32;

struct Spare {
  std::vector<Value> slots;
  std::vector<int32_t> index;
};

struct Pool {
  Spare spares[kSpareScopes];
  size_t count = 0;
  ~Pool();
};

// Set once this thread's pool is gone: a context destroyed later releases its scopes itself.
thread_local bool g_poolGone = false;
thread_local Pool g_pool;

Pool::~Pool() { g_poolGone = true; }

}  // namespace

void Take(std::vector<Value>& slots, std::vector<int32_t>& index, size_t initialSlots) {
  if (!g_poolGone && g_pool.count > 0) {
    Spare& spare = g_pool.spares[--g_pool.count];
    slots = std::move(spare.slots);
    index = std::move(spare.index);
    return;
  }
  slots = std::vector<Value>(initialSlots);
  index = std::vector<int32_t>(initialSlots, 0);
}

void Give(std::vector<Value>& slots, std::vector<int32_t>& index, int32_t declared,
          size_t initialSlots) noexcept {
  if (g_poolGone || g_pool.count == kSpareScopes || slots.size() != initialSlots ||
      index.size() != initialSlots) {
    return;
  }
  ResetDeclared(slots, index, declared);
  Spare& spare = g_pool.spares[g_pool.count++];
  spare.slots = std::move(slots);
  spare.index = std::move(index);
}

}  // namespace scope_pool
