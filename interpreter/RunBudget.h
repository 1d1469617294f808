#pragma once
// A cap on the work of one run, for the fuzzing harnesses only: they must stop programs that
// loop forever or ask for enormous work, which a TimeLock file may do by design. The cap is
// compiled in only when TARNVAULT_RUN_BUDGET is defined (the fuzz build); everywhere else
// SpendRunBudget is a constant true and no program can reach a budget.
#include <cstdint>

#ifdef TARNVAULT_RUN_BUDGET

namespace run_budget {
inline uint64_t g_remaining = UINT64_MAX;
}  // namespace run_budget

// Gives the run this many steps.
inline void SetRunBudget(uint64_t steps) { run_budget::g_remaining = steps; }

// Takes n steps; when fewer remain the budget is spent and the caller fails.
inline bool SpendRunBudget(uint64_t n) {
  if (n > run_budget::g_remaining) {
    run_budget::g_remaining = 0;
    return false;
  }
  run_budget::g_remaining -= n;
  return true;
}

#else

inline constexpr bool SpendRunBudget(uint64_t) { return true; }

#endif
