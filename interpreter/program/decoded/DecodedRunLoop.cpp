// The run of decoded statements: short paths for uint64 and double numbers, else one
// dispatch over the opcode table, as the step-by-step run makes, with the end tests after each
// statement. A statement that has no decoded form (it does not decode completely, or the
// memory bound is reached) is run step by step.
#include <bit>

#include "interpreter/program/Comparison.h"
#include "interpreter/program/Operand.h"
#include "interpreter/program/ProgramContext.h"
#include "interpreter/program/RunBudget.h"
#include "interpreter/program/decoded/DecodedProgram.h"
#include "interpreter/values/ElementArithmetic.h"
#include "interpreter/values/ValueConversions.h"

// The statements that compute live here with the loop, so that they are compiled into it.

namespace {

// The operand element index that element 0 of an index variable gives: converted to uint64
// as an assignment converts it. Numbers are read in place; anything else takes the general
// conversion, which may refuse it.
[[gnu::always_inline]] inline bool IndexFrom(const Value& indexVariable, uint64_t& index) {
  const uint32_t width = Value::ElementWidth(indexVariable.kind);
  const uint8_t* element = indexVariable.HeldNumeric(0, width);
  if (width != 0 && indexVariable.count >= 1 &&
      (element != nullptr || !indexVariable.HasStorage())) {
    if (indexVariable.kind == kKindInt || indexVariable.kind == kKindUInt32) {
      index = SignExtend(element != nullptr ? LoadLE32(element) : 0);
    } else {
      const uint64_t bits = element != nullptr ? LoadLE64(element) : 0;
      index =
          indexVariable.kind == kKindUInt64 ? bits : DoubleToUInt64(std::bit_cast<double>(bits));
    }
    return true;
  }
  Value wide;
  wide.kind = kKindUInt64;
  if (!wide.AssignValue(indexVariable, nullptr, true, 0, 0)) return false;
  index = wide.GetUInt64(0);
  return true;
}

// A double element combined with a double by an operation that takes doubles (multiply,
// divide, add, subtract, assign): what ComputeInPlace and AssignNumberInPlace make of it, with
// both kinds known. An assignment copies the bits as they stand.
[[gnu::always_inline]] inline void DoubleInPlace(uint8_t* dst, MathOp code, uint64_t source) {
  const double d = std::bit_cast<double>(LoadLE64(dst));
  const double v = std::bit_cast<double>(source);
  if (code == MathOp::Add) {  // summing, ahead of the other operations
    StoreLE64(dst, std::bit_cast<uint64_t>(d + v));
  } else if (code == MathOp::Assign) {
    StoreLE64(dst, source);
  } else {
    StoreLE64(dst, std::bit_cast<uint64_t>(element_arithmetic::InDouble(code, d, v)));
  }
}

// A uint64 element combined with a uint64: what ComputeInPlace and AssignNumberInPlace make of
// it, with both kinds known.
[[gnu::always_inline]] inline bool UInt64InPlace(uint8_t* dst, MathOp code, uint64_t source) {
  uint64_t result = source;
  if (code == MathOp::Add) {  // counting and summing, ahead of the other operations
    StoreLE64(dst, LoadLE64(dst) + source);
    return true;
  }
  if (code != MathOp::Assign &&
      !element_arithmetic::ComputeUInt64(code, LoadLE64(dst),
                                         {kKindUInt64, 0, source, std::bit_cast<double>(source)},
                                         result)) {
    return false;
  }
  StoreLE64(dst, result);
  return true;
}

// The math-op code of an assignment, read where it is used rather than for every statement.
[[gnu::always_inline]] inline MathOp OpOf(const DecodedStatement& s) {
  return static_cast<MathOp>(s.code);
}

// The numeric immediate operand of s as the element computations take it.
[[gnu::always_inline]] inline element_arithmetic::SourceElement NumberOf(
    const DecodedStatement& s) {
  return {s.numberKind, static_cast<uint32_t>(s.number), s.number,
          std::bit_cast<double>(s.number)};
}

}  // namespace

