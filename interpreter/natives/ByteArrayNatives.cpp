// Natives that build and measure byte arrays: NewByteArray, AppendIntegerBytes,
// AppendHexBytes, ByteArrayLength and CopyWordsToBytes.
#include <cstring>

#include "interpreter/keys/MurmurHash3.h"
#include "interpreter/natives/ArgumentRules.h"
#include "interpreter/natives/HexText.h"
#include "interpreter/natives/NativeArgs.h"
#include "interpreter/natives/Natives.h"

bool NewByteArray(NativeArgs* args) {
  Value* result = args->GetAt(0);
  int32_t size;
  if (result == nullptr || !ReadSignedWordArg(args->GetAt(1), size)) return false;

  if (result->kind != kKindBarray || result->count != 1) {
    result->Clear();
    result->kind = kKindBarray;
    result->count = 1;
  }
  // A negative size widens to a size no vector can hold: the length error leaves the run.
  result->GetByteArray().resize(static_cast<size_t>(static_cast<int64_t>(size)));
  return true;
}

bool AppendIntegerBytes(NativeArgs* args) {
  Value* output = args->GetAt(0);
  uint64_t number;
  uint32_t byteCount, mostSignificantFirst;
  if (!IsByteArrayOutput(output) || !ReadQuadArg(args->GetAt(1), number) ||
      !ReadWordArg(args->GetAt(2), byteCount) ||
      !ReadWordArg(args->GetAt(3), mostSignificantFirst)) {
    return false;
  }
  if (byteCount > 8) return false;

  ByteArray& bytes = OpenByteArrayOutput(*output);
  for (uint32_t k = 0; k < byteCount; ++k) {
    const uint32_t b = mostSignificantFirst != 0 ? byteCount - 1 - k : k;
    bytes.push_back(static_cast<uint8_t>(number >> (8 * b)));
  }
  return true;
}

bool AppendHexBytes(NativeArgs* args) {
  Value* output = args->GetAt(0);
  const std::string* text = TextInputArg(args->GetAt(1));
  uint32_t reversed;
  if (!IsByteArrayOutput(output) || text == nullptr || !ReadWordArg(args->GetAt(2), reversed)) {
    return false;
  }

  // The array grows by whole pairs; an odd last character has no byte to go to and is dropped.
  const size_t pairs = text->size() / 2;
  ByteArray& bytes = OpenByteArrayOutput(*output);
  const size_t oldSize = bytes.size();
  bytes.resize(oldSize + pairs);
  for (size_t k = 0; k < pairs; ++k) {
    const size_t at = reversed != 0 ? oldSize + pairs - 1 - k : oldSize + k;
    bytes[at] = HexPairByte((*text)[2 * k], (*text)[2 * k + 1]);
  }
  return true;
}

bool ByteArrayLength(NativeArgs* args) {
  Value* output = args->GetAt(0);
  const Value* arrays = args->GetAt(1);
  uint32_t index;
  uint64_t outputSize;
  if (!RawOutputSize(output, outputSize) || outputSize < 4 || arrays == nullptr ||
      arrays->kind != kKindBarray || !ReadWordArg(args->GetAt(2), index)) {
    return false;
  }
  if (index >= arrays->count) return false;

  const uint32_t length =
      arrays->HasStorage() ? static_cast<uint32_t>(arrays->GetBytes(index).size()) : 0;
  StoreLE32(RawOutputBytes(*output), length);
  return true;
}

bool CopyWordsToBytes(NativeArgs* args) {
  Value* output = args->GetAt(0);
  const Value* words = args->GetAt(1);
  uint32_t start, wordCount;
  if (!IsByteArrayOutput(output) || words == nullptr || !ReadWordArg(args->GetAt(2), start) ||
      !ReadWordArg(args->GetAt(3), wordCount)) {
    return false;
  }

  // The output becomes a byte array before the tests, so a failed copy still leaves it one.
  ByteArray& bytes = OpenByteArrayOutput(*output);
  if (!words->IsNumeric()) return false;
  const uint64_t firstByte = 4 * static_cast<uint64_t>(start);
  const uint64_t copyBytes = 4 * static_cast<uint64_t>(wordCount);
  if (static_cast<uint64_t>(start) + wordCount > words->count) return false;
  if (copyBytes > bytes.size()) return false;
  if (copyBytes == 0) return true;

  if (words->HasStorage()) {
    const uint8_t* storage = words->NumericBytes();
    if (storage == nullptr || firstByte + copyBytes > words->StorageBytes()) return false;
    std::memcpy(bytes.data(), storage + firstByte, copyBytes);
  } else {
    std::memset(bytes.data(), 0, copyBytes);
  }
  return true;
}
