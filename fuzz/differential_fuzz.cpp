// Runs arbitrary bytes as a TimeLock program twice, once from decoded statements and once
// read bit by bit (the reference), and requires the same outcome: the same result, the same
// Values handed back, the same scopes and variables left at the point where the run ended,
// and the same exception if one left the run.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzKeys.h"
#include "fuzz/PreparedRun.h"
#include "interpreter/natives/Natives.h"
#include "interpreter/program/ProgramContext.h"
#include "interpreter/program/RunBudget.h"
#include "interpreter/program/decoded/DecodedProgram.h"
#include "interpreter/values/Value.h"

namespace {

// As in the program target: a run's time grows with the square of its statements.
constexpr uint64_t kStatementBudget = 20'000;
constexpr uint64_t kHashBudget = 16'000'000;
// A bound this small leaves most statements undecoded, so that runs pass back and forth
// between decoded statements and bit-by-bit reading.
constexpr uint64_t kTinyBound = 2048;
// Elements compared per Value: enough to see any difference a short run can make.
constexpr uint64_t kElementsShown = 256;

// A text or byte array by its length, its first bytes and a hash of all of them: programs
// can build texts of a gigabyte, which must not be copied whole.
std::string Digest(std::string_view bytes) {
  const size_t hash = std::hash<std::string_view>{}(bytes);
  return std::to_string(bytes.size()) + ":" + std::to_string(hash) + ":" +
         std::string(bytes.substr(0, 32));
}

// Everything a program can leave in a Value, as text.
void Describe(const Value& v, std::string& out) {
  out += "k" + std::to_string(v.kind) + " i" + std::to_string(v.id) + " c" +
         std::to_string(v.count) + (v.HasStorage() ? " s" : " -");
  if (!v.HasStorage()) return;
  if (v.kind == kKindString) {
    out += " t" + std::to_string(v.TextCount());
    for (uint64_t i = 0; i < v.TextCount() && i < kElementsShown; ++i) {
      out += "|" + Digest(v.GetText(static_cast<uint32_t>(i)));
    }
  } else if (v.kind == kKindBarray) {
    for (uint64_t i = 0; i < v.count && i < kElementsShown; ++i) {
      const ByteArray& bytes = v.GetBytes(static_cast<uint32_t>(i));
      const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
      out += "|" + Digest(view);
    }
  } else {
    for (uint64_t i = 0; i < v.count && i < kElementsShown; ++i) {
      out += " " + std::to_string(Value::ElementWidth(v.kind) == 4
                                      ? v.GetWord(static_cast<uint32_t>(i))
                                      : v.GetUInt64(static_cast<uint32_t>(i)));
    }
  }
  out += "\n";
}

std::string RunOnce(const uint8_t* data, size_t size, bool stepByStep) {
  fuzzinput::PreparedRun run(data, size);
  ProgramContext& context = run.context;
  context.stepByStep = stepByStep;
  std::string outcome;
  const bool tiny = (data[0] & fuzzinput::kTinyBoundFlag) != 0;
  const bool atOnce = (data[0] & fuzzinput::kDecodeAtOnceFlag) != 0;
  DecodedProgram decoded(tiny ? kTinyBound : DecodedProgram::BoundFor(run.layout.bytes.size()),
                         atOnce ? 1 : 2);
  context.decodedProgram = &decoded;
  SetRunBudget(kStatementBudget, kHashBudget);
  try {
    outcome = run.Run() ? "ended\n" : "failed\n";
  } catch (const std::bad_alloc&) {
    outcome = "bad_alloc\n";
  } catch (const std::length_error&) {
    outcome = "length_error\n";
  }
  for (const Value& arg : run.args) Describe(arg, outcome);
  outcome += "scopes " + std::to_string(context.ScopeDepth()) + "\n";
  for (size_t s = 0; s < context.ScopeDepth(); ++s) {
    outcome += "scope " + std::to_string(context.scopeCounts[s]) + "\n";
    for (int32_t i = 0; i < context.scopeCounts[s]; ++i) {
      Describe(context.scopeValues[s][static_cast<size_t>(i)], outcome);
    }
  }
  fuzzkeys::ForgetRoutineKeyStreams();
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzkeys::InstallKeys();
  RegisterStandardNatives();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const std::string decoded = RunOnce(data, size, false);
  const std::string reference = RunOnce(data, size, true);
  if (decoded != reference) {
    std::fprintf(stderr, "decoded run:\n%s\nstep-by-step run:\n%s\n", decoded.c_str(),
                 reference.c_str());
    std::abort();
  }
  return 0;
}
