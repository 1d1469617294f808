#pragma once
// Native arguments written as short texts, and natives called on them directly:
//   "-" unset · "u*3" a uint32 of 3 elements without storage (any kind letter)
//   "i:1,-2" int · "u:0x10" uint32 · "q:5" uint64 · "d:1.5" double · "s:text" · "b:0a0b" bytes
// Describe() writes a Value back that way: numbers in hex, doubles as %g, the count of a
// string or barray when it is not 1.
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "interpreter/NativeArgs.h"
#include "interpreter/NativeTable.h"
#include "interpreter/Value.h"

namespace natives_test {

inline const std::string kKindLetters = "sidbqu";  // by kind code

inline Value Make(const std::string& form) {
  Value v;
  if (form == "-") return v;
  v.kind = static_cast<int32_t>(kKindLetters.find(form[0]));
  const std::string body = form.substr(2);
  if (form[1] == '*') {
    v.count = static_cast<uint32_t>(std::stoul(body));
  } else if (v.kind == kKindString) {
    v.SetString(0, body.c_str());
  } else if (v.kind == kKindBarray) {
    ByteArray bytes;
    for (size_t i = 0; i + 1 < body.size(); i += 2) {
      bytes.push_back(static_cast<uint8_t>(std::stoul(body.substr(i, 2), nullptr, 16)));
    }
    v.SetByteArray(0, bytes);
  } else {
    std::vector<std::string> items;
    std::stringstream in(body);
    for (std::string item; std::getline(in, item, ',');) items.push_back(item);
    v.count = static_cast<uint32_t>(items.size());
    for (uint32_t i = 0; i < v.count; ++i) {
      if (v.kind == kKindDouble) v.SetDouble(i, std::stod(items[i]));
      else if (v.kind == kKindUInt64) v.SetUInt64(i, std::stoull(items[i], nullptr, 0));
      else v.SetInt32(i, static_cast<uint32_t>(std::stoll(items[i], nullptr, 0)));
    }
  }
  return v;
}

inline std::string Describe(const Value& v) {
  if (v.kind < kKindString || v.kind > kKindUInt32) return "-";
  std::string out(1, kKindLetters[static_cast<size_t>(v.kind)]);
  if (!v.HasStorage()) return out + "*" + std::to_string(v.count);
  out += ':';
  char buf[32];
  if (v.kind == kKindString) out += v.GetText(0);
  for (uint8_t b : v.kind == kKindBarray ? v.GetBytes(0) : ByteArray{}) {
    snprintf(buf, sizeof buf, "%02x", b);
    out += buf;
  }
  if (v.kind == kKindString || v.kind == kKindBarray) {
    return v.count == 1 ? out : out + " of " + std::to_string(v.count);
  }
  for (uint32_t i = 0; i < v.count; ++i) {
    const auto quad = static_cast<unsigned long long>(v.GetUInt64(i));
    if (v.kind == kKindDouble) snprintf(buf, sizeof buf, "%g", v.GetDouble(i));
    else if (v.kind == kKindUInt64) snprintf(buf, sizeof buf, "%#llx", quad);
    else snprintf(buf, sizeof buf, "%#x", v.GetWord(i));
    out += (i > 0 ? "," : "") + std::string(buf);
  }
  return out;
}

// The list borrows the Values (no OwnsValues), as the native call's list does in effect.
inline bool Call(NativeFunction fn, const std::vector<Value*>& values) {
  NativeArgs args(NativeArgs::KeepIdOrder);
  for (Value* v : values) args.Add(v);
  return fn(&args);
}

inline std::vector<Value> MakeAll(const std::vector<std::string>& forms) {
  std::vector<Value> values;
  for (const std::string& form : forms) values.push_back(Make(form));
  return values;
}

inline bool Call(NativeFunction fn, std::vector<Value>& values) {
  std::vector<Value*> pointers;
  for (Value& v : values) pointers.push_back(&v);
  return Call(fn, pointers);
}

}  // namespace natives_test
