#include "interpreter/program/decoded/DecodedProgram.h"

#include <algorithm>
#include <bit>
#include <string>
#include <utility>

#include "interpreter/program/Comparison.h"
#include "interpreter/program/ProgramContext.h"

namespace {

// Marks a position whose statement is never decoded.
DecodedStatement g_undecodable;

// A string immediate is read into at most this many bytes; without a 0 byte among them the
// text keeps all but the last.
constexpr uint32_t kStringImmediateBytes = 2048;

bool HasRoomForKind(const ProgramContext& reader, uint64_t pos) {
  return pos < reader.bitLength && reader.bitLength - pos >= 4;
}

bool IsNumberImmediate(const DecodedOperand& operand) {
  return operand.form == OperandForm::Immediate && Value::ElementWidth(operand.number.kind) != 0;
}

StatementShape ShapeOf(const DecodedStatement& s) {
  const bool computes = s.code < static_cast<uint8_t>(MathOp::None) ||
                        s.code == static_cast<uint8_t>(MathOp::Assign);
  if (s.opcode == Opcode::Assign && computes && s.targetIndexForm != TargetIndexForm::ByVariable) {
    if (IsNumberImmediate(s.operands[0])) {
      return s.operands[0].number.kind == kKindUInt64 ? StatementShape::UInt64ByNumber
                                                       : StatementShape::NumberIntoElement;
    }
    if (s.operands[0].form == OperandForm::Variable) return StatementShape::VariableIntoElement;
  }
  if ((s.opcode == Opcode::JumpUnless || s.opcode == Opcode::JumpUnlessToo) &&
      s.operands[0].form == OperandForm::Variable && IsNumberImmediate(s.operands[1])) {
    return s.operands[1].number.kind == kKindUInt64 ? StatementShape::UInt64AgainstNumber
                                                     : StatementShape::VariableAgainstNumber;
  }
  return StatementShape::General;
}

}  // namespace

// The parts of a statement that live outside it, made while it decodes and kept only when it
// decodes completely and fits the bound.
struct StatementParts {
  Value immediates[2];
  VariableRef indexVariables[3];
  std::vector<VariableRef> arguments;
  uint64_t extraBytes = 0;
};

uint64_t DecodedProgram::BoundFor(uint64_t programBytes) {
  const uint64_t scaled = programBytes > UINT64_MAX / kDecodedBytesPerProgramByte
                              ? UINT64_MAX
                              : programBytes * kDecodedBytesPerProgramByte;
  return std::max(scaled, kDecodedBytesFloor);
}

bool DecodedProgram::Reserve(uint64_t bytes) {
  if (bytes > bound_ - used_) return false;
  used_ += bytes;
  return true;
}

DecodedStatements& DecodedProgram::ForKeyStream(const std::vector<uint8_t>* keyStream) {
  std::unique_ptr<DecodedStatements>& statements = byKey_[keyStream];
  if (statements == nullptr) statements = std::make_unique<DecodedStatements>(*this);
  return *statements;
}

DecodedStatement* DecodedStatements::At(const ProgramContext& reader, uint64_t pos) {
  PositionTable::Entry* entry = positions_.Find(pos);
  if (entry != nullptr && entry->statement != nullptr) {
    return entry->statement == &g_undecodable ? nullptr : entry->statement;
  }
  if (entry == nullptr) {
    entry = positions_.Insert(pos, [this](uint64_t bytes) { return owner_.Reserve(bytes); });
    if (entry == nullptr) return nullptr;  // no room to note it: read bit by bit
    if (owner_.DecodeAtVisit() > 1) return nullptr;
  }

  // Not decoded again after a refusal: a statement past the bound stays bit by bit.
  entry->statement = &g_undecodable;
  if (owner_.BytesUsed() + sizeof(DecodedStatement) > owner_.Bound()) return nullptr;
  DecodedStatement s;
  StatementParts parts;
  if (!Decode(reader, pos, s, parts)) return nullptr;
  if (!owner_.Reserve(sizeof(DecodedStatement) + parts.extraBytes)) return nullptr;

  // Move the parts to their lasting place and point the statement at them there.
  auto keep = [this, &parts](const Value*& immediate) {
    if (immediate == nullptr) return;
    immediates_.push_back(std::move(parts.immediates[immediate - parts.immediates]));
    immediate = &immediates_.back();
  };
  auto keepIndex = [this](VariableRef*& ref) {
    if (ref == nullptr) return;
    indexVariables_.push_back(*ref);
    ref = &indexVariables_.back();
  };
  for (DecodedOperand& operand : s.operands) {
    keep(operand.immediate);
    keepIndex(operand.indexVariable);
  }
  keepIndex(s.indexVariable);
  if (s.arguments != nullptr) {
    argumentLists_.push_back(std::move(parts.arguments));
    s.arguments = &argumentLists_.back();
  }
  statements_.push_back(s);
  entry->statement = &statements_.back();
  return entry->statement;
}

