#include <cstdint>

#include "interpreter/keys/MurmurHash3.h"
#include "interpreter/natives/ArgumentRules.h"
#include "interpreter/natives/NativeArgs.h"
#include "interpreter/natives/Natives.h"
#include "interpreter/program/RunBudget.h"

bool HashBytes(NativeArgs* args) {
  Value* output = args->GetAt(0);
  const ByteArray* data = ByteArrayInputArg(args->GetAt(1));
  uint64_t hashCount, outputSize;
  if (!RawOutputSize(output, outputSize) || outputSize < 8 || data == nullptr ||
      !ReadQuadArg(args->GetAt(2), hashCount)) {
    return false;
  }
  // The hash takes a signed 32-bit length.
  if (data->size() > static_cast<size_t>(INT32_MAX)) return false;
  if (!SpendHashBudget(hashCount)) return false;

  static const uint8_t kNoByte = 0;
  uint8_t first[16];
  MurmurHash3_x64_128(data->empty() ? &kNoByte : data->data(), static_cast<int32_t>(data->size()),
                      static_cast<uint32_t>(hashCount), first);
  // Each further hash takes the 16 bytes of the one before, seeded with its own number.
  Hash128 h = LoadHash128(first);
  for (uint64_t i = 1; i < hashCount; ++i) h = MurmurHash3_x64_128_16(h, static_cast<uint32_t>(i));

  StoreLE64(RawOutputBytes(*output), h.h1);
  return true;
}
