#pragma once
// Builds interpreter programs statement by statement, in the exact bit encoding, and
// enciphers them. Tests read like the program they build:
//
//   ProgramWriter w;
//   Label loop = w.NewLabel();
//   w.OpenScope().Declare(kKindInt, 1).Bind(loop)
//    .Assign(Target(1), MathOp::Add, Imm::Int(1))
//    .JumpUnless(Relation::GreaterEqual, Opnd::Var(1), Imm::Int(10), loop)
//    .CloseScope();
//   std::vector<uint8_t> bytes = w.Finish(key);
//
// Bits are written least significant first, byte 0 first. Every misuse (a value that does
// not fit its field, an unbound label, an offset out of 32-bit range) throws
// std::invalid_argument, so a broken test program never goes out silently.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "interpreter/keys/KeyStream.h"
#include "interpreter/program/Opcodes.h"
#include "interpreter/values/Value.h"
#include "programwriter/ProgramOperands.h"

namespace testprog {

class ProgramWriter {
 public:
  // ---- raw fields ----

  // n bits of value (n = 1 to 64), least significant first; value must fit in n bits.
  ProgramWriter& Bits(uint64_t value, unsigned n);
  ProgramWriter& Flag(bool set);
  // A bit the reader passes over; 0 unless asked otherwise.
  ProgramWriter& Skip(bool bit = false);
  // A 3-bit width code, then value in that many bits (8,12,16,24,32,48,56,63 for 0..7).
  ProgramWriter& WidthCoded(uint64_t value, unsigned widthCode);
  ProgramWriter& VarWidth(VarNum n);
  // Whole bytes, 8 bits each, at the current (possibly unaligned) position.
  ProgramWriter& RawBytes(std::span<const uint8_t> bytes);
  ProgramWriter& RawBytes(std::string_view bytes);
  ProgramWriter& RawOpcode(uint32_t opcode);  // 4 bits, any of 0..15
  // 32-bit signed offset to the label (patched at Finish), counted from the field's end.
  ProgramWriter& OffsetTo(Label label);
  ProgramWriter& OffsetField(Jump to);
  // 64-bit absolute bit position of the label (patched at Finish).
  ProgramWriter& PositionOf(Label label);
  // Zero bits up to the next byte boundary (none when already there).
  ProgramWriter& AlignToByte();

  // The bit the next field starts at.
  uint64_t Position() const { return bitPos_; }

  // The value that skip bits inside statements are written with (default 0).
  ProgramWriter& SetStatementSkipBit(bool bit) {
    statementSkipBit_ = bit;
    return *this;
  }

  // ---- labels ----

  Label NewLabel();
  ProgramWriter& Bind(Label label);  // at the current position; a label is bound once
  Label Here();                      // a new label bound at the current position
  uint64_t LabelPosition(Label label) const;

  // ---- statements ----

  ProgramWriter& OpenScope();
  ProgramWriter& CloseScope();                // flag F clear
  ProgramWriter& CloseScopeAndJump(Jump to);  // flag F set, offset
  // Kind (3 bits, 0..7), skip, id; flag C clear (count 1) or set with the count.
  ProgramWriter& Declare(int32_t kind, VarNum id);
  ProgramWriter& Declare(int32_t kind, VarNum id, VarNum count);
  ProgramWriter& Assign(const Target& target, MathOp op, const Operand& operand);
  // Opcode 4 (or 5): the jump is taken when the relation does NOT hold.
  ProgramWriter& JumpUnless(Relation r, const Operand& a, const Operand& b, Jump to,
                            uint32_t opcode = 4);
  // Opcode 9 (or 10): close the n innermost scopes, then jump.
  ProgramWriter& CloseScopesAndJump(VarNum n, Jump to, uint32_t opcode = 9);
  ProgramWriter& CallRoutine(Label routine, const std::vector<VarNum>& args);
  ProgramWriter& CallRoutine(Label routine, const std::vector<VarNum>& args, VarNum keyVar);
  ProgramWriter& CallRoutineAtBit(uint64_t startBit, const std::vector<VarNum>& args);
  ProgramWriter& CallRoutineAtBit(uint64_t startBit, const std::vector<VarNum>& args,
                                  VarNum keyVar);
  ProgramWriter& CallNative(VarNum index, const std::vector<VarNum>& args);

  // An operand on its own, in the shared operand encoding (for hand-built statements).
  ProgramWriter& WriteOperand(const Operand& operand);

  // ---- regions and output ----

  // Aligns to a byte; from here on (until the next region) bytes are enciphered with key,
  // at their absolute positions. This is how a routine under its own key is laid out.
  ProgramWriter& BeginRegion(const ProgramKey& key);

  // The program bytes, the last byte padded with zero bits: before the first region
  // enciphered with key, each region with its own key.
  std::vector<uint8_t> Finish(const ProgramKey& key) const;
  // As Finish, with the bytes before the first region left plain (a context with no key
  // stream reads them as they stand).
  std::vector<uint8_t> FinishUnkeyed() const;
  // Every byte plain, regions too.
  std::vector<uint8_t> Plain() const;
  // Bit length of the finished program: its byte count times 8.
  uint64_t FinishedBitLength() const { return (bitPos_ + 7) / 8 * 8; }

 private:
  struct LabelFixup {
    uint64_t fieldPos;
    Label label;
    bool absolute;  // 64-bit position, else 32-bit offset from the field's end
  };
  struct Region {
    uint64_t startByte;
    ProgramKey key;
  };

  void PutBitsAt(uint64_t pos, uint64_t value, unsigned n);
  void CheckLabel(Label label) const;
  ProgramWriter& StatementSkip() { return Skip(statementSkipBit_); }
  ProgramWriter& WriteCall(std::optional<Label> routine, uint64_t startBit,
                           const std::vector<VarNum>& args, std::optional<VarNum> keyVar);
  ProgramWriter& WriteArgList(const std::vector<VarNum>& args);
  std::vector<uint8_t> Patched() const;
  std::vector<uint8_t> Enciphered(const ProgramKey* mainKey) const;

  std::vector<uint8_t> bytes_;
  uint64_t bitPos_ = 0;
  bool statementSkipBit_ = false;
  std::vector<std::optional<uint64_t>> labels_;
  std::vector<LabelFixup> fixups_;
  std::vector<Region> regions_;
};

// Routine keys as a routine call derives them from its key variable's element 0.
ProgramKey RoutineKeyForText(std::string_view text);
ProgramKey RoutineKeyForInt32(int32_t v);
ProgramKey RoutineKeyForDouble(double v);
ProgramKey RoutineKeyForBytes(std::span<const uint8_t> bytes);
ProgramKey RoutineKeyForUInt64(uint64_t v);
// No key variable, or one of kind uint32 (or 6, 7).
inline constexpr ProgramKey kZeroKey{};

}  // namespace testprog
