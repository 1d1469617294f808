#pragma once
// The seven block-header Values that the Open TimeLock request hands to a program: block
// number, block version, previous block hash, Merkle root, time stamp, bits, nonce.
#include <cstdint>
#include <vector>

#include "interpreter/values/Value.h"

namespace fuzzinput {

inline void MakeNumber(Value& arg, uint32_t number) {
  arg.AssignUInt64Array(1, nullptr);
  arg.SetUInt64(0, number);
}

inline void MakeText(Value& arg, const char* text) {
  arg.AssignStringArray(1, nullptr);
  arg.SetString(0, text);
}

inline std::vector<Value> MakeHeaderArguments() {
  std::vector<Value> args(7);
  MakeNumber(args[0], 170);
  MakeNumber(args[1], 1);
  MakeText(args[2], "000000002a22cfee1f2c846adbd12b3e183d4f97683f85dad08a79780a84bd55");
  MakeText(args[3], "7dac2c5666815c17a3b36427de37bb9d2e2c5ccec3f8633eb91a4205cb4c10ff");
  MakeNumber(args[4], 1231731025);
  MakeNumber(args[5], 486604799);
  MakeNumber(args[6], 1889418792);
  return args;
}

}  // namespace fuzzinput