void ProgramContext::LookUpVariables(DecodedStatement& s) {
  if (s.subjectForm != OperandForm::Immediate) s.subject = FindValue(s.SubjectId());
  if (s.operandForm != OperandForm::Immediate) s.operand = FindValue(s.OperandId());
  if (StatementExtras* extras = s.Extras(); extras != nullptr) {
    if (s.subjectForm == OperandForm::ElementByVariable) {
      extras->indexes[0].value = FindValue(extras->indexes[0].id);
    }
    if (s.operandForm == OperandForm::ElementByVariable) {
      extras->indexes[1].value = FindValue(extras->indexes[1].id);
    }
  }
  s.epoch = scopeEpoch_;
}

[[gnu::always_inline]] inline const Value* ProgramContext::ElementOperand(DecodedStatement& s,
                                                                          size_t place,
                                                                          uint32_t& element) {
  const Value* variable = place == 0 ? s.subject : s.operand;
  if (variable == nullptr) return nullptr;
  uint64_t index = place == 0 ? s.subjectElement : s.operandElement;
  if ((place == 0 ? s.subjectForm : s.operandForm) == OperandForm::ElementByVariable) {
    const Value* indexVariable = s.Extras()->indexes[place].value;
    if (indexVariable == nullptr || !IndexFrom(*indexVariable, index)) return nullptr;
  }
  return ElementWithin(*variable, index, element) ? variable : nullptr;
}

// place 0: a conditional jump's A; place 1: the operand of an assignment or a jump's B.
[[gnu::always_inline]] inline const Value* ProgramContext::OperandValue(DecodedStatement& s,
                                                                        size_t place,
                                                                        Value& scratch) {
  const OperandForm form = place == 0 ? s.subjectForm : s.operandForm;
  if (form == OperandForm::Immediate) {
    if (place == 1 && s.numberKind != kKindString) {
      SetImmediate(scratch, s.numberKind, s.number);
      return &scratch;
    }
    return &s.Extras()->immediates[place];
  }
  if (form == OperandForm::Variable) return place == 0 ? s.subject : s.operand;
  uint32_t element;
  const Value* variable = ElementOperand(s, place, element);
  if (variable == nullptr) return nullptr;
  CopyElementOf(*variable, element, scratch);
  return &scratch;
}

[[gnu::always_inline]] inline bool ProgramContext::Assignment(DecodedStatement& s) {
  Resolve(s);
  Value* target = s.subject;
  if (target == nullptr) return false;
  if (s.shape != StatementShape::General) {
    // A number held in place on both sides: what the general path below computes, without
    // its checks, which such values pass. An assignment converts as AssignValue does.
    const MathOp code = static_cast<MathOp>(s.code);
    uint8_t* dst = target->HeldNumeric(s.subjectElement, Value::ElementWidth(target->kind));
    if (s.shape == StatementShape::NumberIntoElement || s.shape == StatementShape::UInt64ByNumber ||
        s.shape == StatementShape::DoubleByNumber) {
      const element_arithmetic::SourceElement number = NumberOf(s);
      if (dst != nullptr && code == MathOp::Assign) {
        AssignNumberInPlace(target->kind, dst, number);
        return true;
      }
      if (dst != nullptr && element_arithmetic::AcceptsKinds(code, target->kind, number.kind)) {
        return ComputeInPlace(target->kind, dst, code, number);
      }
    } else if (const Value* source = s.operand;
               dst != nullptr && source != nullptr && source->count == 1) {
      const uint32_t width = Value::ElementWidth(source->kind);
      const uint8_t* src = source->HeldNumeric(0, width);
      if (width != 0 && (src != nullptr || !source->HasStorage())) {
        element_arithmetic::SourceElement element{source->kind, 0, 0, 0.0};
        if (src != nullptr && width == 4) element.word = LoadLE32(src);
        if (src != nullptr && width == 8) element.wide = LoadLE64(src);
        element.real = std::bit_cast<double>(element.wide);
        if (code == MathOp::Assign) {
          AssignNumberInPlace(target->kind, dst, element);
          return true;
        }
        if (element_arithmetic::AcceptsKinds(code, target->kind, source->kind)) {
          return ComputeInPlace(target->kind, dst, code, element);
        }
      }
    }
  }
  uint32_t targetIndex = s.subjectElement;
  if (s.subjectForm == OperandForm::ElementByVariable) {
    const Value* indexVariable = s.Extras()->indexes[0].value;
    if (indexVariable == nullptr || !TargetIndexFrom(*indexVariable, targetIndex)) return false;
  }

  if (s.code == static_cast<uint8_t>(MathOp::Assign) &&
      (s.operandForm == OperandForm::Element ||
       s.operandForm == OperandForm::ElementByVariable)) {
    uint32_t element;
    const Value* variable = ElementOperand(s, 1, element);
    if (variable == nullptr) return false;
    // Both refuse a target element past the target's elements, as the check below does.
    if (variable->kind == kKindString || variable->kind == kKindBarray) {
      return AssignTextOrBytes(*target, targetIndex, *variable, element);
    }
  }
  ScratchRelease release(operandScratch_[0]);
  const Value* source = OperandValue(s, 1, operandScratch_[0]);
  if (source == nullptr) return false;

  // A string target may grow its list of texts to hold the index; other kinds may not.
  if (target->kind != kKindString && targetIndex >= target->count) return false;
  if (s.operandForm == OperandForm::Variable && source->count > 1) return false;
  return PerformMathOpInPlace(*target, s.code, *source, s.operandForm != OperandForm::Immediate,
                              targetIndex);
}

