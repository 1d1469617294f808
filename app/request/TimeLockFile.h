#pragma once
// Reading a TimeLock file whole, with the checks the request reports on.
#include <cstdint>
#include <string>
#include <vector>

inline constexpr int64_t kMaxTimeLockFileBytes = 16777216;

enum class TimeLockFileStatus { Read, Missing, CantOpen, TooBig, ReadProblem };

TimeLockFileStatus ReadTimeLockFile(const std::string& path, std::vector<uint8_t>& bytes);
