#pragma once
// Bit positions to decoded statements. The program is cut into regions of 2^16 bits, and each
// region has its own flat table (open addressing, linear probing, Fibonacci hashing): no
// allocation per entry, a lookup is a multiply and usually one probe, and the statements that
// a run decodes one after the other land in one small table that stays in the cache. An entry
// may stand for a position whose statement is never decoded.
#include <cstdint>
#include <vector>

struct DecodedStatement;

class PositionTable {
 public:
  struct Entry {
    uint64_t pos;
    DecodedStatement* statement;  // null: not decoded yet
  };

  // Bytes that Cover takes for a program of bitLength bits.
  static uint64_t CoverBytes(uint64_t bitLength) {
    return (bitLength / kRegionBits + 1) * sizeof(Region);
  }
  // Makes room for the regions of a program of bitLength bits; nothing is entered before.
  void Cover(uint64_t bitLength) { regions_.resize(bitLength / kRegionBits + 1); }

  // The entry of pos, or null when pos was never entered.
  Entry* Find(uint64_t pos) {
    if (pos / kRegionBits >= regions_.size()) return nullptr;
    std::vector<Entry>& entries = regions_[pos / kRegionBits].entries;
    if (entries.empty()) return nullptr;
    for (size_t i = Home(pos, entries.size());; i = (i + 1) & (entries.size() - 1)) {
      if (entries[i].pos == pos) return &entries[i];
      if (entries[i].pos == kEmpty) return nullptr;
    }
  }

  // Enters pos (covered, and not entered before) with no statement. Growing a region's table
  // first asks reserve for the added bytes; null, entering nothing, when it refuses them.
  template <typename Reserve>
  Entry* Insert(uint64_t pos, Reserve reserve) {
    Region& region = regions_[pos / kRegionBits];
    std::vector<Entry>& entries = region.entries;
    if ((region.used + 1) * 4 > entries.size() * 3) {
      const size_t grown = entries.empty() ? 16 : entries.size() * 2;
      if (!reserve((grown - entries.size()) * sizeof(Entry))) return nullptr;
      std::vector<Entry> old(grown, Entry{kEmpty, nullptr});
      old.swap(entries);
      for (const Entry& e : old) {
        if (e.pos != kEmpty) *Slot(entries, e.pos) = e;
      }
    }
    ++region.used;
    Entry* slot = Slot(entries, pos);
    *slot = Entry{pos, nullptr};
    return slot;
  }

 private:
  static constexpr uint64_t kRegionBits = uint64_t{1} << 16;
  // No statement starts here: runs never look past the program's end.
  static constexpr uint64_t kEmpty = UINT64_MAX;

  struct Region {
    std::vector<Entry> entries;  // a power of two in size, at most three quarters full
    size_t used = 0;
  };

  static size_t Home(uint64_t pos, size_t size) {
    const uint64_t mixed = pos * 0x9E3779B97F4A7C15ull;  // Fibonacci hashing
    return static_cast<size_t>(mixed >> 32) & (size - 1);
  }

  // The entry for pos, or the empty one where it goes.
  static Entry* Slot(std::vector<Entry>& entries, uint64_t pos) {
    size_t i = Home(pos, entries.size());
    while (entries[i].pos != kEmpty && entries[i].pos != pos) i = (i + 1) & (entries.size() - 1);
    return &entries[i];
  }

  std::vector<Region> regions_;
};
