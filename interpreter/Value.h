#pragma once
// The interpreter's one data type: count elements of one kind, with the id of the program
// variable it is (0 for an immediate or temporary value).
#include <cstdint>
#include <string>
#include <vector>

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

class Value {
 public:
  Value() = default;
  Value(const Value& source);
  // Scope slots move when a scope grows; moving never touches the element storage.
  Value(Value&& source) noexcept;
  Value& operator=(Value&& source) noexcept;
  Value& operator=(const Value&) = delete;
  ~Value();

  void Clear();
  void* GetData() const;
  void EnsureStorage();
  void* GetOrAllocData();

  // Element setters. An index at or past the elements is refused with false (SetString grows).
  bool SetDouble(uint32_t index, double v);
  bool SetInt32(uint32_t index, uint32_t word);
  bool SetUInt64(uint32_t index, uint64_t v);
  bool SetString(uint32_t index, const char* text);
  ByteArray& GetByteArray();
  bool SetByteArray(uint32_t index, const ByteArray& bytes);

  bool CopyFrom(const Value& source);
  bool AssignValue(const Value& source, std::string* err, bool allowRef, uint32_t dstIdx,
                   uint32_t srcIdx);
  bool PerformMathOp(const uint32_t& op, const Value& source, std::string& err, bool allowRef,
                     uint32_t dstIdx);
  const char* ToString(std::string& out) const;

  // Readers used by the statements and natives; a Value without storage reads as zeros
  // and empty texts, and an index past the elements reads the same way.
  bool HasStorage() const { return data != nullptr; }
  static uint32_t ElementWidth(int32_t kind);  // 4 or 8 for numeric kinds, 0 otherwise
  bool IsNumeric() const { return ElementWidth(kind) != 0; }
  uint64_t StorageBytes() const;               // count × element width for numeric kinds
  uint8_t* NumericBytes();                     // element storage of a numeric Value, or null
  const uint8_t* NumericBytes() const;
  uint32_t GetWord(uint32_t index) const;      // int and uint32 elements
  uint64_t GetUInt64(uint32_t index) const;
  double GetDouble(uint32_t index) const;
  uint32_t TextCount() const;                  // texts held by a string Value (may exceed count)
  const std::string& GetText(uint32_t index) const;
  const ByteArray& GetBytes(uint32_t index) const;

  int32_t kind = kKindUnset;
  uint64_t id = 0;
  uint32_t count = 1;

 private:
  void* data = nullptr;
};
