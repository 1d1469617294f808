#pragma once
// Decimal texts of the interpreter's numbers. The integer readers wrap around like the
// platform's scanf "%ld", "%lu" and "%llu" with 32-bit long: digits accumulate modulo 2^32
// (2^64 for the 64-bit reader) and a minus sign negates modulo the same power. Each reader
// skips leading white space, takes an optional sign, needs at least one digit and ignores
// whatever follows the number.
#include <cstdint>
#include <string>

bool ParseInt32Text(const char* text, int32_t& out);
bool ParseUInt32Text(const char* text, uint32_t& out);
bool ParseUInt64Text(const char* text, uint64_t& out);

// strtod on the text after its leading white space, independent of the process locale;
// true when a number was converted.
bool ParseDoubleText(const char* text, double& out);

std::string Int32Text(int32_t v);
std::string UInt32Text(uint32_t v);
std::string UInt64Text(uint64_t v);
