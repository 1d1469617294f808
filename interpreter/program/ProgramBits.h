#pragma once
// Reading fields out of an enciphered program. Bit k of a program is bit k mod 8 of its byte
// k div 8; each byte is XORed with key-stream byte (index mod stream size) as it is read, and
// the first bit read is the field's least significant. Fields are read a word at a time.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "interpreter/LittleEndian.h"
#include "interpreter/keys/KeyStream.h"

namespace program_bits {

// Key-stream bytes for program bytes [first, first + count), count 1 to 8, as a little-endian
// number; handles a stream of any size and the wrap at its end.
uint64_t KeyBytesSlow(const std::vector<uint8_t>& keyStream, uint64_t first, uint32_t count);

// Program bytes from first to the program's end (fewer than 8), zero-padded to a word.
uint64_t TailWord(const std::vector<uint8_t>& program, uint64_t first);

// The deciphered ninth byte of a wide field that starts inside a byte.
uint64_t NinthByte(const std::vector<uint8_t>& program, const std::vector<uint8_t>* keyStream,
                   uint64_t index);

// The key-stream word for program bytes first .. first + 7.
inline uint64_t KeyWord(const std::vector<uint8_t>* keyStream, uint64_t first) {
  if (keyStream == nullptr) return 0;
  if (keyStream->size() == kKeyStreamBytes) [[likely]] {
    const uint64_t at = first & (kKeyStreamBytes - 1);
    if (at <= kKeyStreamBytes - 8) [[likely]] {
      return LoadLE64(keyStream->data() + at);
    }
  }
  return keyStream->empty() ? 0 : KeyBytesSlow(*keyStream, first, 8);
}

// Reads the n-bit field (n = 1 to 64) at pos and advances pos past it. False, with pos and
// value unchanged, when the field's last bit would lie at or past bitLength or past the
// program's last byte: no byte outside the program is ever touched.
inline bool ReadField(const std::vector<uint8_t>* program, uint64_t bitLength,
                      const std::vector<uint8_t>* keyStream, uint64_t& pos, uint32_t n,
                      uint64_t& value) {
  if (program == nullptr || n - 1 > 63) return false;  // n = 0 wraps
  const uint64_t size = program->size();
  const uint64_t limit = std::min<uint64_t>(bitLength, size * 8);
  if (pos > limit || n > limit - pos) return false;

  const uint64_t first = pos >> 3;
  const uint32_t shift = static_cast<uint32_t>(pos & 7);
  // Key bytes past a short tail XOR only bits that the mask below drops.
  const uint64_t word =
      first + 8 <= size ? LoadLE64(program->data() + first) : TailWord(*program, first);
  uint64_t bits = (word ^ KeyWord(keyStream, first)) >> shift;
  if (shift + n > 64) [[unlikely]] {
    bits |= NinthByte(*program, keyStream, first + 8) << (64 - shift);
  }
  if (n < 64) bits &= (uint64_t{1} << n) - 1;
  value = bits;
  pos += n;
  return true;
}

}  // namespace program_bits
