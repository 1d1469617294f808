#pragma once
// Values written as short texts, "kind:element" ("int:-5", "u32:7", "u64:1", "dbl:0.5",
// "str:ab", "bar:01FF", "unset"), so the tables of the Value tests read as one line per case.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "interpreter/Value.h"

namespace value_test {

inline Value Typed(int32_t kind, uint32_t count = 1) {
  Value v;
  v.kind = kind;
  v.count = count;
  return v;
}

inline int32_t KindNamed(const std::string& name) {
  const char* const names[] = {"str", "int", "dbl", "bar", "u64", "u32", "k6"};
  for (int32_t k = 0; k < 7; ++k) {
    if (name == names[k]) return k;
  }
  return kKindUnset;
}

inline Value Make(const std::string& written) {
  const size_t colon = written.find(':');
  Value v = Typed(KindNamed(written.substr(0, colon)));
  if (colon == std::string::npos) return v;
  const std::string text = written.substr(colon + 1);
  const char* p = text.c_str();
  switch (v.kind) {
    case kKindString: v.SetString(0, p); break;
    case kKindInt: v.SetInt32(0, static_cast<uint32_t>(std::strtoll(p, nullptr, 10))); break;
    case kKindUInt32: v.SetInt32(0, static_cast<uint32_t>(std::strtoull(p, nullptr, 10))); break;
    case kKindUInt64: v.SetUInt64(0, std::strtoull(p, nullptr, 0)); break;
    case kKindDouble: v.SetDouble(0, std::strtod(p, nullptr)); break;
    case kKindBarray: {
      ByteArray bytes;
      for (size_t i = 0; i + 1 < text.size(); i += 2) {
        bytes.push_back(static_cast<uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
      }
      v.SetByteArray(0, bytes);
      break;
    }
    default: break;
  }
  return v;
}

// The same form for element index of v (doubles with 17 significant digits).
inline std::string Describe(const Value& v, uint32_t index = 0) {
  char b[64] = "";
  switch (v.kind) {
    case kKindInt: return "int:" + std::to_string(static_cast<int32_t>(v.GetWord(index)));
    case kKindUInt32: return "u32:" + std::to_string(v.GetWord(index));
    case kKindUInt64: return "u64:" + std::to_string(v.GetUInt64(index));
    case kKindDouble: std::snprintf(b, sizeof b, "dbl:%.17g", v.GetDouble(index)); return b;
    case kKindString: return "str:" + v.GetText(index);
    case kKindBarray: {
      std::string out = "bar:";
      for (uint8_t x : v.GetBytes(index)) out += (std::snprintf(b, sizeof b, "%02X", x), b);
      return out;
    }
    default: return "unset";
  }
}

}  // namespace value_test
