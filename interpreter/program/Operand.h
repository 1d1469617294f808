#pragma once
// One operand of an assignment or a conditional jump, as the statement reads it.
#include "interpreter/values/Value.h"

struct StatementOperand {
  // What the statement uses: a program variable, or the scratch Value that holds the
  // immediate or the element copy of an indexed variable.
  const Value* value = nullptr;
  bool immediate = false;
  bool elementGiven = false;
};

// The scratch Value made ready to take one element of kind.
Value& RetypeScratch(Value& scratch, int32_t kind);

// The scratch Value made the numeric immediate of kind (int, uint32, double or uint64) whose
// field holds bits.
void SetImmediate(Value& scratch, int32_t kind, uint64_t bits);

// The element that index (its low 32 bits) names in variable; false when it lies past the
// variable's elements, or past its texts for a string that holds them.
bool ElementWithin(const Value& variable, uint64_t index, uint32_t& element);
// Element `element` of variable copied into scratch, which takes the variable's kind.
void CopyElementOf(const Value& variable, uint32_t element, Value& scratch);
// Both: false, copying nothing, when the element lies outside the variable.
bool CopyElement(const Value& variable, uint64_t index, Value& scratch);

// Element `element` of a string or barray variable assigned to element targetIndex of target,
// as assigning a copy of it would, but with no copy made: a text or byte array goes straight
// into the target's own.
bool AssignTextOrBytes(Value& target, uint32_t targetIndex, const Value& variable,
                       uint32_t element);

// The target element index held in element 0 of an index variable, read as a 32-bit word.
// False for a string or barray, which hold no such word.
bool TargetIndexFrom(const Value& indexVariable, uint32_t& index);

// The context keeps one scratch Value per operand place, so that a numeric immediate costs no
// allocation; texts and byte arrays are released when the statement ends.
class ScratchRelease {
 public:
  explicit ScratchRelease(Value& scratch) : scratch_(scratch) {}
  ScratchRelease(const ScratchRelease&) = delete;
  ScratchRelease& operator=(const ScratchRelease&) = delete;
  ~ScratchRelease() {
    if (scratch_.HasStorage() && !scratch_.IsNumeric()) scratch_.Clear();
  }

 private:
  Value& scratch_;
};
