#pragma once
// The settings file's section and its nine keys, in the order they are written and read.
#include <array>

#include "res/Resource.h"

struct SettingsKey {
    const char* name;
    int controlId;
};

inline constexpr const char* kSettingsSection = "Tarnvault";

inline constexpr std::array<SettingsKey, 9> kSettingsKeys{{
    {"Password", IDC_PASSWORD},
    {"BlockNumber", IDC_BLOCK_NUMBER},
    {"BlockVersion", IDC_BLOCK_VERSION},
    {"PrevBlockHash", IDC_PREV_BLOCK_HASH},
    {"MerkleRoot", IDC_MERKLE_ROOT},
    {"Bits", IDC_BITS},
    {"Nonce", IDC_NONCE},
    {"TimeStamp", IDC_TIME_STAMP},
    {"TimeLockFile", IDC_TIMELOCK_FILE},
}};

// Every text read from or written to a field holds at most this count - 1 characters.
inline constexpr int kFieldTextCount = 1023;
