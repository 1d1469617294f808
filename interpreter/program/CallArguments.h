#pragma once
// The argument lists of a call, kept by the calling context from one call to the next. Each is
// emptied whenever its call ends, also when an exception leaves it, so that no pointer outlives
// the call; a list grown unusually long is released instead of kept.
#include <cstddef>
#include <vector>

#include "interpreter/natives/NativeArgs.h"
#include "interpreter/values/Value.h"

inline constexpr size_t kKeptArgumentSlots = 256;

class ClearOnExit {
 public:
  explicit ClearOnExit(std::vector<Value*>& arguments) : arguments_(arguments) {}
  ClearOnExit(const ClearOnExit&) = delete;
  ClearOnExit& operator=(const ClearOnExit&) = delete;
  ~ClearOnExit() {
    if (arguments_.capacity() > kKeptArgumentSlots) {
      std::vector<Value*>().swap(arguments_);
    } else {
      arguments_.clear();
    }
  }

 private:
  std::vector<Value*>& arguments_;
};

// The native's list borrows the caller's variables although it is flagged as owning them: it
// lets go of them without destroying any.
class DetachOnExit {
 public:
  explicit DetachOnExit(NativeArgs& args) : args_(args) {}
  DetachOnExit(const DetachOnExit&) = delete;
  DetachOnExit& operator=(const DetachOnExit&) = delete;
  ~DetachOnExit() {
    args_.DetachAll();
    if (args_.capacity > kKeptArgumentSlots) args_.Free();
  }

 private:
  NativeArgs& args_;
};
