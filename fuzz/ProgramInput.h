#pragma once
// How a fuzz input maps onto one run: byte 0 chooses how the program is read, the bytes after
// it are the TimeLock file.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "interpreter/keys/KeyStream.h"

namespace fuzzinput {

inline constexpr uint8_t kKeyedFlag = 0x01;  // set: deciphered with the main key's stream
// Set: the program is laid out a little before byte 65,536, behind zero filler, and run from
// its own first bit (as a routine starts), so that its fields cross the key stream's wrap.
inline constexpr uint8_t kNearWrapFlag = 0x02;
inline constexpr uint64_t kNearWrapOffset = kKeyStreamBytes - 24;
// Set (differential target only): the decoded statements get a tiny memory bound.
inline constexpr uint8_t kTinyBoundFlag = 0x04;
// Set (differential target only): statements are decoded on their first visit, not their second.
inline constexpr uint8_t kDecodeAtOnceFlag = 0x08;

// The TimeLock file that an input stands for, where its run starts, and whether it is read
// under the main key's stream.
struct ProgramLayout {
  std::vector<uint8_t> bytes;
  uint64_t startBit = 0;
  bool keyed = false;
};

inline ProgramLayout LayOut(const uint8_t* data, size_t size) {
  ProgramLayout layout;
  layout.keyed = (data[0] & kKeyedFlag) != 0;
  const uint64_t offset = (data[0] & kNearWrapFlag) != 0 ? kNearWrapOffset : 0;
  layout.bytes.assign(offset, 0);
  layout.bytes.insert(layout.bytes.end(), data + 1, data + size);
  layout.startBit = offset * 8;
  return layout;
}

}  // namespace fuzzinput
