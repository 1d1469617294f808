#pragma once
// Values written as short texts, "kind:element" ("int:-5", "u32:7", "u64:1", "dbl:0.5",
// "str:ab", "bar:01FF"), a bare kind for count elements without storage ("str"), "unset",
// and "k6" for an unknown kind code, so that the Value tests' tables read one line per case.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "interpreter/values/Value.h"

namespace value_test {

inline const char* const kNames[] = {"str", "int", "dbl", "bar", "u64", "u32", "k6"};

inline Value Make(const std::string& written, uint32_t count = 1) {
  const size_t colon = written.find(':');
  Value v;
  for (int32_t k = 0; k < 7; ++k) v.kind = written.substr(0, colon) == kNames[k] ? k : v.kind;
  v.count = count;
  if (colon == std::string::npos) return v;
  const std::string text = written.substr(colon + 1);
  const char* p = text.c_str();
  if (v.kind == kKindString) v.SetString(0, p);
  if (v.kind == kKindInt || v.kind == kKindUInt32) v.SetInt32(0, std::strtoll(p, nullptr, 10));
  if (v.kind == kKindUInt64) v.SetUInt64(0, std::strtoull(p, nullptr, 0));
  if (v.kind == kKindDouble) v.SetDouble(0, std::strtod(p, nullptr));
  ByteArray bytes;
  for (size_t i = 0; v.kind == kKindBarray && i + 1 < text.size(); i += 2) {
    bytes.push_back(static_cast<uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
  }
  if (v.kind == kKindBarray) v.SetByteArray(0, bytes);
  return v;
}

// The same form for element i of v (doubles with 17 significant digits).
inline std::string Describe(const Value& v, uint32_t i = 0) {
  if (v.kind < 0 || v.kind > 6) return "unset";
  std::string out = std::string(kNames[v.kind]) + ":";
  char b[32] = "";
  switch (v.kind) {
    case kKindInt: return out + std::to_string(static_cast<int32_t>(v.GetWord(i)));
    case kKindUInt32: return out + std::to_string(v.GetWord(i));
    case kKindUInt64: return out + std::to_string(v.GetUInt64(i));
    case kKindDouble: return out + (std::snprintf(b, sizeof b, "%.17g", v.GetDouble(i)), b);
    case kKindString: return out + v.GetText(i);
  }
  for (uint8_t x : v.GetBytes(i)) out += (std::snprintf(b, sizeof b, "%02X", x), b);
  return out;
}

}  // namespace value_test
