#pragma once
// Bit positions to decoded statements in one flat array (open addressing, linear probing): no
// allocation per entry, and a lookup is a multiply and usually one probe. An entry may stand
// for a position seen but not decoded (yet, or ever).
#include <cstdint>
#include <vector>

struct DecodedStatement;

class PositionTable {
 public:
  struct Entry {
    uint64_t pos;
    DecodedStatement* statement;  // null: seen, not decoded yet
  };

  // The entry of pos, or null when pos was never entered.
  Entry* Find(uint64_t pos) {
    if (entries_.empty()) return nullptr;
    for (size_t i = Home(pos);; i = (i + 1) & (entries_.size() - 1)) {
      if (entries_[i].pos == pos) return &entries_[i];
      if (entries_[i].pos == kEmpty) return nullptr;
    }
  }

  // Enters pos (not entered before) with no statement. Growing the table first asks reserve
  // for the added bytes; null, entering nothing, when it refuses them.
  template <typename Reserve>
  Entry* Insert(uint64_t pos, Reserve reserve) {
    if ((used_ + 1) * 2 > entries_.size()) {
      const size_t grown = entries_.empty() ? 16 : entries_.size() * 2;
      if (!reserve((grown - entries_.size()) * sizeof(Entry))) return nullptr;
      std::vector<Entry> old(grown, Entry{kEmpty, nullptr});
      old.swap(entries_);
      for (const Entry& e : old) {
        if (e.pos != kEmpty) *Slot(e.pos) = e;
      }
    }
    ++used_;
    Entry* slot = Slot(pos);
    *slot = Entry{pos, nullptr};
    return slot;
  }

 private:
  // No statement starts here: runs never look past the program's end.
  static constexpr uint64_t kEmpty = UINT64_MAX;

  size_t Home(uint64_t pos) const {
    const uint64_t mixed = pos * 0x9E3779B97F4A7C15ull;  // Fibonacci hashing
    return static_cast<size_t>(mixed >> 32) & (entries_.size() - 1);
  }

  // The entry for pos, or the empty one where it goes.
  Entry* Slot(uint64_t pos) {
    size_t i = Home(pos);
    while (entries_[i].pos != kEmpty && entries_[i].pos != pos) i = (i + 1) & (entries_.size() - 1);
    return &entries_[i];
  }

  std::vector<Entry> entries_;  // a power of two in size, at most half full
  size_t used_ = 0;
};
