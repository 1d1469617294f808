#pragma once
// A cap on the work of one run, for the fuzzing harnesses only: they must stop programs that
// loop forever or ask for enormous work, which a TimeLock file may do by design. Statements
// and hashes are counted apart, as a statement may allocate (a scope) while a hash does not.
// The cap is compiled in only when TARNVAULT_RUN_BUDGET is defined (the fuzz build);
// everywhere else the spend functions are a constant true and no program can reach a budget.
#include <cstdint>

#ifdef TARNVAULT_RUN_BUDGET

namespace run_budget {
inline uint64_t g_statements = UINT64_MAX;
inline uint64_t g_hashes = UINT64_MAX;

inline bool Spend(uint64_t& remaining, uint64_t n) {
  if (n > remaining) {
    remaining = 0;
    return false;
  }
  remaining -= n;
  return true;
}
}  // namespace run_budget

inline void SetRunBudget(uint64_t statements, uint64_t hashes) {
  run_budget::g_statements = statements;
  run_budget::g_hashes = hashes;
}

// One statement; false, and the run fails, when the budget is spent.
inline bool SpendStatementBudget() { return run_budget::Spend(run_budget::g_statements, 1); }
// n hashes (or per-byte steps) of a native; false, and the native fails, when too few remain.
inline bool SpendHashBudget(uint64_t n) { return run_budget::Spend(run_budget::g_hashes, n); }

#else

inline constexpr bool SpendStatementBudget() { return true; }
inline constexpr bool SpendHashBudget(uint64_t) { return true; }

#endif
