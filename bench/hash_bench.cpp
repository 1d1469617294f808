// The cost of one key-stream derivation against the same number of chained 16-byte hashes,
// which is all the work a derivation has to do.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "interpreter/keys/KeyStream.h"
#include "interpreter/keys/MurmurHash3.h"

namespace {

constexpr int64_t kHashesPerDerivation = 4194304;

void BM_ChainedX64_128_16(benchmark::State& state) {
  Hash128 h{0x0123456789ABCDEFull, 0xFEDCBA9876543210ull};
  for (auto _ : state) {
    for (int64_t i = 0; i < kHashesPerDerivation; ++i) h = MurmurHash3_x64_128_16(h, 0x9E3779B9u);
    benchmark::DoNotOptimize(h);
  }
  state.counters["per_hash"] = benchmark::Counter(
      static_cast<double>(kHashesPerDerivation) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ChainedX64_128_16)->Unit(benchmark::kMillisecond);

void BM_DeriveKeyStream(benchmark::State& state) {
  uint8_t first = 0;
  for (auto _ : state) {
    KeyStreamEntry entry{{first++, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, {}};
    DeriveKeyStream(entry);
    benchmark::DoNotOptimize(entry.stream.data());
  }
  state.counters["per_hash"] = benchmark::Counter(
      static_cast<double>(kHashesPerDerivation) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DeriveKeyStream)->Unit(benchmark::kMillisecond);

}  // namespace
