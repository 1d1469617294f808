#pragma once
// The relations of a conditional jump between two elements of comparable kinds.
#include <cstdint>

#include "interpreter/Opcodes.h"
#include "interpreter/Value.h"

// int, double, uint64 and uint32 compare; strings, byte arrays and kinds 6 and 7 do not.
inline bool Comparable(int32_t kind) {
  return kind == kKindInt || kind == kKindDouble || kind == kKindUInt64 || kind == kKindUInt32;
}

// Whether the relation holds between element 0 of a and element 0 of b. Relations 6 and 7
// never hold.
bool RelationHolds(Relation relation, const Value& a, const Value& b);
