#pragma once
// The checks of the block-header fields that need no window: a decimal number that wraps to
// 32 bits, a hash of 64 hexadecimal digits, the time stamp's UTC date, and each field's error
// prefix.
#include <cstdint>
#include <string>

// True when text is null, empty or all decimal digits; a non-empty number is stored in value
// reduced modulo 2^32 (4294967296 stores 0), as the platform's "%lu" reads it.
bool IsUnsignedDecimal(const char* text, uint32_t& value);

// 64 hexadecimal digits of either case at the very start, followed by blanks and tabs only.
bool IsBlockHash(const std::string& text);

// The time stamp's status text: "%04u/%02u/%02u %02u:%02u:%02u UTC".
std::string UtcDateText(uint32_t secondsSince1970);

// The start of the error line of the field edited in editId ("Invalid block number: ", ...).
const char* FieldErrorPrefix(int editId);
