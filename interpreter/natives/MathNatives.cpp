// Log and Exp: a double's bits in, a double's bits out, both through 8 raw bytes, so a uint64
// carries the bits unchanged and an int or uint32 of two elements holds them across both.
#include <bit>
#include <cmath>

#include "interpreter/keys/MurmurHash3.h"
#include "interpreter/natives/ArgumentRules.h"
#include "interpreter/natives/NativeArgs.h"
#include "interpreter/natives/Natives.h"

namespace {

bool ApplyToDoubleBits(NativeArgs* args, double (*fn)(double)) {
  Value* output = args->GetAt(0);
  uint64_t inputBits, outputSize;
  if (!RawOutputSize(output, outputSize) || outputSize < 8 ||
      !ReadQuadArg(args->GetAt(1), inputBits)) {
    return false;
  }
  const double result = fn(std::bit_cast<double>(inputBits));
  StoreLE64(RawOutputBytes(*output), std::bit_cast<uint64_t>(result));
  return true;
}

}  // namespace

bool Log(NativeArgs* args) { return ApplyToDoubleBits(args, [](double x) { return std::log(x); }); }

bool Exp(NativeArgs* args) { return ApplyToDoubleBits(args, [](double x) { return std::exp(x); }); }
