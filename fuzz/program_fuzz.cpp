// Runs arbitrary bytes as a TimeLock program, with the seven block-header arguments that the
// Open TimeLock request hands over and all sixteen natives registered. Whatever the bytes, the
// run must end with true, false or an allocation failure.
#include <cstdint>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "fuzz/FuzzKeys.h"
#include "fuzz/PreparedRun.h"
#include "interpreter/natives/Natives.h"
#include "interpreter/program/ProgramContext.h"
#include "interpreter/program/RunBudget.h"
#include "interpreter/values/Value.h"

namespace {

// Statements: each may search every open scope for a variable, so a run's time grows with the
// square of this; 20,000 keeps the worst run near a second and its scopes near 100 MB.
// Hashes: one time-lock pad of the largest size, and data bytes to walk.
uint64_t g_statementBudget = 20'000;
uint64_t g_hashBudget = 16'000'000;

void RunOnce(const uint8_t* data, size_t size) {
  fuzzinput::PreparedRun run(data, size);
  SetRunBudget(g_statementBudget, g_hashBudget);
  if (run.BitLength() != 0) run.Run();

  // Read the result as the request does.
  const Value& result = run.args[3];
  if (result.kind == kKindString && result.TextCount() != 0) {
    const std::string& text = result.GetText(0);
    volatile size_t cut = text.find('\0');
    (void)cut;
  }
  std::string shown;
  for (const Value& arg : run.args) arg.ToString(shown);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (const char* statements = std::getenv("TARNVAULT_FUZZ_STATEMENTS")) {
    g_statementBudget = std::strtoull(statements, nullptr, 10);
  }
  if (const char* hashes = std::getenv("TARNVAULT_FUZZ_HASHES")) {
    g_hashBudget = std::strtoull(hashes, nullptr, 10);
  }
  fuzzkeys::InstallKeys();
  RegisterStandardNatives();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  try {
    RunOnce(data, size);
  } catch (const std::bad_alloc&) {
    // A size beyond the memory limit: the request shows "Failure".
  } catch (const std::length_error&) {
  }
  fuzzkeys::ForgetRoutineKeyStreams();
  return 0;
}
