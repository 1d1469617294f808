#pragma once
// The pieces of a statement that tests name by value: variable-width numbers (with an
// optional forced width code), assignment targets, operands and jump destinations.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "interpreter/values/Value.h"

namespace testprog {

// A width code followed by a field of that width. By default the smallest code whose width
// holds the value is written; Forced() picks the code.
struct VarNum {
  static constexpr int kAutoWidth = -1;

  VarNum(uint64_t v) : value(v) {}  // NOLINT: implicit, so ids and counts read as numbers

  uint64_t value;
  int widthCode = kAutoWidth;
};

inline VarNum Forced(uint64_t value, int widthCode) {
  VarNum n(value);
  n.widthCode = widthCode;
  return n;
}

// The element of the assigned variable: element 0, an immediate index, or the index held in
// element 0 of an index variable.
struct Target {
  enum class Form { Element0, ImmediateIndex, IndexVariable };

  explicit Target(VarNum variableId) : id(variableId) {}
  static Target At(VarNum variableId, VarNum index) {
    Target t(variableId);
    t.form = Form::ImmediateIndex;
    t.index = index;
    return t;
  }
  static Target AtVar(VarNum variableId, VarNum indexVariableId) {
    Target t(variableId);
    t.form = Form::IndexVariable;
    t.index = indexVariableId;
    return t;
  }

  VarNum id;
  Form form = Form::Element0;
  VarNum index = 0;
};

// One operand of an assignment or a conditional jump. Build it with Imm:: or Opnd::.
struct Operand {
  enum class Form { Immediate, Variable, VariableAtIndex, VariableAtIndexVar };

  Form form = Form::Immediate;
  int32_t kind = kKindInt;  // immediate kind code, 0 to 7
  uint64_t payload = 0;     // int/uint32 (32 bits), double/uint64 (64 bits)
  std::string text;         // string immediate bytes
  bool terminated = true;   // string immediate followed by a 0 byte
  bool kindOnly = false;    // flag and kind code only, no value field
  VarNum id = 0;            // variable operand
  VarNum index = 0;         // immediate element index, or index variable id
};

namespace Imm {
Operand String(std::string_view text);
// The bytes as they stand, with no 0 byte after them (for the text length limit).
Operand StringUnterminated(std::string_view bytes);
Operand Int(int32_t v);
Operand Double(double v);
Operand UInt64(uint64_t v);
Operand UInt32(uint32_t v);
// Flag, kind code, and nothing more: kinds 3, 6 and 7 carry no value.
Operand RawKind(int32_t kind);
}  // namespace Imm

namespace Opnd {
Operand Var(VarNum id);
Operand VarAt(VarNum id, VarNum index);
Operand VarAtVar(VarNum id, VarNum indexVariableId);
}  // namespace Opnd

// A place in the program, bound before or after the statements that refer to it.
class Label {
 public:
  Label() = default;

 private:
  friend class ProgramWriter;
  explicit Label(uint32_t i) : index_(i) {}
  uint32_t index_ = UINT32_MAX;
};

// A raw signed jump offset, counted from the bit after the 32-bit offset field.
struct Offset {
  int32_t bits;
};

// Where a jump goes: a label, or a raw offset.
struct Jump {
  Jump(Label l) : label(l) {}  // NOLINT: implicit, so a statement takes a label directly
  Jump(Offset o) : isRaw(true), raw(o.bits) {}  // NOLINT

  Label label;
  bool isRaw = false;
  int32_t raw = 0;
};

}  // namespace testprog
