#include "interpreter/program/decoded/DecodedProgram.h"

#include <algorithm>
#include <bit>
#include <optional>
#include <string>
#include <utility>

#include "interpreter/program/Comparison.h"
#include "interpreter/program/Operand.h"
#include "interpreter/program/ProgramContext.h"
#include "interpreter/values/ElementArithmetic.h"

namespace {

// A string immediate is read into at most this many bytes; without a 0 byte among them the
// text keeps all but the last.
constexpr uint32_t kStringImmediateBytes = 2048;

bool HasRoomForKind(const ProgramContext& reader, uint64_t pos) {
  return pos < reader.bitLength && reader.bitLength - pos >= 4;
}

bool IsNumberImmediate(OperandForm form, int8_t kind) {
  return form == OperandForm::Immediate && Value::ElementWidth(kind) != 0;
}

StatementShape ShapeOf(const DecodedStatement& s) {
  const bool computes = s.code < static_cast<uint8_t>(MathOp::None) ||
                        s.code == static_cast<uint8_t>(MathOp::Assign);
  const bool numberOperand = IsNumberImmediate(s.operandForm, s.numberKind);
  if (s.opcode == Opcode::Assign && computes &&
      s.subjectForm != OperandForm::ElementByVariable) {
    if (numberOperand) {
      if (s.numberKind == kKindUInt64) return StatementShape::UInt64ByNumber;
      const bool takesDouble = element_arithmetic::AcceptsKinds(static_cast<MathOp>(s.code),
                                                                kKindDouble, kKindDouble);
      return s.numberKind == kKindDouble && takesDouble ? StatementShape::DoubleByNumber
                                                        : StatementShape::NumberIntoElement;
    }
    if (s.operandForm == OperandForm::Variable) return StatementShape::VariableIntoElement;
  }
  if ((s.opcode == Opcode::JumpUnless || s.opcode == Opcode::JumpUnlessToo) &&
      s.subjectForm == OperandForm::Variable && numberOperand) {
    switch (s.numberKind) {
      case kKindUInt64:
        return StatementShape::UInt64AgainstNumber;
      case kKindDouble:
        return StatementShape::DoubleAgainstNumber;
      default:
        return StatementShape::VariableAgainstNumber;
    }
  }
  return StatementShape::General;
}

// A jump, a close scope with flag F, a routine call.
bool HasTarget(const DecodedStatement& s) {
  switch (s.opcode) {
    case Opcode::CloseScope:
      return s.jumps;
    case Opcode::JumpUnless:
    case Opcode::JumpUnlessToo:
    case Opcode::CallRoutine:
    case Opcode::CloseScopesAndJump:
    case Opcode::CloseScopesAndJumpToo:
      return true;
    default:
      return false;
  }
}

}  // namespace

// A statement while it decodes: kept only when it decodes completely and fits the bound.
struct Decoding {
  DecodedStatement statement;
  MoreStatementParts parts;
  std::optional<StatementExtras> extras;  // made only for the statements that have them
  uint64_t extraBytes = 0;                // held by the extras beyond their own size

  StatementExtras& Extras() {
    if (!extras) extras.emplace();
    return *extras;
  }
};

uint64_t DecodedProgram::BoundFor(uint64_t programBytes) {
  const uint64_t scaled = programBytes > UINT64_MAX / kDecodedBytesPerProgramByte
                              ? UINT64_MAX
                              : programBytes * kDecodedBytesPerProgramByte;
  return std::max(scaled, kDecodedBytesFloor);
}

bool DecodedProgram::Reserve(uint64_t bytes) {
  if (reached_ || bytes > bound_ - used_) {
    reached_ = true;
    return false;
  }
  used_ += bytes;
  return true;
}

DecodedStatements& DecodedProgram::ForKeyStream(const std::vector<uint8_t>* keyStream,
                                                uint64_t bitLength) {
  std::unique_ptr<DecodedStatements>& statements = byKey_[keyStream];
  if (statements == nullptr) statements = std::make_unique<DecodedStatements>(*this, bitLength);
  return *statements;
}

DecodedStatements::DecodedStatements(DecodedProgram& owner, uint64_t bitLength)
    : owner_(owner) {
  const uint64_t bytes = bitLength / 8 + 1;
  const uint64_t words = bytes / 64 + 1;
  if (!owner_.Reserve(2 * words * sizeof(uint64_t) + PositionTable::CoverBytes(bitLength))) {
    return;
  }
  programBytes_ = bytes;
  seen_.assign(words, 0);
  entered_.assign(words, 0);
  positions_.Cover(bitLength);
}

