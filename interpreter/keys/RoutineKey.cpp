#include "interpreter/keys/RoutineKey.h"

#include <bit>
#include <cstring>
#include <string>

#include "interpreter/keys/MurmurHash3.h"

namespace {

bool HashInto(const void* bytes, size_t length, uint32_t seed, ProgramKey& key) {
  if (length > static_cast<size_t>(INT32_MAX)) return false;
  MurmurHash3_x86_128(bytes, static_cast<int32_t>(length), seed, key.data());
  return true;
}

}  // namespace

bool MakeRoutineKey(const Value& keyVariable, ProgramKey& key) {
  key.fill(0);
  const int32_t kind = keyVariable.kind;
  if (kind < kKindString || kind > kKindUInt64) return true;  // uint32 and the rest: all zero
  if (keyVariable.count == 0) return false;

  uint8_t word[8];
  switch (kind) {
    case kKindString: {
      const std::string& text = keyVariable.GetText(0);
      const size_t length = std::strlen(text.c_str());  // a text ends at its first NUL
      return HashInto(text.data(), length, 0, key);
    }
    case kKindInt:
      StoreLE32(word, keyVariable.GetWord(0));
      return HashInto(word, 4, 1, key);
    case kKindDouble:
      StoreLE64(word, std::bit_cast<uint64_t>(keyVariable.GetDouble(0)));
      return HashInto(word, 8, 2, key);
    case kKindBarray: {
      const ByteArray& bytes = keyVariable.GetBytes(0);
      return HashInto(bytes.data(), bytes.size(), 3, key);
    }
    default:  // uint64
      StoreLE64(word, keyVariable.GetUInt64(0));
      return HashInto(word, 8, 4, key);
  }
}
