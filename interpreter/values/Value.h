#pragma once
// The interpreter's one data type: count elements of one kind, with the id of the program
// variable it is (0 for an immediate or temporary value).
#include <bit>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "interpreter/values/ElementStorage.h"

enum ValueKind : int32_t {
  kKindUnset = -1,
  kKindString = 0,
  kKindInt = 1,
  kKindDouble = 2,
  kKindBarray = 3,
  kKindUInt64 = 4,
  kKindUInt32 = 5,
};

using ByteArray = std::vector<uint8_t>;

using TextStorage = ElementPages<std::string>;
using ByteArrayStorage = ElementPages<ByteArray>;

class Value {
 public:
  Value() = default;
  Value(const Value& source);
  // Scope slots move when a scope grows; moving never touches the element storage.
  Value(Value&& source) noexcept { *this = std::move(source); }
  Value& operator=(Value&& source) noexcept {
    if (this != &source) {
      if (data != nullptr) Clear();
      kind = source.kind;
      id = source.id;
      count = source.count;
      data = source.data;
      heldKind = source.heldKind;
      heldCount = source.heldCount;
      source.data = nullptr;
      source.heldKind = kKindUnset;
      source.heldCount = 0;
      source.kind = kKindUnset;
      source.id = 0;
      source.count = 1;
    }
    return *this;
  }
  Value& operator=(const Value&) = delete;
  ~Value();

  // Makes this Value read exactly as a copy of it would (Value(const Value&)), keeping its
  // storage where the copy's would hold the same: a scope that grows moves its slots and then
  // settles each one this way, so that growing never changes what a program can read.
  void SettleAsCopy();

  void Clear();
  void* GetData() const;
  void EnsureStorage();
  void* GetOrAllocData();

  // Element setters. An index at or past the elements is refused with false (SetString grows),
  // as is a setter whose element width or kind does not match the Value's kind.
  bool SetDouble(uint32_t index, double v);
  bool SetInt32(uint32_t index, uint32_t word);
  bool SetUInt64(uint32_t index, uint64_t v);
  bool SetString(uint32_t index, const char* text);
  ByteArray& GetByteArray();
  bool SetByteArray(uint32_t index, const ByteArray& bytes);

  // Give the Value kind K and n elements (its storage is replaced when kind or count change)
  // and copy n elements from source, or zero-fill numeric storage when source is null.
  // The string and barray forms keep held texts and byte arrays when source is null.
  TextStorage* AssignStringArray(uint32_t n, const TextStorage* source);
  int32_t* AssignIntArray(uint32_t n, const int32_t* source);
  double* AssignDoubleArray(uint32_t n, const double* source);
  ByteArrayStorage* AssignByteArrays(uint32_t n, const ByteArrayStorage* source);
  uint64_t* AssignUInt64Array(uint32_t n, const uint64_t* source);
  uint32_t* AssignUInt32Array(uint32_t n, const uint32_t* source);

  // Copies source's elements into this Value of the same kind; false when the kinds differ.
  // One number onto a number held is copied here in place, as routine parameters are.
  bool CopyFrom(const Value& source) {
    const uint32_t width = ElementWidth(kind);
    if (width != 0 && source.kind == kind && count == 1 && source.count == 1 && Holds(kind) &&
        heldCount == 1) {
      const bool held = source.Holds(kind) && source.heldCount == 1;
      if (width == 8) {
        StoreLE64(static_cast<uint8_t*>(data),
                  held ? LoadLE64(static_cast<const uint8_t*>(source.data)) : 0);
      } else {
        StoreLE32(static_cast<uint8_t*>(data),
                  held ? LoadLE32(static_cast<const uint8_t*>(source.data)) : 0);
      }
      return true;
    }
    return CopyElementsFrom(source);
  }
  bool AssignValue(const Value& source, std::string* err, bool allowRef, uint32_t dstIdx,
                   uint32_t srcIdx);
  bool PerformMathOp(const uint32_t& op, const Value& source, std::string& err, bool allowRef,
                     uint32_t dstIdx);
  const char* ToString(std::string& out) const;

