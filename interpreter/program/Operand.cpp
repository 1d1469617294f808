// The operand encoding shared by assignments and conditional jumps: flag C, then either an
// immediate (kind and value) or a variable reference with an optional element index.
#include "interpreter/program/Operand.h"

#include <bit>
#include <string>

#include "interpreter/program/ProgramContext.h"

namespace {

// A string immediate is read into at most this many bytes; without a 0 byte among them the
// text keeps all but the last.
constexpr uint32_t kStringImmediateBytes = 2048;

}  // namespace

Value& RetypeScratch(Value& scratch, int32_t kind) {
  if (scratch.kind != kind) {
    scratch.Clear();
    scratch.kind = kind;
  }
  return scratch;
}

void SetImmediate(Value& scratch, int32_t kind, uint64_t bits) {
  RetypeScratch(scratch, kind);
  if (kind == kKindDouble) {
    scratch.SetDouble(0, std::bit_cast<double>(bits));
  } else if (kind == kKindUInt64) {
    scratch.SetUInt64(0, bits);
  } else {
    scratch.SetInt32(0, static_cast<uint32_t>(bits));
  }
}

bool ElementWithin(const Value& variable, uint64_t index, uint32_t& element) {
  element = static_cast<uint32_t>(index);
  const uint64_t elements = variable.kind == kKindString && variable.HasStorage()
                                ? variable.TextCount()
                                : uint64_t{variable.count};
  return element < elements;
}

void CopyElementOf(const Value& variable, uint32_t element, Value& scratch) {
  // The copy's conversion cannot fail for a kind that the statements accept; for any other
  // kind the statement refuses the operand itself.
  RetypeScratch(scratch, variable.kind).AssignValue(variable, nullptr, true, 0, element);
}

bool CopyElement(const Value& variable, uint64_t index, Value& scratch) {
  uint32_t element;
  if (!ElementWithin(variable, index, element)) return false;
  CopyElementOf(variable, element, scratch);
  return true;
}

bool AssignTextOrBytes(Value& target, uint32_t targetIndex, const Value& variable,
                       uint32_t element) {
  if (variable.kind == kKindString) {
    // A copy holds the text up to its first NUL, which is all that AssignValue takes of it;
    // into a text, that is all there is to do.
    if (target.kind == kKindString) {
      return target.SetString(targetIndex, variable.GetText(element).c_str());
    }
    return target.AssignValue(variable, nullptr, true, targetIndex, element);
  }
  // A byte array that the variable does not hold would be copied as an empty one, which is
  // what GetBytes reads; SetByteArray refuses a target of another kind, as AssignValue does.
  return target.SetByteArray(targetIndex, variable.GetBytes(element));
}

// The target element index held in element 0 of an index variable, read as a 32-bit word.
// A string or barray holds no such word, and the statement fails.
bool TargetIndexFrom(const Value& indexVariable, uint32_t& index) {
  switch (indexVariable.kind) {
    case kKindInt:
    case kKindUInt32:
      index = indexVariable.GetWord(0);
      return true;
    case kKindUInt64:
      index = static_cast<uint32_t>(indexVariable.GetUInt64(0));
      return true;
    case kKindDouble:
      index = static_cast<uint32_t>(std::bit_cast<uint64_t>(indexVariable.GetDouble(0)));
      return true;
    case kKindString:
    case kKindBarray:
      return false;
    default:  // kinds that never hold data read as 0
      index = 0;
      return true;
  }
}

bool ProgramContext::ReadOperand(uint64_t& pos, StatementOperand& operand, Value& scratch) {
  uint64_t immediate;
  if (!ReadBits(pos, 1, immediate)) return false;

  if (immediate != 0) {
    if (pos >= bitLength || bitLength - pos < 4) return false;
    uint64_t kind;
    if (!ReadBits(pos, 3, kind)) return false;
    uint64_t bits;
    switch (static_cast<int32_t>(kind)) {
      case kKindString: {
        std::string text;
        bool terminated = false;
        for (uint32_t i = 0; i < kStringImmediateBytes; ++i) {
          if (!ReadBits(pos, 8, bits)) return false;
          if (bits == 0) {
            terminated = true;
            break;
          }
          text.push_back(static_cast<char>(bits));
        }
        if (!terminated) text.pop_back();
        RetypeScratch(scratch, kKindString).SetString(0, text.c_str());
        break;
      }
      case kKindInt:
      case kKindUInt32:
        if (!ReadBits(pos, 32, bits)) return false;
        SetImmediate(scratch, static_cast<int32_t>(kind), bits);
        break;
      case kKindDouble:
      case kKindUInt64:
        if (!ReadBits(pos, 64, bits)) return false;
        SetImmediate(scratch, static_cast<int32_t>(kind), bits);
        break;
      default:  // no byte-array immediate; 6 and 7 name no kind
        return false;
    }
    operand.value = &scratch;
    operand.immediate = true;
    return true;
  }

  pos += 1;  // skip bit
  uint64_t id;
  if (!ReadVarWidth(pos, id)) return false;
  Value* variable = FindValue(id);
  if (variable == nullptr) return false;
  uint64_t elementGiven;
  if (!ReadBits(pos, 1, elementGiven)) return false;
  if (elementGiven == 0) {
    operand.value = variable;
    return true;
  }

  bool indexImmediate;
  uint64_t index;
  if (!ReadElementIndex(pos, indexImmediate, index)) return false;
  if (!indexImmediate) {
    const Value* indexVariable = FindValue(index);
    if (indexVariable == nullptr) return false;
    Value wide;
    wide.kind = kKindUInt64;
    if (!wide.AssignValue(*indexVariable, nullptr, true, 0, 0)) return false;
    index = wide.GetUInt64(0);
  }
  if (!CopyElement(*variable, index, scratch)) return false;
  operand.value = &scratch;
  operand.elementGiven = true;
  return true;
}
