#pragma once
// Values written as short texts, so that the Value and native tests read one line per case, and
// natives called on them directly:
//   "-" unset · "u*3" a uint32 of 3 elements without storage · "b#0" a barray of 0 elements
//   holding storage (any kind letter) · "i:1,-2" int · "u:0x10" uint32 · "q:5" uint64 ·
//   "d:1.5" double · "s:text" · "b:0a0b" bytes · "k*1" the unknown kind code 6
// Describe() gives kind, count and the held storage in hex (a string's text 0 as it is), so an
// expected form is compared as Describe(Make(form)).
#include <bit>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "interpreter/natives/NativeArgs.h"
#include "interpreter/natives/NativeTable.h"
#include "interpreter/values/Value.h"

namespace value_forms {

inline const std::string kKindLetters = "sidbquk";  // by kind code

inline Value Make(const std::string& form) {
  Value v;
  if (form == "-") return v;
  v.kind = static_cast<int32_t>(kKindLetters.find(form[0]));
  std::stringstream body(form.substr(2));
  if (form[1] != ':') {
    body >> v.count;
    if (form[1] == '#') v.EnsureStorage();
  } else if (v.kind == kKindString) {
    v.SetString(0, body.str().c_str());
  } else if (v.kind == kKindBarray) {
    ByteArray bytes;
    for (size_t i = 2; i + 1 < form.size(); i += 2) {
      bytes.push_back(static_cast<uint8_t>(std::stoul(form.substr(i, 2), nullptr, 16)));
    }
    v.SetByteArray(0, bytes);
  } else {
    std::vector<std::string> items;
    for (std::string item; std::getline(body, item, ',');) items.push_back(item);
    v.count = static_cast<uint32_t>(items.size());
    v.EnsureStorage();
    for (uint32_t i = 0, width = Value::ElementWidth(v.kind); i < v.count; ++i) {
      const uint64_t bits = v.kind == kKindDouble ? std::bit_cast<uint64_t>(std::stod(items[i]))
                                                  : std::stoull(items[i], nullptr, 0);
      std::memcpy(v.NumericBytes() + width * i, &bits, width);  // the low bytes, little-endian
    }
  }
  return v;
}

inline std::string Describe(const Value& v) {
  if (v.kind < kKindString || v.kind > kKindUInt32) return "-";
  std::string out(1, kKindLetters[static_cast<size_t>(v.kind)]);
  out.append("*").append(std::to_string(v.count));
  if (!v.HasStorage()) return out;
  out += ':';
  if (v.kind == kKindString) return out.append(v.GetText(0));
  const ByteArray bytes = v.kind == kKindBarray
                              ? v.GetBytes(0)
                              : ByteArray(v.NumericBytes(), v.NumericBytes() + v.StorageBytes());
  for (uint8_t b : bytes) out += {"0123456789abcdef"[b >> 4], "0123456789abcdef"[b & 15]};
  return out;
}

inline std::vector<Value> MakeAll(const std::vector<std::string>& forms) {
  std::vector<Value> values;
  for (const std::string& form : forms) values.push_back(Make(form));
  return values;
}

// The list borrows the Values (no OwnsValues), as the native call's list does in effect.
inline bool Call(NativeFunction fn, std::vector<Value>& values) {
  NativeArgs args(NativeArgs::KeepIdOrder);
  for (Value& v : values) args.Add(&v);
  return fn(&args);
}

}  // namespace value_forms