  // Readers used by the statements and natives; a Value without storage reads as zeros
  // and empty texts, and an index past the elements reads the same way.
  bool HasStorage() const { return data != nullptr; }
  static uint32_t ElementWidth(int32_t kind) {  // 4 or 8 for numeric kinds, 0 otherwise
    // By table rather than by branches: the statements ask it for every element they touch.
    static constexpr uint8_t kWidths[8] = {0, 4, 8, 0, 8, 4, 0, 0};
    return static_cast<uint32_t>(kind) < 8 ? kWidths[kind] : 0;
  }
  bool IsNumeric() const { return ElementWidth(kind) != 0; }
  uint64_t StorageBytes() const;               // count × element width for numeric kinds
  uint8_t* NumericBytes();                     // element storage of a numeric Value, or null
  const uint8_t* NumericBytes() const;
  uint32_t GetWord(uint32_t index) const {  // int and uint32 elements
    const uint8_t* p = HeldNumeric(index, 4);
    return p != nullptr ? LoadLE32(p) : 0;
  }
  uint64_t GetUInt64(uint32_t index) const {  // uint64 elements, or the bits of a double
    const uint8_t* p = HeldNumeric(index, 8);
    return p != nullptr ? LoadLE64(p) : 0;
  }
  double GetDouble(uint32_t index) const {  // double elements, or a uint64's bits
    return std::bit_cast<double>(GetUInt64(index));
  }
  // The held element at index of a numeric Value of this element width, or null when the
  // Value holds no such element (no storage, another width, an index past the elements).
  uint8_t* HeldNumeric(uint32_t index, uint32_t width) const {
    if (ElementWidth(kind) != width || !Holds(kind) || index >= heldCount || index >= count) {
      return nullptr;
    }
    return static_cast<uint8_t*>(data) + uint64_t{index} * width;
  }
  // Whether element index is held in storage of the 8-byte kind k (uint64 or double) and this
  // Value is of that kind: HeldNumeric(index, 8) is not null. heldKind names a kind only while
  // storage is held.
  bool HoldsWide(int32_t k, uint32_t index) const {
    return kind == k && heldKind == k && index < heldCount && index < count;
  }
  // Element index of a Value for which HoldsWide holds.
  uint8_t* WideAt(uint32_t index) const {
    return static_cast<uint8_t*>(data) + uint64_t{index} * 8;
  }
  // Texts held by a string Value (may exceed count). One text past the largest index makes
  // 2^32 texts, which only a 64-bit count can say.
  uint64_t TextCount() const {
    const TextStorage* texts = Texts();
    return texts != nullptr ? texts->Size() : 0;
  }
  const std::string& GetText(uint32_t index) const {
    const TextStorage* texts = Texts();
    return texts != nullptr ? texts->Get(index) : TextStorage::Empty();
  }
  const ByteArray& GetBytes(uint32_t index) const {
    const ByteArrayStorage* arrays = Arrays();
    return arrays != nullptr && index < count ? arrays->Get(index) : ByteArrayStorage::Empty();
  }

  int32_t kind = kKindUnset;
  uint64_t id = 0;
  uint32_t count = 1;

 private:
  void* data = nullptr;
  // What data really holds, so that storage is freed and read as what it is even if the
  // public kind or count were rewritten while storage was held.
  int32_t heldKind = kKindUnset;
  uint32_t heldCount = 0;  // numeric elements held

  bool Holds(int32_t k) const { return data != nullptr && heldKind == k; }
  void AllocateStorage();
  void Retype(int32_t k, uint32_t n);
  bool AssignElementsOf(const Value& source);  // the Assign member of this kind, from source
  bool CopyElementsFrom(const Value& source);   // CopyFrom's other cases
  template <typename T>
  T* AssignNumeric(int32_t k, uint32_t n, const T* source);
  TextStorage* Texts() const {
    return Holds(kKindString) ? static_cast<TextStorage*>(data) : nullptr;
  }
  ByteArrayStorage* Arrays() const {
    return Holds(kKindBarray) ? static_cast<ByteArrayStorage*>(data) : nullptr;
  }
  const void* NumericElements(int32_t k) const;
  bool HasElement(uint32_t index) const;
  bool HasSourceElement(uint32_t index) const;
};
