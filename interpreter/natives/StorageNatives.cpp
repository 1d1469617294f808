// Natives that write into the element storage of a numeric Value: CopyBytesToStorage,
// HexToWords, CopyByteRange and FillStorage. Every range is checked against the storage in
// 64 bits before a byte is written.
#include <algorithm>
#include <cstring>

#include "interpreter/natives/ArgumentRules.h"
#include "interpreter/natives/HexText.h"
#include "interpreter/natives/NativeArgs.h"
#include "interpreter/natives/Natives.h"

bool CopyBytesToStorage(NativeArgs* args) {
  Value* output = args->GetAt(0);
  const ByteArray* bytes = ByteArrayInputArg(args->GetAt(1));
  uint64_t outputSize;
  if (!RawOutputSize(output, outputSize) || bytes == nullptr) return false;
  // This native never makes storage: the program must have given the target its size.
  if (!output->HasStorage() || bytes->size() > outputSize) return false;

  if (!bytes->empty()) std::memcpy(output->NumericBytes(), bytes->data(), bytes->size());
  return true;
}

bool HexToWords(NativeArgs* args) {
  Value* output = args->GetAt(0);
  const std::string* text = TextInputArg(args->GetAt(1));
  uint32_t start;
  uint64_t outputSize;
  if (!RawOutputSize(output, outputSize) || text == nullptr ||
      !ReadWordArg(args->GetAt(2), start)) {
    return false;
  }

  const uint64_t length = text->size();
  const uint64_t firstByte = 4 * static_cast<uint64_t>(start);
  const uint64_t byteCount = (length + 1) / 2;
  if (start > output->count + length / 2) return false;
  if (firstByte + byteCount > outputSize) return false;

  uint8_t* storage = RawOutputBytes(*output);
  if (byteCount == 0) return true;
  uint8_t* out = storage + firstByte;
  for (uint64_t k = 0; k < length / 2; ++k) {
    out[k] = HexPairByte((*text)[2 * k], (*text)[2 * k + 1]);
  }
  if (length % 2 != 0) out[byteCount - 1] = static_cast<uint8_t>(16u * HexDigitValue(text->back()));

  // Each whole group of eight characters becomes one little-endian word of the number it writes.
  for (uint64_t w = 0; w < length / 8; ++w) std::reverse(out + 4 * w, out + 4 * w + 4);
  return true;
}

bool CopyByteRange(NativeArgs* args) {
  Value* output = args->GetAt(0);
  const ByteArray* bytes = ByteArrayInputArg(args->GetAt(1));
  uint32_t offset, length;
  uint64_t outputSize;
  if (!RawOutputSize(output, outputSize) || bytes == nullptr ||
      !ReadWordArg(args->GetAt(2), offset) || !ReadWordArg(args->GetAt(3), length)) {
    return false;
  }
  if (static_cast<uint64_t>(offset) + length > bytes->size()) return false;
  if (length > 4 * static_cast<uint64_t>(output->count) || length > outputSize) return false;

  uint8_t* storage = RawOutputBytes(*output);
  if (length != 0) std::memcpy(storage, bytes->data() + offset, length);
  return true;
}

bool FillStorage(NativeArgs* args) {
  Value* output = args->GetAt(0);
  uint32_t byteValue, offset, length;
  uint64_t outputSize;
  if (!RawOutputSize(output, outputSize) || !ReadWordArg(args->GetAt(1), byteValue) ||
      !ReadWordArg(args->GetAt(2), offset) || !ReadWordArg(args->GetAt(3), length)) {
    return false;
  }
  if (length > 4 * static_cast<uint64_t>(output->count)) return false;
  if (static_cast<uint64_t>(offset) + length > outputSize) return false;

  uint8_t* storage = RawOutputBytes(*output);
  if (length != 0) std::memset(storage + offset, static_cast<uint8_t>(byteValue), length);
  return true;
}
