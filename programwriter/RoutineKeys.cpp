// The routine key of a routine call: MurmurHash3_x86_128 of the key variable's element 0,
// with a seed per kind (string 0, int 1, double 2, barray 3, uint64 4).
#include <bit>

#include "interpreter/keys/MurmurHash3.h"
#include "programwriter/ProgramWriter.h"

namespace testprog {

namespace {

ProgramKey HashKey(const uint8_t* data, size_t length, uint32_t seed) {
  static const uint8_t kNothing = 0;  // a valid pointer for an empty input
  ProgramKey key{};
  MurmurHash3_x86_128(length == 0 ? &kNothing : data, static_cast<int32_t>(length), seed,
                      key.data());
  return key;
}

template <size_t N>
ProgramKey HashLittleEndian(uint64_t value, uint32_t seed) {
  uint8_t bytes[N];
  for (size_t i = 0; i < N; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
  return HashKey(bytes, N, seed);
}

}  // namespace

ProgramKey RoutineKeyForText(std::string_view text) {
  std::vector<uint8_t> bytes(text.begin(), text.end());
  return HashKey(bytes.data(), bytes.size(), 0);
}

ProgramKey RoutineKeyForInt32(int32_t v) {
  return HashLittleEndian<4>(static_cast<uint32_t>(v), 1);
}

ProgramKey RoutineKeyForDouble(double v) {
  return HashLittleEndian<8>(std::bit_cast<uint64_t>(v), 2);
}

ProgramKey RoutineKeyForBytes(std::span<const uint8_t> bytes) {
  return HashKey(bytes.data(), bytes.size(), 3);
}

ProgramKey RoutineKeyForUInt64(uint64_t v) { return HashLittleEndian<8>(v, 4); }

}  // namespace testprog
