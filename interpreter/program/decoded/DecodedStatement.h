#pragma once
// A statement as it is decoded once from the program's bits: its opcode, fields, immediates,
// variable references and the positions it goes on at, so that running it again reads no bit.
// Decoded statements belong to one key stream and one run (DecodedProgram).
#include <cstdint>
#include <vector>

#include "interpreter/program/Opcodes.h"
#include "interpreter/values/ElementArithmetic.h"
#include "interpreter/values/Value.h"

// A variable reference that keeps the Value it found for as long as the scopes it was found
// in stay as they are: the context's scope epoch changes with every declaration and every
// scope opened or closed, and a reference found under another epoch is looked up again.
struct VariableRef {
  uint64_t id = 0;
  uint64_t epoch = 0;  // 0: never looked up (no context has epoch 0)
  Value* value = nullptr;
};

enum class OperandForm : uint8_t {
  Immediate,          // kind and value in the program
  Variable,           // the variable itself
  Element,            // an element of the variable at an immediate index
  ElementByVariable,  // an element at the index held by an index variable
};

// One operand of an assignment or a conditional jump.
struct DecodedOperand {
  OperandForm form = OperandForm::Immediate;
  uint32_t element = 0;                        // Element: the index's low 32 bits
  const Value* immediate = nullptr;            // Immediate: one element of its kind, id 0
  element_arithmetic::SourceElement number{};  // a numeric immediate's element, read once
  VariableRef variable;
  VariableRef* indexVariable = nullptr;  // ElementByVariable
};

enum class TargetIndexForm : uint8_t { Element0, Immediate, ByVariable };

// Shapes of assignments and conditional jumps that have a short path when their values turn
// out to be numbers held in place; every other case takes the statement's general path.
enum class StatementShape : uint8_t {
  General,
  NumberIntoElement,      // assignment: arithmetic with a numeric immediate, index not a variable
  VariableIntoElement,    // assignment: arithmetic with a whole variable, index not a variable
  VariableAgainstNumber,  // conditional jump: a whole variable against a numeric immediate
  // The first and last with a uint64 immediate: a uint64 variable takes a shorter path still,
  // guarded by its kind alone (as does a uint64 variable into a uint64 element).
  UInt64ByNumber,
  UInt64AgainstNumber,
};

struct DecodedStatement {
  Opcode opcode = Opcode::Invalid8;  // as read: 4 and 5, 9 and 10 stay apart
  uint8_t code = 0;                  // assignment: math-op code; conditional jump: relation code
  uint8_t declaredKind = 0;
  bool jumps = false;  // close scope: flag F; routine call: flag K (key variable given)
  TargetIndexForm targetIndexForm = TargetIndexForm::Element0;
  StatementShape shape = StatementShape::General;
  bool nextIsAdjacent = false;  // nextStatement is the statement stored right after this one
  bool nextEnds = false;        // next is at or past the program's end: the run ends there
  bool targetEnds = false;      // so is target
  uint32_t targetIndex = 0;
  uint8_t orderedOutcomes = 0;  // conditional jump: comparison::OrderedOutcomes of its relation

  uint64_t next = 0;    // the bit after the statement's fields
  uint64_t target = 0;  // where a jump goes; the start bit of a routine call
  uint64_t number = 0;  // declaration: count; native call: index; close scopes: N

  // The statements at next and at target, linked on first use; null until then, or when no
  // decoded statement stands there.
  DecodedStatement* nextStatement = nullptr;
  DecodedStatement* targetStatement = nullptr;

  // Assignment: the target and its index variable; declaration: the id; routine call: the key
  // variable.
  VariableRef variable;
  VariableRef* indexVariable = nullptr;
  DecodedOperand operands[2];
  std::vector<VariableRef>* arguments = nullptr;  // routine and native calls
};
