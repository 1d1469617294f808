#pragma once
// The argument list handed to a native: pointers to Values in statement order, with an
// order array that sorts them by id.
#include <cstdint>
#include <memory>

class Value;

class NativeArgs {
 public:
  enum Flags : uint8_t {
    OwnsValues = 0x01,
    KeepIdOrder = 0x02,
    RefuseDuplicateIds = 0x08,
  };

  NativeArgs() = default;
  explicit NativeArgs(uint8_t initialFlags) : flags(initialFlags) {}
  NativeArgs(const NativeArgs&) = delete;
  NativeArgs& operator=(const NativeArgs&) = delete;
  ~NativeArgs();

  Value* GetAt(uint32_t i) const;
  bool Add(Value* v);
  uint32_t Find(const Value& v, bool& found) const;
  bool InsertInIndexes(uint32_t position, const Value& v);
  bool RemoveAt(uint32_t position);
  void DetachAll();
  bool Grow(uint32_t need);
  void Free();

  uint32_t growBy = 0;
  uint32_t capacity = 0;
  uint32_t count = 0;
  std::unique_ptr<Value*[]> items;
  std::unique_ptr<uint32_t[]> order;
  uint8_t flags = 0;
};
