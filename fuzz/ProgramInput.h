#pragma once
// How a fuzz input maps onto one run: byte 0 chooses how the program is read, the bytes after
// it are the TimeLock file.
#include <cstdint>

#include "interpreter/keys/KeyStream.h"

namespace fuzzinput {

inline constexpr uint8_t kKeyedFlag = 0x01;  // set: deciphered with the main key's stream
// Set: the program is laid out a little before byte 65,536, behind zero filler, and run from
// its own first bit (as a routine starts), so that its fields cross the key stream's wrap.
inline constexpr uint8_t kNearWrapFlag = 0x02;
inline constexpr uint64_t kNearWrapOffset = kKeyStreamBytes - 24;
// Set (differential target only): the decoded statements get a tiny memory bound.
inline constexpr uint8_t kTinyBoundFlag = 0x04;

}  // namespace fuzzinput
