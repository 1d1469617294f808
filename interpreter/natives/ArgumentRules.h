#pragma once
// How the natives read and write their arguments. A native treats a Value as raw storage and
// looks at its kind only to refuse what a role cannot take; nothing here reaches past a Value's
// element storage. Every reader and checker refuses a missing (null) argument.
#include <cstdint>
#include <string>

#include "interpreter/values/Value.h"

// 4-byte read: the first 4 bytes of the element storage, little-endian; 0 when no storage is
// held. False for a string or barray holding storage, or numeric storage under 4 bytes.
bool ReadWordArg(const Value* v, uint32_t& out);
bool ReadSignedWordArg(const Value* v, int32_t& out);

// 8-byte read: the first 8 bytes of the element storage, little-endian; 0 without storage.
bool ReadQuadArg(const Value* v, uint64_t& out);

// Raw output: the element storage (count × element width bytes) of a numeric Value. False
// for a missing or non-numeric argument; size is the storage that is held or will be made.
bool RawOutputSize(const Value* v, uint64_t& size);
// Only after RawOutputSize: makes the element storage when none is held and returns it.
uint8_t* RawOutputBytes(Value& v);

// Byte-array input: byte array 0 of a barray Value, empty without storage. Null otherwise.
const ByteArray* ByteArrayInputArg(const Value* v);

// Text input: text 0 of a string Value, empty without storage. Null otherwise.
const std::string* TextInputArg(const Value* v);

// Byte-array output: a Value without storage, or a barray whose byte array 0 exists.
bool IsByteArrayOutput(const Value* v);
// Only after IsByteArrayOutput: makes a Value without storage a one-element barray.
ByteArray& OpenByteArrayOutput(Value& v);

// String output: a Value without storage, or a string Value holding storage.
bool IsStringOutput(const Value* v);
// Only after IsStringOutput: makes a Value without storage a one-element string with one
// empty text.
void OpenStringOutput(Value& v);
