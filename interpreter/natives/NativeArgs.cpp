#include "interpreter/natives/NativeArgs.h"

#include <algorithm>
#include <limits>
#include <new>

#include "interpreter/values/Value.h"

namespace {

void DestroyValue(Value* v) {
  v->Clear();
  delete v;
}

}  // namespace

NativeArgs::~NativeArgs() { Free(); }

Value* NativeArgs::GetAt(uint32_t i) const { return i < count ? items[i] : nullptr; }

bool NativeArgs::Grow(uint32_t need) {
  if (capacity > need) return true;
  uint64_t step = growBy != 0 ? growBy : (capacity != 0 ? capacity : 1);
  if (capacity + step < need) step = need - capacity;
  const uint64_t newCapacity = capacity + step;
  if (newCapacity > std::numeric_limits<uint32_t>::max()) throw std::bad_alloc();

  // Both arrays are made before either is replaced, so a failed allocation changes nothing.
  // order is sized with items whatever the flags, so it always has room for every entry.
  auto newItems = std::make_unique<Value*[]>(newCapacity);
  auto newOrder = std::make_unique<uint32_t[]>(newCapacity);
  std::copy_n(items.get(), count, newItems.get());
  if ((flags & KeepIdOrder) != 0) std::copy_n(order.get(), count, newOrder.get());
  items = std::move(newItems);
  order = std::move(newOrder);
  capacity = static_cast<uint32_t>(newCapacity);
  return true;
}

bool NativeArgs::Add(Value* v) {
  if (v == nullptr) return false;  // a null entry would read as a missing argument
  if (count == std::numeric_limits<uint32_t>::max()) throw std::bad_alloc();
  Grow(count + 1);
  items[count] = v;
  if (!InsertInIndexes(count, *v)) {
    items[count] = nullptr;
    return false;
  }
  ++count;
  return true;
}

uint32_t NativeArgs::Find(const Value& v, bool& found) const {
  const uint64_t key = v.id;
  auto id = [this](uint32_t k) { return items[order[k]]->id; };
  const uint32_t n = count;

  found = false;
  if (n == 0) return 0;
  if (key >= id(n - 1)) {
    found = key == id(n - 1);
    return n;
  }

  if (n < 6) {
    for (uint32_t k = 0; k + 1 < n; ++k) {
      if (key < id(k)) return k;
      if (key == id(k)) found = true;
    }
    return n - 1;
  }

  // Halve until at most four candidates are left. The upper bound stays within lo..hi+1,
  // and with four or more candidates mid lies two inside each end, so hi never drops below lo.
  uint32_t lo = 0;
  uint32_t hi = n - 1;
  uint32_t mid = n / 2;
  do {
    if (key < id(mid)) {
      hi = mid - 1;
    } else {
      lo = mid + 1;
    }
    mid = lo + (hi - lo) / 2;
  } while (hi - lo >= 4);

  for (uint32_t k = lo; k <= hi; ++k) {
    if (key < id(k)) {
      if (!found && k > 0) found = key == id(k - 1);
      return k;
    }
    if (key == id(k)) found = true;
  }
  return hi + 1;
}

bool NativeArgs::InsertInIndexes(uint32_t position, const Value& v) {
  if ((flags & KeepIdOrder) == 0) return true;
  if (count >= capacity) return false;  // no free slot in order
  bool found = false;
  const uint32_t p = Find(v, found);
  if (found && (flags & RefuseDuplicateIds) != 0) return false;
  std::copy_backward(order.get() + p, order.get() + count, order.get() + count + 1);
  order[p] = position;
  return true;
}

bool NativeArgs::RemoveAt(uint32_t position) {
  if (position >= count) return false;
  if ((flags & OwnsValues) != 0 && items[position] != nullptr) {
    DestroyValue(items[position]);
    items[position] = nullptr;
  }
  std::copy(items.get() + position + 1, items.get() + count, items.get() + position);

  if ((flags & KeepIdOrder) != 0) {
    uint32_t* const first = order.get();
    uint32_t* const last = first + count;
    uint32_t* const at = std::find(first, last, position);
    if (at != last) std::copy(at + 1, last, at);
    for (uint32_t k = 0; k + 1 < count; ++k) {
      if (order[k] > position) --order[k];
    }
  }

  --count;
  items[count] = nullptr;
  return true;
}

// Removing the entries from the last on, destroying none: each removal of the last entry
// leaves the others where they are, so only the slots need clearing. The native call empties
// its list this way after every call, so it costs no search.
void NativeArgs::DetachAll() {
  std::fill_n(items.get(), count, nullptr);
  count = 0;
}

void NativeArgs::Free() {
  if ((flags & OwnsValues) != 0) {
    for (uint32_t i = 0; i < count; ++i) {
      if (items[i] != nullptr) DestroyValue(items[i]);
    }
  }
  items.reset();
  order.reset();
  capacity = 0;
  count = 0;
}
