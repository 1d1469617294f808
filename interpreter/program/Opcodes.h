#pragma once
// The codes that a program's statements carry: the 4-bit opcode, the 4-bit math-op code of
// an assignment and the 3-bit relation code of a conditional jump.
#include <cstdint>

enum class Opcode : uint8_t {
  OpenScope = 0,
  CloseScope = 1,
  Assign = 2,
  Declare = 3,
  JumpUnless = 4,
  JumpUnlessToo = 5,  // the same statement as 4
  CallRoutine = 6,
  CallNative = 7,
  Invalid8 = 8,
  CloseScopesAndJump = 9,
  CloseScopesAndJumpToo = 10,  // the same statement as 9
  // 11 to 15 name no statement
};

// The operation that an assignment applies (Value::PerformMathOp's code).
enum class MathOp : uint32_t {
  Multiply = 0,
  Remainder = 1,
  Divide = 2,
  Add = 3,
  Subtract = 4,
  ShiftLeft = 5,
  ShiftRight = 6,
  And = 7,
  Xor = 8,
  Or = 9,
  None = 10,  // always refused
  Assign = 11,
};

// The relation that a conditional jump tests; the jump is taken when it does not hold.
enum class Relation : uint32_t {
  Less = 0,
  Greater = 1,
  Equal = 2,
  NotEqual = 3,
  LessEqual = 4,
  GreaterEqual = 5,
  Always6 = 6,  // never holds: always jumps
  Always7 = 7,
};

// Widths of the fields that a 3-bit width code announces.
inline constexpr uint32_t kWidthOfCode[8] = {8, 12, 16, 24, 32, 48, 56, 63};
