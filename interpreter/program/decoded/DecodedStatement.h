#pragma once
// A statement as it is decoded once from the program's bits: its opcode, fields, immediates,
// variable references and the positions it goes on at, so that running it again reads no bit.
// Decoded statements belong to one key stream and one run (DecodedProgram).
//
// The statement itself holds what its short paths read, in 64 bytes; what only its general
// path reads stands beside it (StatementParts, 16 bytes, or MoreStatementParts for jumps,
// calls and variable operands), and what few statements have at all further out
// (StatementExtras). The smaller a statement, the more of a program fits the memory bound.
#include <cstdint>
#include <vector>

#include "interpreter/program/Opcodes.h"
#include "interpreter/values/Value.h"

// A variable reference that keeps the Value it found for as long as the scopes it was found
// in stay as they are: the context's scope epoch changes with every declaration and every
// scope opened or closed, and a reference found under another epoch is looked up again.
struct VariableRef {
  uint64_t id = 0;
  uint64_t epoch = 0;  // 0: never looked up (no context has epoch 0)
  Value* value = nullptr;
};

// An index variable, looked up together with its statement's variables.
struct IndexRef {
  uint64_t id = 0;
  Value* value = nullptr;
};

enum class OperandForm : uint8_t {
  Immediate,          // kind and value in the program
  Variable,           // the variable itself (an assignment's target: its element 0)
  Element,            // an element of the variable at an immediate index
  ElementByVariable,  // an element at the index held by an index variable
};

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
  // The same with a double immediate, for double variables (an assignment: only the operations
  // that take a double).
  DoubleByNumber,
  DoubleAgainstNumber,
};

// What the general paths of a few statements read and most statements lack.
struct StatementExtras {
  // [0]: a conditional jump's immediate A, of any kind; [1]: a text immediate operand (a
  // numeric one is the statement's number).
  Value immediates[2];
  // [0]: the index variable of an assignment's target or of a conditional jump's A;
  // [1]: that of the operand.
  IndexRef indexes[2];
  std::vector<VariableRef> arguments;  // routine and native calls
};

// The parts of a statement that its short paths do not read.
struct StatementParts {
  uint64_t next = 0;       // the bit after the statement's fields
  uint64_t subjectId = 0;  // the variable looked up into subject; declaration: the new id
};

// ...and those that only statements with a variable operand, a jump, a routine call or extras
// have: the rest do without them.
struct MoreStatementParts : StatementParts {
  uint64_t target = 0;     // where a jump goes; the start bit of a routine call
  uint64_t operandId = 0;  // the variable looked up into operand
  StatementExtras* extras = nullptr;
};

struct DecodedStatement {
  Opcode opcode = Opcode::Invalid8;     // as read: 4 and 5, 9 and 10 stay apart
  // Assignment: math-op code; conditional jump: relation code; declaration: the kind.
  uint8_t code = 0;
  StatementShape shape = StatementShape::General;
  // The subject is an assignment's target (Variable: element 0; Element: subjectElement;
  // ElementByVariable: extras' index 0) or a conditional jump's A; the operand is an
  // assignment's operand or a conditional jump's B.
  OperandForm subjectForm = OperandForm::Immediate;
  OperandForm operandForm = OperandForm::Immediate;
  int8_t numberKind = kKindUnset;  // the kind of number, when the operand is an immediate
  uint8_t orderedOutcomes = 0;     // conditional jump: comparison::OrderedOutcomes of its relation
  bool jumps : 1 = false;          // close scope: flag F; routine call: flag K (key given)
  bool nextIsAdjacent : 1 = false;  // nextStatement is the statement stored right after this one
  bool nextEnds : 1 = false;        // next is at or past the program's end: the run ends there
  bool targetEnds : 1 = false;      // so is target
  bool moreParts : 1 = false;       // parts is a MoreStatementParts

  uint32_t subjectElement = 0;  // the subject's element when given by an immediate index
  uint32_t operandElement = 0;  // the operand's element when given by an immediate index

  // The statements at next and at target, linked on first use; null until then, or when no
  // decoded statement stands there.
  DecodedStatement* nextStatement = nullptr;
  DecodedStatement* targetStatement = nullptr;

  // The variables (and index variables) of the statement as found under this scope epoch;
  // 0: never looked up.
  uint64_t epoch = 0;
  Value* subject = nullptr;  // routine call: the key variable
  union {
    Value* operand = nullptr;  // a variable operand
    uint64_t number;           // a numeric immediate operand's bits; declaration: the count;
                               // native call: the native's index; close scopes: N
  };
  StatementParts* parts = nullptr;

  uint64_t Next() const { return parts->next; }
  uint64_t SubjectId() const { return parts->subjectId; }
  // Only for statements with more parts: every jump and routine call has them.
  uint64_t Target() const { return More().target; }
  uint64_t OperandId() const { return More().operandId; }
  StatementExtras* Extras() const { return moreParts ? More().extras : nullptr; }

 private:
  const MoreStatementParts& More() const { return static_cast<const MoreStatementParts&>(*parts); }
};

static_assert(sizeof(DecodedStatement) == 64, "a decoded statement fills one cache line");
