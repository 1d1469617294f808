#pragma once
// The Open TimeLock request without any window: from the password, the seven block-header
// fields and a TimeLock file to the opened text, a message, or the answer that it did not open.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

struct OpenTimeLockInputs {
  std::string password;
  uint32_t blockNumber, blockVersion, timeStamp, bits, nonce;
  std::string prevBlockHash, merkleRoot, timeLockFile;
};

struct OpenTimeLockOutcome {
  enum class Kind { Message, NotOpened, Opened, RunAborted } kind;
  std::string text;    // the message for Message, the result text for Opened
  uint64_t elapsedMs;  // Opened only: key-stream lookup, run and result test
};

OpenTimeLockOutcome OpenTimeLock(const OpenTimeLockInputs& inputs);

// 2^24 chained rounds of MurmurHash3 over the password's bytes (length >= 1).
std::array<uint8_t, 16> StretchPassword(const uint8_t* bytes, size_t length);
