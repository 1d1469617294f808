#pragma once
// Bit positions to the numbers of decoded statements. The program is cut into regions of 2^16
// bits, and each region has its own flat table (open addressing, linear probing, Fibonacci
// hashing) of 8-byte entries: no allocation per entry, a lookup is a multiply and usually one
// probe, and the statements that a run decodes one after the other land in one small table
// that stays in the cache.
#include <cstdint>
#include <vector>

class PositionTable {
 public:
  struct Entry {
    uint32_t offset;     // the position within its region
    uint32_t statement;  // kEmpty, kUndecodable, or the statement's number
  };
  static constexpr uint32_t kEmpty = 0;
  // Entered, and never decoded: its fields do not decode, or the bound left no room for it.
  static constexpr uint32_t kUndecodable = UINT32_MAX;

  // Bytes that Cover takes for a program of bitLength bits.
  static uint64_t CoverBytes(uint64_t bitLength) {
    return (bitLength / kRegionBits + 1) * sizeof(Region);
  }
  // Makes room for the regions of a program of bitLength bits; nothing is entered before.
  void Cover(uint64_t bitLength) { regions_.resize(bitLength / kRegionBits + 1); }

  // The entry of pos, or null when pos was never entered.
  const Entry* Find(uint64_t pos) const {
    if (pos / kRegionBits >= regions_.size()) return nullptr;
    const std::vector<Entry>& entries = regions_[pos / kRegionBits].entries;
    if (entries.empty()) return nullptr;
    const uint32_t offset = pos % kRegionBits;
    for (size_t i = Home(offset, entries.size());; i = (i + 1) & (entries.size() - 1)) {
      if (entries[i].statement == kEmpty) return nullptr;
      if (entries[i].offset == offset) return &entries[i];
    }
  }

  // Enters pos (covered, and not entered before) as kUndecodable. Growing a region's table
  // first asks reserve for the added bytes; null, entering nothing, when it refuses them.
  template <typename Reserve>
  Entry* Insert(uint64_t pos, Reserve reserve) {
    Region& region = regions_[pos / kRegionBits];
    std::vector<Entry>& entries = region.entries;
    if ((region.used + 1) * 4 > entries.size() * 3) {
      const size_t grown = entries.empty() ? 16 : entries.size() * 2;
      if (!reserve((grown - entries.size()) * sizeof(Entry))) return nullptr;
      std::vector<Entry> old(grown, Entry{0, kEmpty});
      old.swap(entries);
      for (const Entry& e : old) {
        if (e.statement != kEmpty) *FreeSlot(entries, e.offset) = e;
      }
    }
    ++region.used;
    const uint32_t offset = pos % kRegionBits;
    Entry* slot = FreeSlot(entries, offset);
    *slot = Entry{offset, kUndecodable};
    return slot;
  }

 private:
  static constexpr uint64_t kRegionBits = uint64_t{1} << 16;

  struct Region {
    std::vector<Entry> entries;  // a power of two in size, at most three quarters full
    size_t used = 0;
  };

  static size_t Home(uint32_t offset, size_t size) {
    const uint64_t mixed = offset * 0x9E3779B97F4A7C15ull;  // Fibonacci hashing
    return static_cast<size_t>(mixed >> 32) & (size - 1);
  }

  // The empty entry where offset goes.
  static Entry* FreeSlot(std::vector<Entry>& entries, uint32_t offset) {
    size_t i = Home(offset, entries.size());
    while (entries[i].statement != kEmpty) i = (i + 1) & (entries.size() - 1);
    return &entries[i];
  }

  std::vector<Region> regions_;
};
