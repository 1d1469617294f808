#pragma once
// The slots and index of closed scopes, kept for the next scope that this thread opens: a
// scope's unset slots are made once, and closing a scope resets only the slots it declared.
// Routine calls open and close a scope each time, so this spares them the allocation.
#include <cstdint>
#include <vector>

#include "interpreter/values/Value.h"

namespace scope_pool {

// Slots and index of a newly opened scope: kInitialScopeSlots unset slots, as many index
// entries of 0.
void Take(std::vector<Value>& slots, std::vector<int32_t>& index, size_t initialSlots);

// Makes the first `declared` slots and index entries of a closed scope those of a new one;
// slots past the declared ones were never touched.
inline void ResetDeclared(std::vector<Value>& slots, std::vector<int32_t>& index,
                          int32_t declared) noexcept {
  for (int32_t i = 0; i < declared; ++i) {
    Value& slot = slots[static_cast<size_t>(i)];
    if (slot.HasStorage()) slot.Clear();
    slot.kind = kKindUnset;
    slot.id = 0;
    slot.count = 1;
    index[static_cast<size_t>(i)] = 0;
  }
}

// A closed scope whose first `declared` slots were in use; kept when it still has its initial
// size and the pool has room, else released.
void Give(std::vector<Value>& slots, std::vector<int32_t>& index, int32_t declared,
          size_t initialSlots) noexcept;

}  // namespace scope_pool
