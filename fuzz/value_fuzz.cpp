// Drives Value's conversions, arithmetic, copies, setters and storage, and the natives over
// Values, with any kind (the unset kind and codes 6 and 7 included), count, index and bytes.
// Each input is a script of steps over four Values (see ValueScript.h).
#include <bit>
#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/ValueScript.h"
#include "interpreter/natives/NativeArgs.h"
#include "interpreter/natives/Natives.h"
#include "interpreter/program/RunBudget.h"
#include "interpreter/values/Value.h"

namespace {

using valuescript::Reader;
using valuescript::Step;

// HashBytes chains of up to a million hashes; no time-lock pad (the program target runs them).
constexpr uint64_t kStatementBudget = 0;
constexpr uint64_t kHashBudget = 1'000'000;
constexpr uint32_t kMaxInlineElements = 64;

std::string ReadText(Reader& in) {
  std::string text(in.Byte() % 64, '\0');
  for (char& c : text) c = static_cast<char>(in.Byte());
  return text;
}

void SetElement(Value& v, Reader& in) {
  const uint8_t setter = in.Byte() % 5;
  const uint32_t index = in.Small(8);
  switch (setter) {
    case 0:
      v.SetDouble(index, std::bit_cast<double>(in.U64()));
      break;
    case 1:
      v.SetInt32(index, in.U32());
      break;
    case 2:
      v.SetUInt64(index, in.U64());
      break;
    case 3:
      v.SetString(index, ReadText(in).c_str());
      break;
    default: {
      const std::string bytes = ReadText(in);
      v.SetByteArray(index, ByteArray(bytes.begin(), bytes.end()));
    }
  }
}

template <typename T>
std::vector<T> ReadElements(Reader& in, uint32_t n) {
  std::vector<T> elements(n);
  for (T& e : elements) e = static_cast<T>(in.U64());
  return elements;
}

void AssignArray(Value& v, Reader& in) {
  const int32_t kind = in.Byte() % 6;
  const uint32_t n = in.Count(16);
  const bool withSource = (in.Byte() & 1) != 0 && n <= kMaxInlineElements;
  switch (kind) {
    case kKindString:
      v.AssignStringArray(n, nullptr);
      break;
    case kKindBarray:
      v.AssignByteArrays(n, nullptr);
      break;
    case kKindInt: {
      const auto source = withSource ? ReadElements<int32_t>(in, n) : std::vector<int32_t>();
      v.AssignIntArray(n, withSource ? source.data() : nullptr);
      break;
    }
    case kKindDouble: {
      const auto bits = withSource ? ReadElements<uint64_t>(in, n) : std::vector<uint64_t>();
      std::vector<double> source;
      for (uint64_t b : bits) source.push_back(std::bit_cast<double>(b));
      v.AssignDoubleArray(n, withSource ? source.data() : nullptr);
      break;
    }
    case kKindUInt64: {
      const auto source = withSource ? ReadElements<uint64_t>(in, n) : std::vector<uint64_t>();
      v.AssignUInt64Array(n, withSource ? source.data() : nullptr);
      break;
    }
    default: {
      const auto source = withSource ? ReadElements<uint32_t>(in, n) : std::vector<uint32_t>();
      v.AssignUInt32Array(n, withSource ? source.data() : nullptr);
    }
  }
}

void UseStorage(Value& v, Reader& in) {
  switch (in.Byte() % 4) {
    case 0:
      v.Clear();
      break;
    case 1:
      v.EnsureStorage();
      break;
    case 2:
      v.GetOrAllocData();
      break;
    default:
      v.GetByteArray().push_back(in.Byte());
  }
}

// Every reader, and the first and last byte of numeric storage.
uint64_t ReadAll(const Value& v, Reader& in) {
  const uint32_t index = in.Small(8);
  uint64_t sum = v.GetWord(index) + v.GetUInt64(index) + v.TextCount();
  const double d = v.GetDouble(index);
  sum += std::bit_cast<uint64_t>(d);
  sum += v.GetText(index).size() + v.GetBytes(index).size();
  const uint64_t bytes = v.StorageBytes();
  if (const uint8_t* p = v.NumericBytes(); p != nullptr && bytes != 0) sum += p[0] + p[bytes - 1];
  return sum;
}

void CallNative(Value* slots, Reader& in) {
  const uint32_t native = in.Byte() % kNativeCount;
  // Up to eleven, so that the list's ordered insertion goes past its short-list path.
  const uint32_t argumentCount = in.Byte() % 12;
  // Flagged and detached as the native call statement does.
  NativeArgs args(NativeArgs::OwnsValues | NativeArgs::KeepIdOrder);
  for (uint32_t i = 0; i < argumentCount; ++i) args.Add(&slots[in.Slot()]);
  try {
    g_nativeTable[native](&args);
  } catch (...) {
    args.DetachAll();
    throw;
  }
  args.DetachAll();
}

void RunScript(Reader& in) {
  Value slots[valuescript::kSlots];
  std::string err;
  std::string text;
  volatile uint64_t sink = 0;
  while (!in.Done()) {
    const auto step = static_cast<Step>(in.Byte() % static_cast<uint8_t>(Step::kCount));
    Value& v = slots[in.Slot()];
    switch (step) {
      case Step::SetKind:
        v.kind = in.Kind();
        break;
      case Step::SetCount:
        v.count = in.Count(16);
        break;
      case Step::SetId:
        v.id = in.Byte();
        break;
      case Step::AssignValue: {
        const Value& source = slots[in.Slot()];
        const uint8_t flags = in.Byte();
        const uint32_t dstIdx = in.Small(8);
        v.AssignValue(source, (flags & 2) ? nullptr : &err, flags & 1, dstIdx, in.Small(8));
        break;
      }
      case Step::MathOp: {
        const Value& source = slots[in.Slot()];
        const uint32_t op = in.Small(13);
        const uint8_t flags = in.Byte();
        v.PerformMathOp(op, source, err, flags & 1, in.Small(8));
        break;
      }
      case Step::CopyFrom:
        v.CopyFrom(slots[in.Slot()]);
        break;
      case Step::CopyConstruct: {
        Value copy(v);
        copy.ToString(text);
        slots[in.Slot()] = std::move(copy);
        break;
      }
      case Step::SetElement:
        SetElement(v, in);
        break;
      case Step::AssignArray:
        AssignArray(v, in);
        break;
      case Step::ToText:
        sink = sink + std::string(v.ToString(text)).size();
        break;
      case Step::Storage:
        UseStorage(v, in);
        break;
      case Step::Read:
        sink = sink + ReadAll(v, in);
        break;
      case Step::Native:
        CallNative(slots, in);
        break;
      case Step::kCount:
        break;
    }
    err.clear();
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  RegisterStandardNatives();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in(data, size);
  SetRunBudget(kStatementBudget, kHashBudget);
  try {
    RunScript(in);
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  return 0;
}
