#include "programwriter/ProgramWriter.h"

#include <stdexcept>
#include <string>

namespace testprog {

namespace {

// Field widths announced by the width codes 0 to 7.
constexpr unsigned kWidthOfCode[8] = {8, 12, 16, 24, 32, 48, 56, 63};
constexpr size_t kStreamBytes = 65536;

[[noreturn]] void Misuse(const std::string& what) {
  throw std::invalid_argument("ProgramWriter: " + what);
}

bool Fits(uint64_t value, unsigned width) { return width >= 64 || (value >> width) == 0; }

unsigned SmallestWidthCode(uint64_t value) {
  for (unsigned code = 0; code < 8; ++code) {
    if (Fits(value, kWidthOfCode[code])) return code;
  }
  Misuse("a variable-width number holds at most 63 bits");
}

void PutBits(std::vector<uint8_t>& bytes, uint64_t pos, uint64_t value, unsigned n) {
  const uint64_t needed = (pos + n + 7) / 8;
  if (bytes.size() < needed) bytes.resize(needed, 0);
  for (unsigned i = 0; i < n; ++i) {
    const uint64_t bit = pos + i;
    const auto mask = static_cast<uint8_t>(1u << (bit % 8));
    if ((value >> i) & 1) {
      bytes[bit / 8] |= mask;
    } else {
      bytes[bit / 8] &= static_cast<uint8_t>(~mask);
    }
  }
}

}  // namespace

// ---- raw fields ----

void ProgramWriter::PutBitsAt(uint64_t pos, uint64_t value, unsigned n) {
  PutBits(bytes_, pos, value, n);
}

ProgramWriter& ProgramWriter::Bits(uint64_t value, unsigned n) {
  if (n < 1 || n > 64) Misuse("a field has 1 to 64 bits, not " + std::to_string(n));
  if (!Fits(value, n)) {
    Misuse(std::to_string(value) + " does not fit in " + std::to_string(n) + " bits");
  }
  PutBitsAt(bitPos_, value, n);
  bitPos_ += n;
  return *this;
}

ProgramWriter& ProgramWriter::Flag(bool set) { return Bits(set ? 1 : 0, 1); }

ProgramWriter& ProgramWriter::Skip(bool bit) { return Bits(bit ? 1 : 0, 1); }

ProgramWriter& ProgramWriter::WidthCoded(uint64_t value, unsigned widthCode) {
  if (widthCode > 7) Misuse("width codes are 0 to 7");
  if (!Fits(value, kWidthOfCode[widthCode])) {
    Misuse(std::to_string(value) + " does not fit width code " + std::to_string(widthCode));
  }
  Bits(widthCode, 3);
  return Bits(value, kWidthOfCode[widthCode]);
}

ProgramWriter& ProgramWriter::VarWidth(VarNum n) {
  if (n.widthCode == VarNum::kAutoWidth) return WidthCoded(n.value, SmallestWidthCode(n.value));
  if (n.widthCode < 0) Misuse("width codes are 0 to 7");
  return WidthCoded(n.value, static_cast<unsigned>(n.widthCode));
}

ProgramWriter& ProgramWriter::RawBytes(std::span<const uint8_t> bytes) {
  for (uint8_t b : bytes) Bits(b, 8);
  return *this;
}

ProgramWriter& ProgramWriter::RawBytes(std::string_view bytes) {
  for (char c : bytes) Bits(static_cast<uint8_t>(c), 8);
  return *this;
}

ProgramWriter& ProgramWriter::RawOpcode(uint32_t opcode) { return Bits(opcode, 4); }

ProgramWriter& ProgramWriter::OffsetTo(Label label) {
  CheckLabel(label);
  fixups_.push_back({bitPos_, label, false});
  return Bits(0, 32);
}

ProgramWriter& ProgramWriter::OffsetField(Jump to) {
  if (to.isRaw) return Bits(static_cast<uint32_t>(to.raw), 32);
  return OffsetTo(to.label);
}

ProgramWriter& ProgramWriter::PositionOf(Label label) {
  CheckLabel(label);
  fixups_.push_back({bitPos_, label, true});
  return Bits(0, 64);
}

ProgramWriter& ProgramWriter::AlignToByte() {
  while (bitPos_ % 8 != 0) Bits(0, 1);
  return *this;
}

// ---- labels ----

Label ProgramWriter::NewLabel() {
  labels_.emplace_back();
  return Label(static_cast<uint32_t>(labels_.size() - 1));
}

void ProgramWriter::CheckLabel(Label label) const {
  if (label.index_ >= labels_.size()) Misuse("label of another writer, or never made");
}

ProgramWriter& ProgramWriter::Bind(Label label) {
  CheckLabel(label);
  if (labels_[label.index_]) Misuse("a label is bound once");
  labels_[label.index_] = bitPos_;
  return *this;
}

Label ProgramWriter::Here() {
  Label l = NewLabel();
  Bind(l);
  return l;
}

uint64_t ProgramWriter::LabelPosition(Label label) const {
  CheckLabel(label);
  const std::optional<uint64_t>& pos = labels_[label.index_];
  if (!pos) Misuse("label used but never bound");
  return *pos;
}

// ---- statements ----

ProgramWriter& ProgramWriter::OpenScope() { return RawOpcode(0); }

ProgramWriter& ProgramWriter::CloseScope() { return RawOpcode(1).Flag(false); }

ProgramWriter& ProgramWriter::CloseScopeAndJump(Jump to) {
  return RawOpcode(1).Flag(true).OffsetField(to);
}

ProgramWriter& ProgramWriter::Declare(int32_t kind, VarNum id) {
  if (kind < 0 || kind > 7) Misuse("a declared kind is 0 to 7");
  RawOpcode(3).Bits(static_cast<uint32_t>(kind), 3).StatementSkip().VarWidth(id);
  return Flag(false);
}

ProgramWriter& ProgramWriter::Declare(int32_t kind, VarNum id, VarNum count) {
  if (kind < 0 || kind > 7) Misuse("a declared kind is 0 to 7");
  RawOpcode(3).Bits(static_cast<uint32_t>(kind), 3).StatementSkip().VarWidth(id);
  return Flag(true).StatementSkip().VarWidth(count);
}

ProgramWriter& ProgramWriter::Assign(const Target& target, MathOp op, const Operand& operand) {
  RawOpcode(2).StatementSkip().StatementSkip().VarWidth(target.id);
  if (target.form == Target::Form::Element0) {
    Flag(false);
  } else {
    Flag(true).Flag(target.form == Target::Form::ImmediateIndex).StatementSkip();
    VarWidth(target.index);
  }
  Bits(static_cast<uint32_t>(op), 4);
  return WriteOperand(operand);
}

ProgramWriter& ProgramWriter::JumpUnless(Relation r, const Operand& a, const Operand& b, Jump to,
                                         uint32_t opcode) {
  if (opcode != 4 && opcode != 5) Misuse("a conditional jump is opcode 4 or 5");
  RawOpcode(opcode).Bits(static_cast<uint32_t>(r), 3);
  WriteOperand(a).WriteOperand(b);
  return OffsetField(to);
}

ProgramWriter& ProgramWriter::CloseScopesAndJump(VarNum n, Jump to, uint32_t opcode) {
  if (opcode != 9 && opcode != 10) Misuse("close scopes and jump is opcode 9 or 10");
  return RawOpcode(opcode).StatementSkip().VarWidth(n).OffsetField(to);
}

ProgramWriter& ProgramWriter::CallRoutine(Label routine, const std::vector<VarNum>& args) {
  return WriteCall(routine, 0, args, std::nullopt);
}

ProgramWriter& ProgramWriter::CallRoutine(Label routine, const std::vector<VarNum>& args,
                                          VarNum keyVar) {
  return WriteCall(routine, 0, args, keyVar);
}

ProgramWriter& ProgramWriter::CallRoutineAtBit(uint64_t startBit,
                                               const std::vector<VarNum>& args) {
  return WriteCall(std::nullopt, startBit, args, std::nullopt);
}

ProgramWriter& ProgramWriter::CallRoutineAtBit(uint64_t startBit, const std::vector<VarNum>& args,
                                               VarNum keyVar) {
  return WriteCall(std::nullopt, startBit, args, keyVar);
}

ProgramWriter& ProgramWriter::WriteCall(std::optional<Label> routine, uint64_t startBit,
                                        const std::vector<VarNum>& args,
                                        std::optional<VarNum> keyVar) {
  RawOpcode(6);
  if (routine) {
    PositionOf(*routine);
  } else {
    Bits(startBit, 64);
  }
  StatementSkip().WriteArgList(args).Flag(keyVar.has_value());
  if (keyVar) StatementSkip().VarWidth(*keyVar);
  return *this;
}

ProgramWriter& ProgramWriter::CallNative(VarNum index, const std::vector<VarNum>& args) {
  return RawOpcode(7).StatementSkip().VarWidth(index).StatementSkip().WriteArgList(args);
}

ProgramWriter& ProgramWriter::WriteArgList(const std::vector<VarNum>& args) {
  VarWidth(args.size());
  for (const VarNum& id : args) StatementSkip().VarWidth(id);
  return *this;
}

ProgramWriter& ProgramWriter::WriteOperand(const Operand& operand) {
  switch (operand.form) {
    case Operand::Form::Immediate:
      break;
    case Operand::Form::Variable:
      return Flag(false).StatementSkip().VarWidth(operand.id).Flag(false);
    case Operand::Form::VariableAtIndex:
    case Operand::Form::VariableAtIndexVar:
      Flag(false).StatementSkip().VarWidth(operand.id).Flag(true);
      Flag(operand.form == Operand::Form::VariableAtIndex).StatementSkip();
      return VarWidth(operand.index);
  }
  if (operand.kind < 0 || operand.kind > 7) Misuse("an immediate kind is 0 to 7");
  Flag(true).Bits(static_cast<uint32_t>(operand.kind), 3);
  if (operand.kindOnly) return *this;
  switch (operand.kind) {
    case kKindString:
      RawBytes(operand.text);
      return operand.terminated ? Bits(0, 8) : *this;
    case kKindInt:
    case kKindUInt32:
      return Bits(operand.payload & 0xFFFFFFFFu, 32);
    case kKindDouble:
    case kKindUInt64:
      return Bits(operand.payload, 64);
    default:
      return *this;  // kinds without a value field
  }
}

// ---- regions and output ----

ProgramWriter& ProgramWriter::BeginRegion(const ProgramKey& key) {
  AlignToByte();
  const uint64_t startByte = bitPos_ / 8;
  if (!regions_.empty() && regions_.back().startByte == startByte) {
    regions_.back().key = key;  // an empty region gives way to the one that follows
  } else {
    regions_.push_back({startByte, key});
  }
  return *this;
}

std::vector<uint8_t> ProgramWriter::Patched() const {
  std::vector<uint8_t> out = bytes_;
  for (const LabelFixup& f : fixups_) {
    const uint64_t target = LabelPosition(f.label);
    if (f.absolute) {
      PutBits(out, f.fieldPos, target, 64);
      continue;
    }
    const int64_t offset = static_cast<int64_t>(target) - static_cast<int64_t>(f.fieldPos + 32);
    if (offset < INT32_MIN || offset > INT32_MAX) Misuse("jump offset beyond 32 bits");
    PutBits(out, f.fieldPos, static_cast<uint32_t>(static_cast<int32_t>(offset)), 32);
  }
  return out;
}

std::vector<uint8_t> ProgramWriter::Enciphered(const ProgramKey* mainKey) const {
  std::vector<uint8_t> out = Patched();
  auto encipher = [&out](const ProgramKey& key, uint64_t from, uint64_t to) {
    const std::vector<uint8_t>& stream = GetCachedKeyStream(key.data())->stream;
    if (stream.size() != kStreamBytes) Misuse("key stream is not 65,536 bytes");
    for (uint64_t j = from; j < to; ++j) out[j] ^= stream[j % kStreamBytes];
  };
  const uint64_t size = out.size();
  const uint64_t mainEnd = regions_.empty() ? size : regions_.front().startByte;
  if (mainKey != nullptr) encipher(*mainKey, 0, mainEnd);
  for (size_t i = 0; i < regions_.size(); ++i) {
    const uint64_t end = i + 1 < regions_.size() ? regions_[i + 1].startByte : size;
    encipher(regions_[i].key, regions_[i].startByte, end);
  }
  return out;
}

std::vector<uint8_t> ProgramWriter::Finish(const ProgramKey& key) const {
  return Enciphered(&key);
}

std::vector<uint8_t> ProgramWriter::FinishUnkeyed() const { return Enciphered(nullptr); }

std::vector<uint8_t> ProgramWriter::Plain() const { return Patched(); }

}  // namespace testprog
