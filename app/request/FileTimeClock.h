#pragma once
#include <cstdint>

// Wall-clock milliseconds since 1601-01-01 UTC, the epoch of the timing line.
uint64_t MillisecondsSince1601();
