// Value::AssignValue: one element of any kind converted into one element of this Value's kind.
#include <charconv>

#include "foundation/FormatDouble.h"
#include "interpreter/values/DecimalText.h"
#include "interpreter/values/Value.h"
#include "interpreter/values/ValueConversions.h"

namespace {

constexpr const char* kUnsupported = "Value::AssignValue () - unsupported action.";

// The decimal text of n ("%ld", "%lu" or "%llu" by its type), NUL-terminated in buffer.
template <typename T>
const char* DecimalInto(char (&buffer)[128], T n) {
  *std::to_chars(buffer, buffer + sizeof buffer - 1, n).ptr = '\0';
  return buffer;
}

bool IsWordKind(int32_t k) { return k == kKindInt || k == kKindUInt32; }

bool IsConvertible(int32_t k) {
  return k == kKindString || k == kKindInt || k == kKindDouble || k == kKindUInt64 ||
         k == kKindUInt32;
}

// The refusal that a pair of kinds meets whatever the element holds, or null.
const char* PairRefusal(int32_t dst, int32_t src) {
  if (dst == kKindBarray) {
    return src == kKindBarray
               ? nullptr
               : "Value::AssignValue () - barray can only be assigned with another barray.";
  }
  if (src == kKindBarray) {
    switch (dst) {
      case kKindString:
        return "Value::AssignValue () - unable to convert varray to string.";
      case kKindInt:
        return "Value::AssignValue () - can't convert barray to int.";
      case kKindDouble:
        return "Value::AssignValue () - can't convert barray to double.";
      case kKindUInt64:
        return "Value::AssignValue () - can't convert barray to uint64.";
      case kKindUInt32:
        return "Value::AssignValue () - can't convert barray to uint32.";
      default:
        return kUnsupported;
    }
  }
  return IsConvertible(dst) && IsConvertible(src) ? nullptr : kUnsupported;
}

}  // namespace

bool Value::AssignValue(const Value& source, std::string* err, bool allowRef, uint32_t dstIdx,
                        uint32_t srcIdx) {
  auto fail = [err](const char* message) {
    if (err != nullptr) *err = message;
    return false;
  };
  if (!allowRef && (source.kind == kKindUnset || source.id != 0)) {
    return fail("Value::AssignValue() passed in value must be immediate.");
  }
  if (const char* refusal = PairRefusal(kind, source.kind)) return fail(refusal);
  // Elements outside either Value are refused; a string destination grows to the index.
  if ((kind != kKindString && !HasElement(dstIdx)) || !source.HasSourceElement(srcIdx)) {
    return false;
  }

  const int32_t src = source.kind;
  switch (kind) {
    case kKindString: {
      // SetString copies up to the first NUL, and copes with a text of this very Value.
      if (src == kKindString) return SetString(dstIdx, source.GetText(srcIdx).c_str());
      // Numbers are written into a buffer here, so that their texts take no allocation.
      char buffer[128];
      if (src == kKindInt) {
        return SetString(dstIdx,
                         DecimalInto(buffer, static_cast<int32_t>(source.GetWord(srcIdx))));
      }
      if (src == kKindUInt32) return SetString(dstIdx, DecimalInto(buffer, source.GetWord(srcIdx)));
      if (src == kKindUInt64) {
        return SetString(dstIdx, DecimalInto(buffer, source.GetUInt64(srcIdx)));
      }
      if (Zarnel::FormatDouble(source.GetDouble(srcIdx), buffer, 127) == 0) {
        return fail("Value::AssignValue () - unable to convert double to string.");
      }
      return SetString(dstIdx, buffer);
    }
    case kKindInt:
    case kKindUInt32: {
      uint32_t word = 0;
      if (IsWordKind(src)) {
        word = source.GetWord(srcIdx);
      } else if (src == kKindUInt64) {
        word = Low32(source.GetUInt64(srcIdx));
      } else if (src == kKindDouble) {
        const double v = source.GetDouble(srcIdx);
        word = kind == kKindInt ? TruncateToWord(v) : Low32(TruncateTo64(v));
      } else if (kind == kKindInt) {
        int32_t parsed = 0;
        if (!ParseInt32Text(source.GetText(srcIdx).c_str(), parsed)) {
          return fail("Value::AssignValue () - problem converting string to int.");
        }
        word = static_cast<uint32_t>(parsed);
      } else if (!ParseUInt32Text(source.GetText(srcIdx).c_str(), word)) {
        return fail("Value::AssignValue () - problem converting string to uint32.");
      }
      return SetInt32(dstIdx, word);
    }
    case kKindDouble: {
      double v = 0.0;
      if (IsWordKind(src)) {
        v = WordToDouble(source.GetWord(srcIdx));
      } else if (src == kKindUInt64) {
        v = UInt64ToDouble(source.GetUInt64(srcIdx));
      } else if (src == kKindDouble) {
        v = source.GetDouble(srcIdx);
      } else if (!ParseDoubleText(source.GetText(srcIdx).c_str(), v)) {
        return fail("Value::AssignValue () - problem converting string to double.");
      }
      return SetDouble(dstIdx, v);
    }
    case kKindUInt64: {
      uint64_t v = 0;
      if (IsWordKind(src)) {
        v = SignExtend(source.GetWord(srcIdx));
      } else if (src == kKindUInt64) {
        v = source.GetUInt64(srcIdx);
      } else if (src == kKindDouble) {
        v = DoubleToUInt64(source.GetDouble(srcIdx));
      } else if (!ParseUInt64Text(source.GetText(srcIdx).c_str(), v)) {
        return fail("Value::AssignValue () - problem converting string to uint64.");
      }
      return SetUInt64(dstIdx, v);
    }
    case kKindBarray:
      return SetByteArray(dstIdx, source.GetBytes(srcIdx));
    default:
      return fail(kUnsupported);
  }
}
