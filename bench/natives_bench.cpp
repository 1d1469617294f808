// HashBytes against the plain chain of 16-byte hashes that is all its work, and the pad
// natives at the largest pad against the P / 16 chained hashes that filling the pad takes.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdint>
#include <memory>

#include "interpreter/keys/MurmurHash3.h"
#include "interpreter/natives/NativeArgs.h"
#include "interpreter/natives/Natives.h"
#include "interpreter/natives/TimeLockPad.h"
#include "interpreter/values/Value.h"

namespace {

constexpr uint64_t kHashCount = 4194304;

// Found once by trying seeds from 0 upward: h1 of its 8 bytes ends in 0xAEFFFFFF, so every bit
// that the pad size keeps is set and its pad is the largest, 250,994,928 bytes.
constexpr uint64_t kLargestPadSeed = 4880903;

benchmark::Counter PerHash(benchmark::State& state, uint64_t hashesPerIteration) {
  return benchmark::Counter(
      static_cast<double>(hashesPerIteration) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

double PeakResidentMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void ChainHashes(benchmark::State& state, uint64_t count) {
  Hash128 h{0x0123456789ABCDEFull, 0xFEDCBA9876543210ull};
  for (auto _ : state) {
    for (uint64_t i = 1; i <= count; ++i) h = MurmurHash3_x64_128_16(h, static_cast<uint32_t>(i));
    benchmark::DoNotOptimize(h);
  }
  state.counters["per_hash"] = PerHash(state, count);
}

void BM_Chained16ByteHashes(benchmark::State& state) { ChainHashes(state, kHashCount); }
BENCHMARK(BM_Chained16ByteHashes)->Unit(benchmark::kMillisecond);

void BM_HashBytes(benchmark::State& state) {
  Value output;
  output.kind = kKindUInt64;
  Value data;
  data.GetByteArray().assign(64, 0x5A);
  Value count;
  count.kind = kKindUInt64;
  count.SetUInt64(0, kHashCount);
  NativeArgs args(NativeArgs::KeepIdOrder);
  args.Add(&output);
  args.Add(&data);
  args.Add(&count);
  for (auto _ : state) {
    if (!HashBytes(&args)) state.SkipWithError("HashBytes refused its arguments");
    benchmark::DoNotOptimize(output.GetUInt64(0));
  }
  state.counters["per_hash"] = PerHash(state, kHashCount);
}
BENCHMARK(BM_HashBytes)->Unit(benchmark::kMillisecond);

uint32_t LargestPadSize() {
  uint8_t seedBytes[8];
  StoreLE64(seedBytes, kLargestPadSeed);
  return TimeLockStartFor(seedBytes).padSize;
}

void BM_PadChainAtLargestPad(benchmark::State& state) { ChainHashes(state, LargestPadSize() / 16); }
BENCHMARK(BM_PadChainAtLargestPad)->Unit(benchmark::kMillisecond);

void BM_FillTimeLockPadLargest(benchmark::State& state) {
  uint8_t seedBytes[8];
  StoreLE64(seedBytes, kLargestPadSeed);
  const TimeLockStart start = TimeLockStartFor(seedBytes);
  auto pad = std::make_unique_for_overwrite<uint8_t[]>(start.padSize);
  for (auto _ : state) {
    FillTimeLockPad(pad.get(), start.padSize, start.state);
    benchmark::DoNotOptimize(pad.get());
  }
  state.counters["per_hash"] = PerHash(state, start.padSize / 16);
}
BENCHMARK(BM_FillTimeLockPadLargest)->Unit(benchmark::kMillisecond);

void BM_TimeLockBytesToText1KiBLargestPad(benchmark::State& state) {
  Value seed;
  seed.kind = kKindUInt64;
  seed.SetUInt64(0, kLargestPadSeed);
  Value bytes;
  ByteArray& data = bytes.GetByteArray();
  for (uint32_t i = 0; i < 1024; ++i) data.push_back(static_cast<uint8_t>(i * 37 + 1));
  Value text;
  text.kind = kKindString;
  NativeArgs args(NativeArgs::KeepIdOrder);
  args.Add(&seed);
  args.Add(&bytes);
  args.Add(&text);
  for (auto _ : state) {
    if (!TimeLockBytesToText(&args)) state.SkipWithError("TimeLockBytesToText refused");
    benchmark::DoNotOptimize(text.GetText(0).size());
  }
  state.counters["pad_bytes"] = LargestPadSize();
  state.counters["peak_rss_MB"] = PeakResidentMegabytes();
}
BENCHMARK(BM_TimeLockBytesToText1KiBLargestPad)->Unit(benchmark::kMillisecond);

}  // namespace
