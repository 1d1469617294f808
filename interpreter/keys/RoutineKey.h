#pragma once
// The 16-byte key that a routine call derives from element 0 of its key variable.
#include <cstdint>

#include "interpreter/keys/KeyStream.h"
#include "interpreter/values/Value.h"

// Hashes element 0 with a seed per kind (string 0, int 1, double 2, barray 3, uint64 4); any
// other kind leaves key all zero. False when a hashed kind has no element 0 (count 0) or its
// text or bytes are too long to hash (2^31 bytes or more).
bool MakeRoutineKey(const Value& keyVariable, ProgramKey& key);
