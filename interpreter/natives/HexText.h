#pragma once
// Hex text as the natives read it: two characters a byte, high digit first. No character is
// rejected: one that is not a hex digit counts with its own character code.
#include <cstdint>

// 0-9 for '0'-'9', 10-15 for 'A'-'F' and 'a'-'f', the character code for anything else.
uint32_t HexDigitValue(char c);

// The low 8 bits of 16 · d(high) + d(low).
uint8_t HexPairByte(char high, char low);
