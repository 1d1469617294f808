#include "interpreter/natives/TimeLockPad.h"

#include <cstring>
#include <memory>

TimeLockStart TimeLockStartFor(const uint8_t seedBytes[8]) {
  TimeLockStart start{};
  MurmurHash3_x64_128(seedBytes, 8, 0, start.state);
  const auto h1 = static_cast<uint32_t>(LoadLE64(start.state));
  start.padSize = ((h1 & kTimeLockPadMaskBits) + kTimeLockPadMinimum) & ~15u;
  return start;
}

bool FillTimeLockPad(uint8_t* pad, uint32_t size, const uint8_t state[16]) {
  Hash128 block = LoadHash128(state);
  const uint32_t blocks = size / 16;
  for (uint32_t i = 0; i < blocks; ++i) {
    block = MurmurHash3_x64_128_16(block, static_cast<uint32_t>(block.h1));
    StoreHash128(block, pad + 16 * static_cast<size_t>(i));
  }
  return true;
}

void WalkTimeLockPad(uint8_t* data, size_t length, const uint8_t* pad, uint32_t padSize,
                     const uint8_t state[16]) {
  if (padSize == 0) return;
  uint8_t s[16];
  std::memcpy(s, state, sizeof s);
  // No index reaches 0xFFFFFFFF, so the first byte is never moved on.
  uint32_t previous = 0xFFFFFFFFu;
  for (size_t i = 0; i < length; ++i) {
    uint32_t index = MurmurHash3_x86_32_16(LoadHash128x86(s), 0) % padSize;
    if (index == previous) index = index + 1 == padSize ? 0 : index + 1;
    data[i] ^= pad[index];
    s[i % 16] = pad[index];
    previous = index;
  }
}

void ApplyTimeLockPad(uint8_t* data, size_t length, const uint8_t seedBytes[8]) {
  const TimeLockStart start = TimeLockStartFor(seedBytes);
  // FillTimeLockPad writes every byte, so the pad is not zero-filled first.
  auto pad = std::make_unique_for_overwrite<uint8_t[]>(start.padSize);
  FillTimeLockPad(pad.get(), start.padSize, start.state);
  WalkTimeLockPad(data, length, pad.get(), start.padSize, start.state);
}
