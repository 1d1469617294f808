#pragma once
// The numeric conversions shared by element assignment, arithmetic and comparison. Programs
// compute their results through them, so each gives fixed bits for every input, NaN and
// infinities included.
#include <cstdint>

// A 32-bit word taken as signed (uint32 words as well), converted exactly.
double WordToDouble(uint32_t word);

// Converted as a signed 64-bit number; 2^64 is added (in double arithmetic) when that is
// negative, so values from 2^63 up may round differently from a single rounding.
double UInt64ToDouble(uint64_t v);

// Toward zero; NaN, infinities and results outside the signed 32-bit range give 0x80000000.
uint32_t TruncateToWord(double v);

// Toward zero; NaN, infinities and results outside the signed 64-bit range give
// 0x8000000000000000. The result is the signed value's bits.
uint64_t TruncateTo64(double v);

// Values from 2^63 up are reduced by 2^63 and truncated; 2^64 and more give
// 0x8000000000000000; anything lower is the 64-bit truncation modulo 2^64 (-1.5 gives all ones).
uint64_t DoubleToUInt64(double v);

// A 32-bit word taken as signed and widened to 64 bits.
uint64_t SignExtend(uint32_t word);

uint32_t Low32(uint64_t v);