DecodedStatement* DecodedStatements::FindOrDecode(const ProgramContext& reader, uint64_t pos) {
  const uint64_t byte = pos / 8;
  uint64_t& entered = entered_[byte / 64];
  const uint64_t bit = uint64_t{1} << (byte % 64);
  if ((entered & bit) != 0) {
    if (const PositionTable::Entry* entry = positions_.Find(pos); entry != nullptr) {
      return entry->statement == PositionTable::kUndecodable
                 ? nullptr
                 : &statements_[entry->statement - 1];
    }
    if (owner_.Reached()) return nullptr;
  }
  entered |= bit;
  return DecodeAndKeep(reader, pos);
}

DecodedStatement* DecodedStatements::DecodeAndKeep(const ProgramContext& reader, uint64_t pos) {
  // Statements are numbered in 32 bits; so many never fit a bound anyway.
  if (statements_.size() >= PositionTable::kUndecodable - 1) return nullptr;
  // Entered as undecodable: not decoded again after a refusal, so that a statement past the
  // bound stays bit by bit.
  PositionTable::Entry* entry =
      positions_.Insert(pos, [this](uint64_t bytes) { return owner_.Reserve(bytes); });
  if (entry == nullptr) return nullptr;  // no room to enter it: read bit by bit from now on

  Decoding d;
  if (!Decode(reader, pos, d)) return nullptr;
  DecodedStatement& s = d.statement;
  s.moreParts = d.extras || s.operandForm != OperandForm::Immediate || HasTarget(s);
  const auto reserve = [this](uint64_t bytes) { return owner_.Reserve(bytes); };
  if (!statements_.MakeRoom(reserve) ||
      !(s.moreParts ? moreParts_.MakeRoom(reserve) : parts_.MakeRoom(reserve)) ||
      (d.extras && (!extras_.MakeRoom(reserve) || !owner_.Reserve(d.extraBytes)))) {
    return nullptr;
  }

  // The parts go to their lasting place, and the statement points at them there.
  if (d.extras) d.parts.extras = &extras_.Add(std::move(*d.extras));
  if (s.moreParts) {
    s.parts = &moreParts_.Add(std::move(d.parts));
  } else {
    s.parts = &parts_.Add(StatementParts(d.parts));
  }
  entry->statement = static_cast<uint32_t>(statements_.size() + 1);
  return &statements_.Add(std::move(s));
}

