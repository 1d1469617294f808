#pragma once
// One fuzz input made ready to run as the Open TimeLock request runs a file: its program, the
// seven header arguments, and a context reading the program under the main key.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/FuzzKeys.h"
#include "fuzz/HeaderArguments.h"
#include "fuzz/ProgramInput.h"
#include "interpreter/program/ProgramContext.h"
#include "interpreter/values/Value.h"

namespace fuzzinput {

struct PreparedRun {
  PreparedRun(const uint8_t* data, size_t size) : layout(LayOut(data, size)) {
    for (Value& arg : args) argPointers.push_back(&arg);
    context.Init(&layout.bytes, BitLength(), fuzzkeys::kMainKey.data());
    context.keyStream =
        layout.keyed ? &GetCachedKeyStream(fuzzkeys::kMainKey.data())->stream : nullptr;
  }
  PreparedRun(const PreparedRun&) = delete;
  PreparedRun& operator=(const PreparedRun&) = delete;

  uint64_t BitLength() const { return static_cast<uint64_t>(layout.bytes.size()) * 8; }
  bool Run() { return context.Run(argPointers, layout.startBit); }

  ProgramLayout layout;
  std::vector<Value> args = MakeHeaderArguments();
  std::vector<Value*> argPointers;
  ProgramContext context;
};

}  // namespace fuzzinput
