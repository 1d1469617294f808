// TimeLockTextToBytes and TimeLockBytesToText: inverse transforms under one 64-bit seed.
#include <string>

#include "interpreter/natives/ArgumentRules.h"
#include "interpreter/natives/NativeArgs.h"
#include "interpreter/natives/Natives.h"
#include "interpreter/natives/TimeLockPad.h"
#include "interpreter/program/RunBudget.h"

namespace {

bool ReadSeedBytes(const Value* v, uint8_t seedBytes[8]) {
  uint64_t seed;
  if (!ReadQuadArg(v, seed)) return false;
  StoreLE64(seedBytes, seed);
  return true;
}

// The pad's hashes and one step per data byte.
bool SpendPadBudget([[maybe_unused]] const uint8_t seedBytes[8],
                    [[maybe_unused]] size_t length) {
#ifdef TARNVAULT_RUN_BUDGET
  const uint64_t padHashes = TimeLockStartFor(seedBytes).padSize / 16;
  return SpendHashBudget(padHashes + static_cast<uint64_t>(length));
#else
  return true;
#endif
}

}  // namespace

bool TimeLockTextToBytes(NativeArgs* args) {
  uint8_t seedBytes[8];
  const std::string* text = TextInputArg(args->GetAt(1));
  Value* output = args->GetAt(2);
  if (!ReadSeedBytes(args->GetAt(0), seedBytes) || text == nullptr || !IsByteArrayOutput(output)) {
    return false;
  }

  if (!SpendPadBudget(seedBytes, text->size())) return false;
  ByteArray& bytes = OpenByteArrayOutput(*output);
  bytes.assign(text->begin(), text->end());
  ApplyTimeLockPad(bytes.data(), bytes.size(), seedBytes);
  return true;
}

bool TimeLockBytesToText(NativeArgs* args) {
  uint8_t seedBytes[8];
  const ByteArray* bytes = ByteArrayInputArg(args->GetAt(1));
  Value* output = args->GetAt(2);
  if (!ReadSeedBytes(args->GetAt(0), seedBytes) || bytes == nullptr || output == nullptr ||
      output->kind != kKindString) {
    return false;
  }

  if (!SpendPadBudget(seedBytes, bytes->size())) return false;
  // The working copy ends in a zero byte; the text runs to the first zero byte in it. The pad
  // is already released when the text is stored.
  std::string working(bytes->begin(), bytes->end());
  ApplyTimeLockPad(reinterpret_cast<uint8_t*>(working.data()), working.size(), seedBytes);
  return output->SetString(0, working.c_str());
}
