#pragma once
// The sixteen natives that a program reaches through its native call, by index in
// g_nativeTable. Each takes the call's argument list, returns false to fail the run, keeps no
// state between calls and leaves its results in its argument Values.
#include <cstdint>

#include "interpreter/natives/NativeTable.h"

enum NativeIndex : uint32_t {
  kNativeNewByteArray = 0,
  kNativeAppendIntegerBytes = 1,
  kNativeAppendHexBytes = 2,
  kNativeAppendText = 3,
  kNativeFileExists = 4,
  kNativeHashBytes = 5,
  kNativeCopyBytesToStorage = 6,
  kNativeHexToWords = 7,
  kNativeByteArrayLength = 8,
  kNativeCopyByteRange = 9,
  kNativeFillStorage = 10,
  kNativeCopyWordsToBytes = 11,
  kNativeLog = 12,
  kNativeExp = 13,
  kNativeTimeLockTextToBytes = 14,
  kNativeTimeLockBytesToText = 15,
  kNativeCount = 16,
};

bool NewByteArray(NativeArgs* args);
bool AppendIntegerBytes(NativeArgs* args);
bool AppendHexBytes(NativeArgs* args);
bool AppendText(NativeArgs* args);
bool FileExists(NativeArgs* args);
bool HashBytes(NativeArgs* args);
bool CopyBytesToStorage(NativeArgs* args);
bool HexToWords(NativeArgs* args);
bool ByteArrayLength(NativeArgs* args);
bool CopyByteRange(NativeArgs* args);
bool FillStorage(NativeArgs* args);
bool CopyWordsToBytes(NativeArgs* args);
bool Log(NativeArgs* args);
bool Exp(NativeArgs* args);
bool TimeLockTextToBytes(NativeArgs* args);
bool TimeLockBytesToText(NativeArgs* args);

// Registers the sixteen natives at indices 0 to 15 when the table is still empty; a table
// that already holds entries is left as it is.
void RegisterStandardNatives();
