// Value::ToString: the text of element 0, as the natives append it or use it as a path.
#include <algorithm>

#include "foundation/FormatDouble.h"
#include "interpreter/values/DecimalText.h"
#include "interpreter/values/Value.h"

namespace {

// A byte array's text shows at most its first 64 bytes.
constexpr size_t kShownBytes = 64;

}  // namespace

const char* Value::ToString(std::string& out) const {
  switch (kind) {
    case kKindString:
      out = GetText(0);
      break;
    case kKindInt:
      out = Int32Text(static_cast<int32_t>(GetWord(0)));
      break;
    case kKindUInt32:
      out = UInt32Text(GetWord(0));
      break;
    case kKindUInt64:
      out = UInt64Text(GetUInt64(0));
      break;
    case kKindDouble: {
      char buffer[64];
      Zarnel::FormatDouble(GetDouble(0), buffer, 63);  // the text serves whatever the result
      out = buffer;
      break;
    }
    case kKindBarray: {
      static constexpr char kDigits[] = "0123456789ABCDEF";
      const ByteArray& bytes = GetBytes(0);
      const size_t shown = std::min(bytes.size(), kShownBytes);
      out.clear();
      for (size_t i = 0; i < shown; ++i) {
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 0x0F];
      }
      break;
    }
    default:
      out.clear();
      break;
  }
  return out.c_str();
}
