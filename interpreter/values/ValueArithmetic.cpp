// Value::PerformMathOp: element dstIdx of this Value combined in place with the one element of
// a source. The destination's kind decides the width and signedness of the computation.
#include "interpreter/values/ElementArithmetic.h"

using namespace element_arithmetic;

bool Value::PerformMathOp(const uint32_t& op, const Value& source, std::string& err,
                          bool allowRef, uint32_t dstIdx) {
  if (source.count > 1) return false;
  if (!allowRef && (source.kind == kKindUnset || source.id != 0)) {
    err = "Value::PerformMathOp() passed in value must be immediate.";
    return false;
  }
  if (op > static_cast<uint32_t>(MathOp::Assign) || op == static_cast<uint32_t>(MathOp::None)) {
    return false;
  }
  const MathOp code = static_cast<MathOp>(op);
  if (code == MathOp::Assign) return AssignValue(source, &err, true, dstIdx, 0);
  if (!AcceptsKinds(code, kind, source.kind)) return false;
  // Neither side is read or written outside its elements; a source of count 0 has none.
  if (!HasElement(dstIdx) || !source.HasElement(0)) return false;

  const SourceElement s{source.kind, source.GetWord(0), source.GetUInt64(0), source.GetDouble(0)};
  if (IsWordKind(kind)) {
    uint32_t result = 0;
    return ComputeWord(code, kind, GetWord(dstIdx), s, result) && SetInt32(dstIdx, result);
  }
  if (kind == kKindUInt64) {
    uint64_t result = 0;
    return ComputeUInt64(code, GetUInt64(dstIdx), s, result) && SetUInt64(dstIdx, result);
  }
  return SetDouble(dstIdx, ComputeDouble(code, GetDouble(dstIdx), s));
}

bool PerformMathOpQuietly(Value& target, uint32_t op, const Value& source, bool allowRef,
                          uint32_t dstIdx) {
  std::string err;  // the statements show no message
  return target.PerformMathOp(op, source, err, allowRef, dstIdx);
}
