#include "interpreter/program/ProgramBits.h"

namespace program_bits {

uint64_t KeyBytesSlow(const std::vector<uint8_t>& keyStream, uint64_t first, uint32_t count) {
  const uint64_t size = keyStream.size();
  uint64_t word = 0;
  uint64_t at = first % size;
  for (uint32_t i = 0; i < count; ++i) {
    word |= static_cast<uint64_t>(keyStream[at]) << (8 * i);
    if (++at == size) at = 0;
  }
  return word;
}

uint64_t TailWord(const std::vector<uint8_t>& program, uint64_t first) {
  uint64_t word = 0;
  for (uint64_t i = first; i < program.size(); ++i) {
    word |= static_cast<uint64_t>(program[i]) << (8 * (i - first));
  }
  return word;
}

uint64_t NinthByte(const std::vector<uint8_t>& program, const std::vector<uint8_t>* keyStream,
                   uint64_t index) {
  uint8_t byte = program[index];
  if (keyStream != nullptr && !keyStream->empty()) byte ^= (*keyStream)[index % keyStream->size()];
  return byte;
}

}  // namespace program_bits
