// The statements that open and close scopes, declare variables and jump unconditionally, and
// the passing of the caller's Values into and out of the outermost scope.
#include <algorithm>
#include <utility>

#include "interpreter/program/ProgramContext.h"
#include "interpreter/program/ScopePool.h"

void ProgramContext::OpenScope() {
  NewScopeEpoch();
  // Make room in all three stacks first, so that a failed allocation leaves them in step.
  auto makeRoom = [](auto& stack) {
    if (stack.size() == stack.capacity()) stack.reserve(stack.size() * 2 + 4);
  };
  makeRoom(scopeValues);
  makeRoom(scopeIndex);
  makeRoom(scopeCounts);
  if (!spareSlots_.empty()) {
    scopeValues.push_back(std::move(spareSlots_));
    scopeIndex.push_back(std::move(spareIndex_));
  } else {
    std::vector<Value> slots;
    std::vector<int32_t> index;
    scope_pool::Take(slots, index, kInitialScopeSlots);
    scopeValues.push_back(std::move(slots));
    scopeIndex.push_back(std::move(index));
  }
  scopeCounts.push_back(0);
}

namespace {

// Larger storage, and that of parameters past the first few, is released with its scope:
// keeping it would hold memory past the call.
constexpr uint64_t kKeptParameterBytes = 256;
constexpr size_t kKeptParameters = 16;

}  // namespace

// Called with the parameters handed back, just before the outermost scope closes.
[[gnu::always_inline]] inline void ProgramContext::KeepParameterStorage(size_t parameters) {
  parameters = std::min(parameters, kKeptParameters);
  if (parameterStorage_.size() < parameters) parameterStorage_.resize(parameters);
  Value* slots = scopeValues[0].data();
  for (size_t i = 0; i < parameters; ++i) {
    Value& parameter = slots[i];
    // A number holding storage holds count elements of its kind.
    const uint64_t bytes = uint64_t{parameter.count} * Value::ElementWidth(parameter.kind);
    if (parameter.HasStorage() && bytes != 0 && bytes <= kKeptParameterBytes) {
      parameterStorage_[i] = std::move(parameter);
    }
  }
}

// A parameter just declared, before it copies its argument: when the storage kept at its
// position is of the argument's kind and count, the parameter takes it over, and the copy
// then fills it instead of making new storage (or replaces it when it does not hold all the
// elements). What the copy leaves is the same either way.
[[gnu::always_inline]] inline void ProgramContext::ReuseParameterStorage(Value& parameter,
                                                                       const Value& argument) {
  const size_t position = static_cast<size_t>(scopeCounts[0]) - 1;
  if (position >= parameterStorage_.size()) return;
  Value& kept = parameterStorage_[position];
  if (!kept.HasStorage() || parameter.kind != argument.kind || kept.kind != argument.kind ||
      kept.count != argument.count) {
    return;
  }
  kept.id = parameter.id;
  parameter = std::move(kept);
}

bool ProgramContext::CloseScope(const std::vector<Value*>& callerValues, uint64_t& pos) {
  uint64_t jumps;
  if (!ReadBits(pos, 1, jumps)) return false;
  if (jumps != 0 && !ReadJump(pos)) return false;
  return CloseScopeAfterFields(callerValues);
}

bool ProgramContext::CloseScopeAfterFields(const std::vector<Value*>& callerValues) {
  if (scopeCounts.size() == 1) {
    // Closing the outermost scope hands its first variables back to the caller, by position.
    const std::vector<Value>& slots = scopeValues[0];
    const size_t declared = static_cast<size_t>(scopeCounts[0]);
    for (size_t i = 0; i < callerValues.size(); ++i) {
      if (i >= declared || callerValues[i] == nullptr) return false;
      if (!callerValues[i]->CopyFrom(slots[i])) return false;
    }
    KeepParameterStorage(callerValues.size());
  }
  if (scopeCounts.empty()) return false;
  CloseInnermostScope();
  return true;
}

bool ProgramContext::Declaration(const std::vector<Value*>& callerValues, uint64_t& pos) {
  return DeclareVariable(pos) && BindParameter(callerValues);
}

bool ProgramContext::Declaration(const std::vector<Value*>& callerValues,
                                 const DecodedStatement& s) {
  return AddVariable(s.code, s.SubjectId(), s.number) && BindParameter(callerValues);
}

bool ProgramContext::BindParameter(const std::vector<Value*>& callerValues) {
  if (scopeCounts.size() == 1) {
    // The outermost scope's first declarations are the parameters: the k-th takes caller
    // Value k-1. A kind that differs leaves the variable as declared.
    const size_t n = static_cast<size_t>(scopeCounts[0]);
    if (n <= callerValues.size() && callerValues[n - 1] != nullptr) {
      Value& parameter = scopeValues[0][n - 1];
      ReuseParameterStorage(parameter, *callerValues[n - 1]);
      parameter.CopyFrom(*callerValues[n - 1]);
    }
  }
  return true;
}

bool ProgramContext::CloseScopesAndJump(uint64_t& pos) {
  pos += 1;  // skip bit
  uint64_t count;
  if (!ReadVarWidth(pos, count)) return false;
  CloseCountedScopes(count);
  return ReadJump(pos);
}

void ProgramContext::CloseCountedScopes(uint64_t count) {
  const int32_t n = static_cast<int32_t>(static_cast<uint32_t>(count));
  if (n >= 0 && static_cast<size_t>(n) <= scopeCounts.size()) {
    for (int32_t i = 0; i < n; ++i) CloseInnermostScope();
  }
}
