// Making, copying, moving and releasing the element storage of a Value.
#include <memory>
#include <utility>

#include "interpreter/values/ElementStorage.h"
#include "interpreter/values/Value.h"

namespace {

bool IsStoredKind(int32_t k) { return k >= kKindString && k <= kKindUInt32; }

}  // namespace

Value::Value(const Value& source) : kind(source.kind), id(source.id) {
  AssignElementsOf(source);
}

Value::~Value() { Clear(); }

// The copy holds storage of exactly count elements for kinds 0 to 5: the held texts or byte
// arrays cut or padded to count, held numbers when they are count elements of the kind, else
// fresh zeros. Any other kind copies as count 1 without storage.
void Value::SettleAsCopy() {
  switch (kind) {
    case kKindString:
    case kKindBarray:
      if (!Holds(kind)) {
        Clear();
        AllocateStorage();
      } else if (kind == kKindString) {
        Texts()->Resize(count);
      } else {
        Arrays()->Resize(count);
      }
      return;
    case kKindInt:
    case kKindDouble:
    case kKindUInt64:
    case kKindUInt32:
      if (NumericElements(kind) == nullptr) {
        Clear();
        AllocateStorage();
      }
      return;
    default:
      Clear();
      count = 1;
  }
}

void Value::Clear() {
  if (data != nullptr) {
    if (heldKind == kKindString) {
      delete static_cast<TextStorage*>(data);
    } else if (heldKind == kKindBarray) {
      delete static_cast<ByteArrayStorage*>(data);
    } else {
      std::free(data);
    }
  }
  data = nullptr;
  heldKind = kKindUnset;
  heldCount = 0;
}

void* Value::GetData() const { return IsStoredKind(kind) ? data : nullptr; }

void Value::EnsureStorage() {
  if (data == nullptr && IsStoredKind(kind)) AllocateStorage();
}

void* Value::GetOrAllocData() {
  EnsureStorage();
  return GetData();
}

void Value::AllocateStorage() {
  if (kind == kKindString) {
    data = new TextStorage(count);
  } else if (kind == kKindBarray) {
    data = new ByteArrayStorage(count);
  } else {
    data = AllocateZeroedBytes(uint64_t{count} * ElementWidth(kind));
    heldCount = count;
  }
  heldKind = kind;
}

void Value::Retype(int32_t k, uint32_t n) {
  Clear();
  kind = k;
  count = n;
}

const void* Value::NumericElements(int32_t k) const {
  return Holds(k) && heldCount == count ? data : nullptr;
}

template <typename T>
T* Value::AssignNumeric(int32_t k, uint32_t n, const T* source) {
  if (kind != k || count != n) Retype(k, n);
  if (!Holds(k) || heldCount != n) {
    Clear();
    AllocateStorage();
  }
  CopyElementBytes(static_cast<uint8_t*>(data),
                   static_cast<const uint8_t*>(static_cast<const void*>(source)),
                   uint64_t{n} * sizeof(T));
  return static_cast<T*>(data);
}

int32_t* Value::AssignIntArray(uint32_t n, const int32_t* source) {
  return AssignNumeric(kKindInt, n, source);
}

double* Value::AssignDoubleArray(uint32_t n, const double* source) {
  return AssignNumeric(kKindDouble, n, source);
}

uint64_t* Value::AssignUInt64Array(uint32_t n, const uint64_t* source) {
  return AssignNumeric(kKindUInt64, n, source);
}

uint32_t* Value::AssignUInt32Array(uint32_t n, const uint32_t* source) {
  return AssignNumeric(kKindUInt32, n, source);
}

TextStorage* Value::AssignStringArray(uint32_t n, const TextStorage* source) {
  if (kind != kKindString || count != n) Retype(kKindString, n);
  if (source != nullptr) {
    auto copy = std::make_unique<TextStorage>(*source);
    copy->Resize(n);
    Clear();
    data = copy.release();
    heldKind = kKindString;
  } else if (!Holds(kKindString)) {
    Clear();
    AllocateStorage();
  } else if (Texts()->Size() < n) {
    Texts()->Resize(n);
  }
  return Texts();
}

// Every caller hands a source of n byte arrays; the resize keeps the storage at exactly n
// arrays even when one does not, so no index below count lies outside it.
ByteArrayStorage* Value::AssignByteArrays(uint32_t n, const ByteArrayStorage* source) {
  if (kind != kKindBarray || count != n) Retype(kKindBarray, n);
  if (source != nullptr) {
    auto copy = std::make_unique<ByteArrayStorage>(*source);
    copy->Resize(n);
    Clear();
    data = copy.release();
    heldKind = kKindBarray;
  } else if (!Holds(kKindBarray)) {
    Clear();
    AllocateStorage();
  } else if (Arrays()->Size() != n) {
    Arrays()->Resize(n);
  }
  return Arrays();
}

bool Value::CopyElementsFrom(const Value& source) {
  if (kind != source.kind) return false;
  if (this == &source) {
    // Clearing first would lose the very elements to be copied.
    if (!IsStoredKind(kind)) {
      Clear();
      return false;
    }
    EnsureStorage();
    return true;
  }
  // Numbers of the same count are copied over the storage held, which then reads exactly as
  // new storage would: a routine's parameters copy in and out this way on every call.
  if (const uint32_t width = ElementWidth(kind);
      width != 0 && count == source.count && NumericElements(kind) != nullptr) {
    CopyElementBytes(static_cast<uint8_t*>(data),
                     static_cast<const uint8_t*>(source.NumericElements(kind)),
                     uint64_t{count} * width);
    return true;
  }
  Clear();
  if (!AssignElementsOf(source)) return false;
  return data != nullptr;
}

bool Value::AssignElementsOf(const Value& source) {
  switch (kind) {
    case kKindString:
      AssignStringArray(source.count, source.Texts());
      return true;
    case kKindInt:
      AssignIntArray(source.count, static_cast<const int32_t*>(source.NumericElements(kind)));
      return true;
    case kKindDouble:
      AssignDoubleArray(source.count, static_cast<const double*>(source.NumericElements(kind)));
      return true;
    case kKindBarray:
      AssignByteArrays(source.count, source.Arrays());
      return true;
    case kKindUInt64:
      AssignUInt64Array(source.count,
                        static_cast<const uint64_t*>(source.NumericElements(kind)));
      return true;
    case kKindUInt32:
      AssignUInt32Array(source.count,
                        static_cast<const uint32_t*>(source.NumericElements(kind)));
      return true;
    default:
      return false;
  }
}
