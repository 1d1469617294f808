#include "app/request/FileTimeClock.h"

#include <chrono>

uint64_t MillisecondsSince1601() {
  constexpr uint64_t kUnixEpochSince1601Ms = 11644473600000ULL;
  const auto sinceUnix = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::system_clock::now().time_since_epoch());
  return kUnixEpochSince1601Ms + static_cast<uint64_t>(sinceUnix.count());
}
