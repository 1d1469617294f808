#pragma once
// The argument pointers of a call, kept by the calling context from one call to the next:
// emptied whenever the call ends, so that no pointer outlives it.
#include <vector>

#include "interpreter/values/Value.h"

class ClearOnExit {
 public:
  explicit ClearOnExit(std::vector<Value*>& arguments) : arguments_(arguments) {}
  ClearOnExit(const ClearOnExit&) = delete;
  ClearOnExit& operator=(const ClearOnExit&) = delete;
  ~ClearOnExit() { arguments_.clear(); }

 private:
  std::vector<Value*>& arguments_;
};
