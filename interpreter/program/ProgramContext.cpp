#include "interpreter/program/ProgramContext.h"

#include <algorithm>
#include <climits>
#include <new>

#include "interpreter/keys/KeyStream.h"
#include "interpreter/program/Opcodes.h"
#include "interpreter/program/ScopePool.h"

namespace {

// Number of declared variables of a scope whose id is at or below id: its index lists equal
// ids in declaration order, so this is where a new declaration of id goes.
size_t UpperBoundById(const std::vector<Value>& slots, const std::vector<int32_t>& index,
                      int32_t count, uint64_t id) {
  size_t lo = 0;
  size_t hi = static_cast<size_t>(count);
  while (lo < hi) {
    const size_t mid = lo + (hi - lo) / 2;
    if (slots[static_cast<size_t>(index[mid])].id <= id) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return lo;
}

}  // namespace

ProgramContext::~ProgramContext() { CloseAllScopes(); }

bool ProgramContext::Init(const std::vector<uint8_t>* programBytes, uint64_t programBitLength,
                          const uint8_t key[16]) {
  program = programBytes;
  bitLength = programBitLength;
  keyStream = &FindOrAddContextKeyStream(key)->stream;
  return true;
}

bool ProgramContext::ReadVarWidth(uint64_t& pos, uint64_t& value) const {
  uint64_t code;
  uint64_t at = pos;
  if (!ReadBits(at, 3, code) || !ReadBits(at, kWidthOfCode[code], value)) return false;
  pos = at;
  return true;
}

bool ProgramContext::ReadElementIndex(uint64_t& pos, bool& immediate, uint64_t& number) const {
  uint64_t flag;
  if (!ReadBits(pos, 1, flag)) return false;
  immediate = flag != 0;
  pos += 1;  // skip bit
  return ReadVarWidth(pos, number);
}

bool ProgramContext::DeclareVariable(uint64_t& pos) {
  if (pos >= bitLength || bitLength - pos < 4) return false;
  uint64_t kind;
  uint64_t id;
  uint64_t countGiven;
  uint64_t count = 1;
  if (!ReadBits(pos, 3, kind)) return false;
  pos += 1;  // skip bit
  if (!ReadVarWidth(pos, id) || !ReadBits(pos, 1, countGiven)) return false;
  if (countGiven != 0) {
    pos += 1;  // skip bit
    if (!ReadVarWidth(pos, count)) return false;
  }
  return AddVariable(kind, id, count);
}

bool ProgramContext::AddVariable(uint64_t kind, uint64_t id, uint64_t count) {
  if (scopeCounts.empty()) return false;
  NewScopeEpoch();

  std::vector<Value>& slots = scopeValues.back();
  std::vector<int32_t>& index = scopeIndex.back();
  const int32_t n = scopeCounts.back();
  const size_t rank = UpperBoundById(slots, index, n, id);
  if (static_cast<size_t>(n) == slots.size()) {
    // Slot positions are 32-bit: a scope that would outgrow them counts as out of memory.
    const size_t grown = std::min<size_t>(slots.size() / 2 * 3, INT32_MAX);
    if (grown == slots.size()) throw std::bad_alloc();
    slots.resize(grown);  // Values move, their storage stays where it is...
    // ...and then read as the copies that a growing scope hands on.
    for (int32_t i = 0; i < n; ++i) slots[static_cast<size_t>(i)].SettleAsCopy();
    index.resize(grown);
  }
  if (id == 0) return false;

  Value& slot = slots[static_cast<size_t>(n)];
  slot.kind = static_cast<int32_t>(kind);
  slot.id = id;
  slot.count = static_cast<uint32_t>(count);
  // Entries rank .. n-1 move up by one; the index keeps as many entries as there are slots.
  if (rank < static_cast<size_t>(n)) {
    std::move_backward(index.begin() + static_cast<std::ptrdiff_t>(rank), index.begin() + n,
                       index.begin() + n + 1);
  }
  index[rank] = n;
  scopeCounts.back() = n + 1;
  return true;
}

Value* ProgramContext::FindValue(uint64_t id) {
  for (size_t s = scopeCounts.size(); s-- > 0;) {
    std::vector<Value>& slots = scopeValues[s];
    const std::vector<int32_t>& index = scopeIndex[s];
    const size_t upper = UpperBoundById(slots, index, scopeCounts[s], id);
    // Equal ids stand in declaration order, so the entry just below the upper bound is the
    // LAST declaration of the id: a scope that declares an id twice finds the later one.
    if (upper > 0) {
      Value& candidate = slots[static_cast<size_t>(index[upper - 1])];
      if (candidate.id == id) return &candidate;
    }
  }
  return nullptr;
}

bool ProgramContext::ReadCallArguments(uint64_t& pos, std::vector<Value*>& arguments) {
  pos += 1;  // skip bit
  uint64_t count;
  if (!ReadVarWidth(pos, count)) return false;
  // Grows with the references actually read: a huge count in a short program fails at the
  // program's end instead of sizing an allocation.
  for (uint64_t i = 0; i < count; ++i) {
    pos += 1;  // skip bit
    uint64_t id;
    if (!ReadVarWidth(pos, id)) return false;
    Value* argument = FindValue(id);
    if (argument == nullptr) return false;
    arguments.push_back(argument);
  }
  return true;
}

namespace {
thread_local uint64_t g_lastScopeEpoch = 0;
}  // namespace

// Epochs are never reused on a thread, so a reference found by one context is never taken
// for one found by another.
void ProgramContext::NewScopeEpoch() { scopeEpoch_ = ++g_lastScopeEpoch; }

void ProgramContext::CloseInnermostScope() {
  NewScopeEpoch();
  ReleaseScope(scopeCounts.size() - 1);
  scopeCounts.pop_back();
  scopeIndex.pop_back();
  scopeValues.pop_back();
}

// The context keeps one closed scope of the initial size for the next it opens (a routine
// opens and closes its outermost scope on every call); others go to the pool.
void ProgramContext::ReleaseScope(size_t s) noexcept {
  std::vector<Value>& slots = scopeValues[s];
  std::vector<int32_t>& index = scopeIndex[s];
  if (spareSlots_.empty() && slots.size() == kInitialScopeSlots &&
      index.size() == kInitialScopeSlots) {
    scope_pool::ResetDeclared(slots, index, scopeCounts[s]);
    spareSlots_.swap(slots);  // both spares are empty: nothing to release
    spareIndex_.swap(index);
    return;
  }
  scope_pool::Give(slots, index, scopeCounts[s], kInitialScopeSlots);
}

void ProgramContext::CloseAllScopes() {
  if (scopeCounts.empty()) return;  // nothing changes: references found stay as they are
  NewScopeEpoch();
  for (size_t s = scopeCounts.size(); s-- > 0;) ReleaseScope(s);
  scopeCounts.clear();
  scopeIndex.clear();
  scopeValues.clear();
}

bool ProgramContext::ReadJump(uint64_t& pos) {
  uint64_t offset;
  if (!ReadBits(pos, 32, offset)) return false;
  const int64_t signedOffset = static_cast<int32_t>(static_cast<uint32_t>(offset));
  pos += static_cast<uint64_t>(signedOffset);  // wraps below bit 0 to a position past the end
  return true;
}
