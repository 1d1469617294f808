#include "interpreter/natives/HexText.h"

uint32_t HexDigitValue(char c) {
  const auto code = static_cast<uint8_t>(c);
  if (code >= '0' && code <= '9') return code - '0';
  if (code >= 'A' && code <= 'F') return code - 'A' + 10u;
  if (code >= 'a' && code <= 'f') return code - 'a' + 10u;
  return code;
}

uint8_t HexPairByte(char high, char low) {
  return static_cast<uint8_t>(16u * HexDigitValue(high) + HexDigitValue(low));
}
