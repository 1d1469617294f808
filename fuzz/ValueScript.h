#pragma once
// The little language of the Value fuzz target: a sequence of steps over four Values, each
// step a code byte, the slot of the Value it works on, then its operands. Shared with the
// seed-corpus generator.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace valuescript {

inline constexpr size_t kSlots = 4;

enum class Step : uint8_t {
  SetKind,        // kind byte
  SetCount,       // count (wide counts below 2^20)
  SetId,          // id byte
  AssignValue,    // source slot, flags byte (1 allowRef, 2 no error text), dst index, src index
  MathOp,         // source slot, op, flags byte (1 allowRef), dst index
  CopyFrom,       // source slot
  CopyConstruct,  // slot that receives the copy
  SetElement,     // setter byte, index, payload
  AssignArray,    // kind byte, count (as SetCount), source flag (then the elements)
  ToText,         //
  Storage,        // action byte
  Read,           // index
  Native,  // native index, argument count (mod 12), argument slots (the step's slot is unused)
  kCount,
};

// Reads the input front to back; past the end every read gives 0.
class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}

  bool Done() const { return p_ == end_; }
  uint8_t Byte() { return p_ == end_ ? 0 : *p_++; }
  uint32_t U32() { return static_cast<uint32_t>(Little(4)); }
  uint64_t U64() { return Little(8); }
  size_t Slot() { return Byte() % kSlots; }
  // Kinds -1 to 7: every code a program can give, and the unset kind.
  int32_t Kind() { return static_cast<int32_t>(Byte() % 9) - 1; }
  // Mostly small, so that elements line up; a marker byte brings in a full 32-bit number.
  uint32_t Small(uint32_t below) {
    const uint8_t b = Byte();
    return b >= kWideMarker ? U32() : b % below;
  }

  // As Small, with a wide count kept below 2^20: billions of elements cost only time here (a
  // page table walked on every copy); the program target declares them.
  uint32_t Count(uint32_t below) {
    const uint8_t b = Byte();
    return b >= kWideMarker ? U32() & kMaxWideCount : b % below;
  }

  static constexpr uint8_t kWideMarker = 0xF0;
  static constexpr uint32_t kMaxWideCount = 0x000FFFFF;

 private:
  uint64_t Little(unsigned n) {
    uint64_t v = 0;
    for (unsigned i = 0; i < n; ++i) v |= uint64_t{Byte()} << (8 * i);
    return v;
  }

  const uint8_t* p_;
  const uint8_t* end_;
};

// Builds scripts for the corpus, mirroring Reader.
class Writer {
 public:
  Writer& Op(Step s) { return Byte(static_cast<uint8_t>(s)); }
  Writer& Byte(uint8_t b) {
    bytes.push_back(b);
    return *this;
  }
  Writer& Kind(int32_t k) { return Byte(static_cast<uint8_t>(k + 1)); }
  Writer& Small(uint32_t v) {
    if (v < Reader::kWideMarker) return Byte(static_cast<uint8_t>(v));
    return Byte(Reader::kWideMarker).Little(v, 4);
  }
  Writer& Wide(uint32_t v) { return Byte(Reader::kWideMarker).Little(v, 4); }
  Writer& U32(uint32_t v) { return Little(v, 4); }
  Writer& U64(uint64_t v) { return Little(v, 8); }
  Writer& Little(uint64_t v, unsigned n) {
    for (unsigned i = 0; i < n; ++i) Byte(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }

  std::vector<uint8_t> bytes;
};

}  // namespace valuescript
