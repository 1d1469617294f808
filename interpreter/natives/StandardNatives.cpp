#include "interpreter/natives/Natives.h"

void RegisterStandardNatives() {
  if (!g_nativeTable.empty()) return;
  // Registration order is the index order that programs are written against.
  static constexpr NativeFunction kInIndexOrder[kNativeCount] = {
      NewByteArray,       AppendIntegerBytes, AppendHexBytes,      AppendText,
      FileExists,         HashBytes,          CopyBytesToStorage,  HexToWords,
      ByteArrayLength,    CopyByteRange,      FillStorage,         CopyWordsToBytes,
      Log,                Exp,                TimeLockTextToBytes, TimeLockBytesToText,
  };
  for (NativeFunction fn : kInIndexOrder) RegisterNative(fn);
}
