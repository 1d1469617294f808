#pragma once
// The texts the Open TimeLock request hands back; %s stands for the TimeLock file's path.
#include <string>

inline constexpr const char* kMsgNoPassword = "You must provide the correct password";
inline constexpr const char* kMsgFileMissing = "File does not exist: %s";
inline constexpr const char* kMsgCantRead = "Can't read file: %s";
inline constexpr const char* kMsgTooBig = "File is too big: %s";
inline constexpr const char* kMsgReadProblem = "Problem reading file: %s";

// The message with the path in place of its one %s.
std::string FormatPathMessage(const char* format, const std::string& path);
