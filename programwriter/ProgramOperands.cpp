#include "programwriter/ProgramOperands.h"

#include <bit>

namespace testprog {

namespace {

Operand Immediate(int32_t kind, uint64_t payload) {
  Operand o;
  o.form = Operand::Form::Immediate;
  o.kind = kind;
  o.payload = payload;
  return o;
}

Operand Variable(Operand::Form form, VarNum id, VarNum index) {
  Operand o;
  o.form = form;
  o.id = id;
  o.index = index;
  return o;
}

}  // namespace

namespace Imm {

Operand String(std::string_view text) {
  Operand o = Immediate(kKindString, 0);
  o.text = std::string(text);
  return o;
}

Operand StringUnterminated(std::string_view bytes) {
  Operand o = String(bytes);
  o.terminated = false;
  return o;
}

Operand Int(int32_t v) { return Immediate(kKindInt, static_cast<uint32_t>(v)); }
Operand Double(double v) { return Immediate(kKindDouble, std::bit_cast<uint64_t>(v)); }
Operand UInt64(uint64_t v) { return Immediate(kKindUInt64, v); }
Operand UInt32(uint32_t v) { return Immediate(kKindUInt32, v); }

Operand RawKind(int32_t kind) {
  Operand o = Immediate(kind, 0);
  o.kindOnly = true;
  return o;
}

}  // namespace Imm

namespace Opnd {

Operand Var(VarNum id) { return Variable(Operand::Form::Variable, id, 0); }
Operand VarAt(VarNum id, VarNum index) {
  return Variable(Operand::Form::VariableAtIndex, id, index);
}
Operand VarAtVar(VarNum id, VarNum indexVariableId) {
  return Variable(Operand::Form::VariableAtIndexVar, id, indexVariableId);
}

}  // namespace Opnd

}  // namespace testprog