[[gnu::always_inline]] inline bool ProgramContext::ConditionalJump(DecodedStatement& s,
                                                                   bool& holds) {
  Resolve(s);
  if (s.shape == StatementShape::VariableAgainstNumber ||
      s.shape == StatementShape::UInt64AgainstNumber ||
      s.shape == StatementShape::DoubleAgainstNumber) {
    const Value* a = s.subject;
    if (a != nullptr && Comparable(a->kind)) {
      holds = RelationHolds(static_cast<Relation>(s.code), comparison::NumberOf(*a),
                            comparison::ComparedNumber{s.numberKind, s.number});
      return true;
    }
  }
  ScratchRelease releaseA(operandScratch_[0]);
  ScratchRelease releaseB(operandScratch_[1]);
  const Value* a = OperandValue(s, 0, operandScratch_[0]);
  if (a == nullptr) return false;
  const Value* b = OperandValue(s, 1, operandScratch_[1]);
  if (b == nullptr || !Comparable(a->kind) || !Comparable(b->kind)) return false;
  holds = RelationHolds(static_cast<Relation>(s.code), *a, *b);
  return true;
}

// The uint64 and double shapes when their variables turn out to be numbers of the shape's kind:
// true when s ran (and succeeded), false when s must take its statement's path.
[[gnu::always_inline]] inline bool ProgramContext::NumberStatement(DecodedStatement& s,
                                                                   bool& jumped) {
  switch (s.shape) {
    case StatementShape::UInt64ByNumber: {
      Resolve(s);
      const Value* target = s.subject;
      if (target == nullptr || !target->HoldsWide(kKindUInt64, s.subjectElement)) return false;
      return UInt64InPlace(target->WideAt(s.subjectElement), OpOf(s), s.number);
    }
    case StatementShape::DoubleByNumber: {
      Resolve(s);
      const Value* target = s.subject;
      if (target == nullptr || !target->HoldsWide(kKindDouble, s.subjectElement)) return false;
      DoubleInPlace(target->WideAt(s.subjectElement), OpOf(s), s.number);
      return true;
    }
    case StatementShape::VariableIntoElement: {
      Resolve(s);
      const Value* target = s.subject;
      const Value* source = s.operand;
      if (target == nullptr || source == nullptr || source->count != 1) return false;
      if (target->HoldsWide(kKindUInt64, s.subjectElement)) {
        return source->HoldsWide(kKindUInt64, 0) && UInt64InPlace(target->WideAt(s.subjectElement),
                                                                   OpOf(s),
                                                                   LoadLE64(source->WideAt(0)));
      }
      // The shape holds only the operations that compute, of which these take doubles.
      if (!target->HoldsWide(kKindDouble, s.subjectElement) || !source->HoldsWide(kKindDouble, 0) ||
          !element_arithmetic::AcceptsKinds(OpOf(s), kKindDouble, kKindDouble)) {
        return false;
      }
      DoubleInPlace(target->WideAt(s.subjectElement), OpOf(s), LoadLE64(source->WideAt(0)));
      return true;
    }
    case StatementShape::UInt64AgainstNumber: {
      Resolve(s);
      const Value* a = s.subject;
      if (a == nullptr || a->kind != kKindUInt64) return false;
      const uint64_t value = a->HoldsWide(kKindUInt64, 0) ? LoadLE64(a->WideAt(0)) : 0;
      // The jump is taken when the relation does not hold.
      jumped = !comparison::HoldsOrdered(s.orderedOutcomes, value, s.number);
      return true;
    }
    case StatementShape::DoubleAgainstNumber: {
      Resolve(s);
      const Value* a = s.subject;
      if (a == nullptr || a->kind != kKindDouble) return false;
      const double value =
          a->HoldsWide(kKindDouble, 0) ? std::bit_cast<double>(LoadLE64(a->WideAt(0))) : 0.0;
      jumped = !comparison::Holds(static_cast<Relation>(s.code), value,
                                  std::bit_cast<double>(s.number));
      return true;
    }
    default:
      return false;
  }
}