bool DecodedStatements::Decode(const ProgramContext& reader, uint64_t pos, DecodedStatement& s,
                               StatementParts& parts) {
  uint64_t field;
  if (!reader.ReadBits(pos, 4, field)) return false;
  s.opcode = static_cast<Opcode>(field);
  switch (s.opcode) {
    case Opcode::OpenScope:
      break;
    case Opcode::CloseScope:
      if (!reader.ReadBits(pos, 1, field)) return false;
      s.jumps = field != 0;
      if (s.jumps && !DecodeJump(reader, pos, s.target)) return false;
      break;
    case Opcode::Assign:
      if (!DecodeAssignment(reader, pos, s, parts)) return false;
      break;
    case Opcode::Declare:
      if (!HasRoomForKind(reader, pos) || !reader.ReadBits(pos, 3, field)) return false;
      s.declaredKind = static_cast<uint8_t>(field);
      pos += 1;  // skip bit
      if (!reader.ReadVarWidth(pos, s.variable.id) || !reader.ReadBits(pos, 1, field)) {
        return false;
      }
      s.number = 1;
      if (field != 0) {
        pos += 1;  // skip bit
        if (!reader.ReadVarWidth(pos, s.number)) return false;
      }
      break;
    case Opcode::JumpUnless:
    case Opcode::JumpUnlessToo:
      if (!HasRoomForKind(reader, pos) || !reader.ReadBits(pos, 3, field)) return false;
      s.code = static_cast<uint8_t>(field);
      if (!DecodeOperand(reader, pos, s.operands[0], parts.immediates[0], parts.indexVariables[0],
                         parts) ||
          !DecodeOperand(reader, pos, s.operands[1], parts.immediates[1], parts.indexVariables[1],
                         parts) ||
          !DecodeJump(reader, pos, s.target)) {
        return false;
      }
      break;
    case Opcode::CallRoutine:
      if (!reader.ReadBits(pos, 64, s.target) || !DecodeArguments(reader, pos, parts) ||
          !reader.ReadBits(pos, 1, field)) {
        return false;
      }
      s.jumps = field != 0;
      if (s.jumps) {
        pos += 1;  // skip bit
        if (!reader.ReadVarWidth(pos, s.variable.id)) return false;
      }
      s.arguments = &parts.arguments;
      break;
    case Opcode::CallNative:
      pos += 1;  // skip bit
      if (!reader.ReadVarWidth(pos, s.number) || !DecodeArguments(reader, pos, parts)) {
        return false;
      }
      s.arguments = &parts.arguments;
      break;
    case Opcode::CloseScopesAndJump:
    case Opcode::CloseScopesAndJumpToo:
      pos += 1;  // skip bit
      if (!reader.ReadVarWidth(pos, s.number) || !DecodeJump(reader, pos, s.target)) {
        return false;
      }
      break;
    default:  // 8 and 11 to 15 name no statement: the step-by-step reading fails them
      return false;
  }
  s.next = pos;
  s.nextEnds = s.next >= reader.bitLength;
  s.targetEnds = s.target >= reader.bitLength;
  s.shape = ShapeOf(s);
  s.orderedOutcomes = comparison::OrderedOutcomes(static_cast<Relation>(s.code));
  return true;
}