bool DecodedStatements::Decode(const ProgramContext& reader, uint64_t pos, Decoding& d) {
  DecodedStatement& s = d.statement;
  MoreStatementParts& p = d.parts;
  uint64_t field;
  if (!reader.ReadBits(pos, 4, field)) return false;
  s.opcode = static_cast<Opcode>(field);
  switch (s.opcode) {
    case Opcode::OpenScope:
      break;
    case Opcode::CloseScope:
      if (!reader.ReadBits(pos, 1, field)) return false;
      s.jumps = field != 0;
      if (s.jumps && !DecodeJump(reader, pos, p.target)) return false;
      break;
    case Opcode::Assign:
      if (!DecodeAssignment(reader, pos, d)) return false;
      break;
    case Opcode::Declare:
      if (!HasRoomForKind(reader, pos) || !reader.ReadBits(pos, 3, field)) return false;
      s.code = static_cast<uint8_t>(field);
      pos += 1;  // skip bit
      if (!reader.ReadVarWidth(pos, p.subjectId) || !reader.ReadBits(pos, 1, field)) {
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
      if (!DecodeOperand(reader, pos, d, 0) || !DecodeOperand(reader, pos, d, 1) ||
          !DecodeJump(reader, pos, p.target)) {
        return false;
      }
      break;
    case Opcode::CallRoutine:
      if (!reader.ReadBits(pos, 64, p.target) || !DecodeArguments(reader, pos, d) ||
          !reader.ReadBits(pos, 1, field)) {
        return false;
      }
      s.jumps = field != 0;
      if (s.jumps) {
        s.subjectForm = OperandForm::Variable;  // the key variable
        pos += 1;  // skip bit
        if (!reader.ReadVarWidth(pos, p.subjectId)) return false;
      }
      break;
    case Opcode::CallNative:
      pos += 1;  // skip bit
      if (!reader.ReadVarWidth(pos, s.number) || !DecodeArguments(reader, pos, d)) return false;
      break;
    case Opcode::CloseScopesAndJump:
    case Opcode::CloseScopesAndJumpToo:
      pos += 1;  // skip bit
      if (!reader.ReadVarWidth(pos, s.number) || !DecodeJump(reader, pos, p.target)) {
        return false;
      }
      break;
    default:  // 8 and 11 to 15 name no statement: the step-by-step reading fails them
      return false;
  }
  p.next = pos;
  s.nextEnds = p.next >= reader.bitLength;
  s.targetEnds = p.target >= reader.bitLength;
  s.shape = ShapeOf(s);
  s.orderedOutcomes = comparison::OrderedOutcomes(static_cast<Relation>(s.code));
  return true;
}

bool DecodedStatements::DecodeAssignment(const ProgramContext& reader, uint64_t& pos,
                                         Decoding& d) {
  DecodedStatement& s = d.statement;
  pos += 2;  // two skip bits
  uint64_t field;
  if (!reader.ReadVarWidth(pos, d.parts.subjectId) || !reader.ReadBits(pos, 1, field)) {
    return false;
  }
  s.subjectForm = OperandForm::Variable;
  if (field != 0) {
    bool indexImmediate;
    if (!reader.ReadElementIndex(pos, indexImmediate, field)) return false;
    if (indexImmediate) {
      s.subjectForm = OperandForm::Element;
      s.subjectElement = static_cast<uint32_t>(field);
    } else {
      s.subjectForm = OperandForm::ElementByVariable;
      d.Extras().indexes[0].id = field;
    }
  }
  if (!reader.ReadBits(pos, 4, field)) return false;
  s.code = static_cast<uint8_t>(field);
  return DecodeOperand(reader, pos, d, 1);
}

// place 0: a conditional jump's A, the subject; place 1: the operand.
bool DecodedStatements::DecodeOperand(const ProgramContext& reader, uint64_t& pos, Decoding& d,
                                      size_t place) {
  DecodedStatement& s = d.statement;
  OperandForm& form = place == 0 ? s.subjectForm : s.operandForm;
  uint64_t field;
  if (!reader.ReadBits(pos, 1, field)) return false;
  if (field != 0) {
    uint64_t kind;
    if (!HasRoomForKind(reader, pos) || !reader.ReadBits(pos, 3, kind)) return false;
    form = OperandForm::Immediate;
    uint64_t bits = 0;
    switch (static_cast<int32_t>(kind)) {
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
        Value& immediate = d.Extras().immediates[place];
        immediate.kind = kKindString;
        immediate.SetString(0, text.c_str());
        d.extraBytes += text.size() + 64;
        if (place == 1) s.numberKind = kKindString;
        return true;
      }
      case kKindInt:
      case kKindUInt32:
        if (!reader.ReadBits(pos, 32, bits)) return false;
        break;
      case kKindDouble:
      case kKindUInt64:
        if (!reader.ReadBits(pos, 64, bits)) return false;
        break;
      default:  // no byte-array immediate; 6 and 7 name no kind
        return false;
    }
    if (place == 1) {
      s.numberKind = static_cast<int8_t>(kind);
      s.number = bits;
    } else {
      SetImmediate(d.Extras().immediates[0], static_cast<int32_t>(kind), bits);
      d.extraBytes += 16;
    }
    return true;
  }

  pos += 1;  // skip bit
  if (!reader.ReadVarWidth(pos, place == 0 ? d.parts.subjectId : d.parts.operandId) ||
      !reader.ReadBits(pos, 1, field)) {
    return false;
  }
  form = OperandForm::Variable;
  if (field == 0) return true;
  bool indexImmediate;
  if (!reader.ReadElementIndex(pos, indexImmediate, field)) return false;
  if (indexImmediate) {
    form = OperandForm::Element;
    (place == 0 ? s.subjectElement : s.operandElement) = static_cast<uint32_t>(field);
  } else {
    form = OperandForm::ElementByVariable;
    d.Extras().indexes[place].id = field;
  }
  return true;
}

bool DecodedStatements::DecodeArguments(const ProgramContext& reader, uint64_t& pos,
                                        Decoding& d) {
  pos += 1;  // skip bit
  uint64_t count;
  if (!reader.ReadVarWidth(pos, count)) return false;
  std::vector<VariableRef>& arguments = d.Extras().arguments;
  // Grows with the references actually read: a huge count in a short program fails at the
  // program's end instead of sizing an allocation.
  for (uint64_t i = 0; i < count; ++i) {
    pos += 1;  // skip bit
    VariableRef argument;
    if (!reader.ReadVarWidth(pos, argument.id)) return false;
    arguments.push_back(argument);
  }
  d.extraBytes += count * sizeof(VariableRef);
  return true;
}

bool DecodedStatements::DecodeJump(const ProgramContext& reader, uint64_t& pos, uint64_t& target) {
  uint64_t offset;
  if (!reader.ReadBits(pos, 32, offset)) return false;
  const int64_t signedOffset = static_cast<int32_t>(static_cast<uint32_t>(offset));
  target = pos + static_cast<uint64_t>(signedOffset);  // wraps below bit 0 past the end
  return true;
}
