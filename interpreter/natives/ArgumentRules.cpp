#include "interpreter/natives/ArgumentRules.h"

#include "interpreter/keys/MurmurHash3.h"

namespace {

const ByteArray kNoBytes;
const std::string kNoText;

// Points bytes at the element storage when it holds at least `width` bytes; false when the
// Value cannot be read so. A Value without storage reads as zeros whatever its kind (bytes null).
bool ReadLeadingBytes(const Value* v, uint32_t width, const uint8_t*& bytes) {
  bytes = nullptr;
  if (v == nullptr) return false;
  if (!v->HasStorage()) return true;
  if (!v->IsNumeric() || v->StorageBytes() < width) return false;
  bytes = v->NumericBytes();
  return bytes != nullptr;
}

}  // namespace

bool ReadWordArg(const Value* v, uint32_t& out) {
  const uint8_t* bytes;
  if (!ReadLeadingBytes(v, 4, bytes)) return false;
  out = bytes != nullptr ? LoadLE32(bytes) : 0;
  return true;
}

bool ReadSignedWordArg(const Value* v, int32_t& out) {
  uint32_t word;
  if (!ReadWordArg(v, word)) return false;
  out = static_cast<int32_t>(word);
  return true;
}

bool ReadQuadArg(const Value* v, uint64_t& out) {
  const uint8_t* bytes;
  if (!ReadLeadingBytes(v, 8, bytes)) return false;
  out = bytes != nullptr ? LoadLE64(bytes) : 0;
  return true;
}

bool RawOutputSize(const Value* v, uint64_t& size) {
  if (v == nullptr || !v->IsNumeric()) return false;
  // Storage that is held but is not this kind's element storage cannot be written as such.
  if (v->HasStorage() && v->NumericBytes() == nullptr) return false;
  size = v->StorageBytes();
  return true;
}

uint8_t* RawOutputBytes(Value& v) {
  v.EnsureStorage();
  return v.NumericBytes();
}

const ByteArray* ByteArrayInputArg(const Value* v) {
  if (v == nullptr || v->kind != kKindBarray) return nullptr;
  return v->HasStorage() ? &v->GetBytes(0) : &kNoBytes;
}

const std::string* TextInputArg(const Value* v) {
  if (v == nullptr || v->kind != kKindString) return nullptr;
  return v->HasStorage() ? &v->GetText(0) : &kNoText;
}

bool IsByteArrayOutput(const Value* v) {
  if (v == nullptr) return false;
  if (!v->HasStorage()) return true;
  // Byte array 0 of a barray of no elements does not exist; writing it would reach past the
  // storage.
  return v->kind == kKindBarray && v->count >= 1;
}

ByteArray& OpenByteArrayOutput(Value& v) { return v.GetByteArray(); }

bool IsStringOutput(const Value* v) {
  return v != nullptr && (!v->HasStorage() || v->kind == kKindString);
}

void OpenStringOutput(Value& v) {
  if (v.HasStorage()) return;
  if (v.kind != kKindString || v.count != 1) {
    v.Clear();
    v.kind = kKindString;
    v.count = 1;
  }
  v.SetString(0, "");
}