bool DecodedStatements::DecodeAssignment(const ProgramContext& reader, uint64_t& pos,
                                         DecodedStatement& s, StatementParts& parts) {
  pos += 2;  // two skip bits
  uint64_t field;
  if (!reader.ReadVarWidth(pos, s.variable.id) || !reader.ReadBits(pos, 1, field)) return false;
  if (field != 0) {
    bool indexImmediate;
    if (!reader.ReadElementIndex(pos, indexImmediate, field)) return false;
    if (indexImmediate) {
      s.targetIndexForm = TargetIndexForm::Immediate;
      s.targetIndex = static_cast<uint32_t>(field);
    } else {
      s.targetIndexForm = TargetIndexForm::ByVariable;
      parts.indexVariables[2].id = field;
      s.indexVariable = &parts.indexVariables[2];
      parts.extraBytes += sizeof(VariableRef);
    }
  }
  if (!reader.ReadBits(pos, 4, field)) return false;
  s.code = static_cast<uint8_t>(field);
  return DecodeOperand(reader, pos, s.operands[0], parts.immediates[0], parts.indexVariables[0],
                       parts);
}

bool DecodedStatements::DecodeOperand(const ProgramContext& reader, uint64_t& pos,
                                      DecodedOperand& operand, Value& immediate,
                                      VariableRef& indexVariable, StatementParts& parts) {
  uint64_t field;
  if (!reader.ReadBits(pos, 1, field)) return false;
  if (field != 0) {
    uint64_t kind;
    if (!HasRoomForKind(reader, pos) || !reader.ReadBits(pos, 3, kind)) return false;
    immediate.kind = static_cast<int32_t>(kind);
    parts.extraBytes += sizeof(Value) + 16;
    switch (immediate.kind) {
      case kKindString: {
        std::string text;
        bool terminated = false;
        for (uint32_t i = 0; i < kStringImmediateBytes; ++i) {
          if (!reader.ReadBits(pos, 8, field)) return false;
          if (field == 0) {
            terminated = true;
            break;
          }
          text.push_back(static_cast<char>(field));
        }
        if (!terminated) text.pop_back();
        immediate.SetString(0, text.c_str());
        parts.extraBytes += text.size() + 64;
        break;
      }
      case kKindInt:
      case kKindUInt32:
        if (!reader.ReadBits(pos, 32, field)) return false;
        immediate.SetInt32(0, static_cast<uint32_t>(field));
        operand.number.word = static_cast<uint32_t>(field);
        break;
      case kKindDouble:
      case kKindUInt64:
        if (!reader.ReadBits(pos, 64, field)) return false;
        immediate.SetUInt64(0, field);
        operand.number.wide = field;
        operand.number.real = std::bit_cast<double>(field);
        break;
      default:  // no byte-array immediate; 6 and 7 name no kind
        return false;
    }
    operand.form = OperandForm::Immediate;
    operand.immediate = &immediate;
    operand.number.kind = immediate.kind;
    return true;
  }

  pos += 1;  // skip bit
  if (!reader.ReadVarWidth(pos, operand.variable.id) || !reader.ReadBits(pos, 1, field)) {
    return false;
  }
  if (field == 0) {
    operand.form = OperandForm::Variable;
    return true;
  }
  bool indexImmediate;
  if (!reader.ReadElementIndex(pos, indexImmediate, field)) return false;
  if (indexImmediate) {
    operand.form = OperandForm::Element;
    operand.element = static_cast<uint32_t>(field);
  } else {
    operand.form = OperandForm::ElementByVariable;
    indexVariable.id = field;
    operand.indexVariable = &indexVariable;
    parts.extraBytes += sizeof(VariableRef);
  }
  return true;
}

bool DecodedStatements::DecodeArguments(const ProgramContext& reader, uint64_t& pos,
                                        StatementParts& parts) {
  pos += 1;  // skip bit
  uint64_t count;
  if (!reader.ReadVarWidth(pos, count)) return false;
  // Grows with the references actually read: a huge count in a short program fails at the
  // program's end instead of sizing an allocation.
  for (uint64_t i = 0; i < count; ++i) {
    pos += 1;  // skip bit
    VariableRef argument;
    if (!reader.ReadVarWidth(pos, argument.id)) return false;
    parts.arguments.push_back(argument);
  }
  parts.extraBytes += sizeof(std::vector<VariableRef>) + count * sizeof(VariableRef);
  return true;
}

bool DecodedStatements::DecodeJump(const ProgramContext& reader, uint64_t& pos, uint64_t& target) {
  uint64_t offset;
  if (!reader.ReadBits(pos, 32, offset)) return false;
  const int64_t signedOffset = static_cast<int32_t>(static_cast<uint32_t>(offset));
  target = pos + static_cast<uint64_t>(signedOffset);  // wraps below bit 0 past the end
  return true;
}
