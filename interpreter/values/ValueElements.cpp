// Reading and writing single elements of a Value.
#include <bit>
#include <cstdint>

#include "interpreter/values/ElementStorage.h"
#include "interpreter/values/Value.h"

uint64_t Value::StorageBytes() const {
  return uint64_t{ElementWidth(kind)} * (Holds(kind) ? heldCount : count);
}

uint8_t* Value::NumericBytes() {
  return IsNumeric() && Holds(kind) ? static_cast<uint8_t*>(data) : nullptr;
}

const uint8_t* Value::NumericBytes() const {
  return IsNumeric() && Holds(kind) ? static_cast<const uint8_t*>(data) : nullptr;
}

bool Value::HasElement(uint32_t index) const {
  if (index >= count) return false;
  if (data == nullptr) return true;
  if (heldKind == kKindString) return index < Texts()->Size();
  if (heldKind == kKindBarray) return index < Arrays()->Size();
  return index < heldCount;
}

bool Value::HasSourceElement(uint32_t index) const {
  // A string Value may hold more texts than its count; each of them can be read.
  if (kind == kKindString && Texts() != nullptr) return index < Texts()->Size();
  return HasElement(index);
}

bool Value::SetInt32(uint32_t index, uint32_t word) {
  if (ElementWidth(kind) != 4 || !HasElement(index)) return false;
  EnsureStorage();
  uint8_t* p = HeldNumeric(index, 4);
  if (p == nullptr) return false;
  StoreLE32(p, word);
  return true;
}

bool Value::SetUInt64(uint32_t index, uint64_t v) {
  if (ElementWidth(kind) != 8 || !HasElement(index)) return false;
  EnsureStorage();
  uint8_t* p = HeldNumeric(index, 8);
  if (p == nullptr) return false;
  StoreLE64(p, v);
  return true;
}

bool Value::SetDouble(uint32_t index, double v) {
  return SetUInt64(index, std::bit_cast<uint64_t>(v));
}

bool Value::SetString(uint32_t index, const char* text) {
  if (kind != kKindString) return false;
  if (text == nullptr) text = "";
  // A text that is already there takes the new one in its own buffer; assign copes with text
  // lying in that very buffer, and no other text moves.
  if (TextStorage* texts = Texts(); texts != nullptr) {
    if (std::string* held = texts->Held(index)) {
      held->assign(text);
      return true;
    }
  }
  // Copied first: text may point into this Value's own texts, which growing can move.
  std::string copy(text);
  EnsureStorage();
  TextStorage* texts = Texts();
  if (texts == nullptr) return false;
  if (texts->Size() <= index) texts->Resize(uint64_t{index} + 1);
  texts->At(index) = std::move(copy);
  return true;
}

bool Value::SetByteArray(uint32_t index, const ByteArray& bytes) {
  if (kind != kKindBarray || !HasElement(index)) return false;
  if (ByteArrayStorage* arrays = Arrays(); arrays != nullptr) {
    if (ByteArray* held = arrays->Held(index)) {
      *held = bytes;  // reuses its buffer; bytes may be this very array or another one
      return true;
    }
  }
  ByteArray copy(bytes);  // bytes may be another element of this Value, which making one moves
  EnsureStorage();
  ByteArrayStorage* arrays = Arrays();
  if (arrays == nullptr) return false;
  arrays->At(index) = std::move(copy);
  return true;
}

// A Value that holds no byte array 0 to hand out (no storage, storage of another kind, or a
// barray of no elements) becomes a one-element barray first.
ByteArray& Value::GetByteArray() {
  if (data == nullptr) {
    if (kind != kKindBarray || count != 1) Retype(kKindBarray, 1);
  } else if (kind != kKindBarray || Arrays() == nullptr || Arrays()->Size() == 0 || count == 0) {
    Retype(kKindBarray, 1);
  }
  EnsureStorage();
  return Arrays()->At(0);
}