// The statement to run after s. pos follows only where no decoded statement may stand: a
// statement stored right after s is taken without it.
[[gnu::always_inline]] inline DecodedStatement* ProgramContext::Following(
    DecodedStatements& statements, DecodedStatement& s, bool jumped, uint64_t& pos) {
  if (jumped) {
    pos = s.Target();
    if (s.targetStatement == nullptr) s.targetStatement = statements.At(*this, pos);
    return s.targetStatement;
  }
  // Decoded one after the other: the address is known without a load, so the processor can
  // run ahead into the next statement.
  if (s.nextIsAdjacent) return &s + 1;
  pos = s.Next();
  if (s.nextStatement == nullptr) {
    s.nextStatement = statements.At(*this, pos);
    s.nextIsAdjacent = s.nextStatement == &s + 1;
  }
  return s.nextStatement;
}

// Starts on a 64-byte boundary, so that where its hot loops fall does not move with the size
// of unrelated code linked before it (a shift of 32 bytes cost the counting loop a tenth).
[[gnu::aligned(64)]] bool ProgramContext::RunDecoded(const std::vector<Value*>& callerValues,
                                                     uint64_t pos) {
  DecodedStatements& statements = StatementsOfRun();
  DecodedStatement* s = FirstStatementOfRun(statements, pos);
  for (;;) {
    if (s == nullptr) [[unlikely]] {
      const StepEnd end = StepToDecoded(statements, callerValues, pos, s);
      if (end != StepEnd::Next) return end == StepEnd::RunEnds;
    }
    if (!SpendStatementBudget()) return false;

    bool jumped = false;  // the statement goes on at its target rather than after its fields
    // A number statement found its variables, so a scope is open, and it closed none.
    bool scopesTested = false;
    if (!NumberStatement(*s, jumped)) {
      scopesTested = true;
      switch (s->opcode) {
        case Opcode::OpenScope:
          OpenScope();
          break;
        case Opcode::CloseScope:
          if (!CloseScopeAfterFields(callerValues)) return false;
          jumped = s->jumps;
          break;
        case Opcode::Assign:
          if (!Assignment(*s)) return false;
          break;
        case Opcode::Declare:
          if (!Declaration(callerValues, *s)) return false;
          break;
        case Opcode::JumpUnless:
        case Opcode::JumpUnlessToo: {
          bool holds;
          if (!ConditionalJump(*s, holds)) return false;
          jumped = !holds;
          break;
        }
        case Opcode::CallRoutine:
          if (!RoutineCall(*s)) return false;
          break;
        case Opcode::CallNative:
          if (!NativeCall(*s)) return false;
          break;
        case Opcode::CloseScopesAndJump:
        case Opcode::CloseScopesAndJumpToo:
          // A program may close all its scopes here and go on: no test for open scopes.
          CloseCountedScopes(s->number);
          jumped = true;
          scopesTested = false;
          break;
        default:  // never decoded
          return false;
      }
    }
    if (scopesTested && scopeCounts.empty()) return true;
    // A statement is linked to the one after it only once that lies before the program's end.
    if (!jumped && s->nextIsAdjacent) {
      ++s;
      continue;
    }
    if (jumped && s->targetStatement != nullptr) {
      s = s->targetStatement;
      continue;
    }
    if (jumped ? s->targetEnds : s->nextEnds) return true;
    s = Following(statements, *s, jumped, pos);
  }
}
