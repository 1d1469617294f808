// The password stretch against the bare hash chain it is made of, and the first and second
// Open TimeLock of one file with one password (the second derives no key stream).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/request/OpenTimeLock.h"
#include "interpreter/keys/KeyStream.h"
#include "interpreter/keys/MurmurHash3.h"

namespace {

constexpr uint32_t kStretchPasses = 16777215;

void BM_StretchPassword(benchmark::State& state) {
  const std::string password = "a password of ordinary length";
  for (auto _ : state) {
    auto key = StretchPassword(reinterpret_cast<const uint8_t*>(password.data()), password.size());
    benchmark::DoNotOptimize(key);
  }
}
BENCHMARK(BM_StretchPassword)->Unit(benchmark::kMillisecond);

void BM_PlainChainOfStretchPasses(benchmark::State& state) {
  for (auto _ : state) {
    Hash128x86 key{0x01234567u, 0x89ABCDEFu, 0xFEDCBA98u, 0x76543210u};
    uint32_t seed = 0;
    for (uint32_t pass = 0; pass < kStretchPasses; ++pass) {
      seed = MurmurHash3_x86_32_16(key, seed);
      key = MurmurHash3_x86_128_16(key, seed);
    }
    benchmark::DoNotOptimize(key);
  }
}
BENCHMARK(BM_PlainChainOfStretchPasses)->Unit(benchmark::kMillisecond);

// A small file whose content does not matter: the figures are about stretching and deriving.
std::string SampleFile() {
  static std::string path;
  if (path.empty()) {
    char pattern[] = "/tmp/tarnvault-bench-XXXXXX";
    const int fd = mkstemp(pattern);
    const std::vector<uint8_t> bytes(256, 0x5A);
    if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
      std::perror("sample file");
    }
    close(fd);
    path = pattern;
  }
  return path;
}

OpenTimeLockInputs Inputs(const std::string& password) {
  return {password, 1, 2, 3, 4, 5, "prev", "merkle", SampleFile()};
}

void BM_OpenTimeLockFirst(benchmark::State& state) {
  static uint64_t n = 0;  // the benchmark calls this more than once: every password stays new
  uint64_t derivations = 0;
  for (auto _ : state) {
    const uint64_t before = KeyStreamDerivationCount();
    benchmark::DoNotOptimize(OpenTimeLock(Inputs("first " + std::to_string(n++))));
    derivations += KeyStreamDerivationCount() - before;
  }
  state.counters["derivations_per_open"] =
      static_cast<double>(derivations) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_OpenTimeLockFirst)->Unit(benchmark::kMillisecond);

void BM_OpenTimeLockSecond(benchmark::State& state) {
  const OpenTimeLockInputs in = Inputs("second");
  OpenTimeLock(in);
  uint64_t derivations = 0;
  for (auto _ : state) {
    const uint64_t before = KeyStreamDerivationCount();
    benchmark::DoNotOptimize(OpenTimeLock(in));
    derivations += KeyStreamDerivationCount() - before;
  }
  state.counters["derivations_per_open"] =
      static_cast<double>(derivations) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_OpenTimeLockSecond)->Unit(benchmark::kMillisecond);

}  // namespace
