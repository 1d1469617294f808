// The table the natives are registered in. (How natives read and write arguments of every
// kind is tested native by native in natives_test.cpp.)
#include <gtest/gtest.h>

#include "interpreter/natives/Natives.h"

namespace {

TEST(NativeTable, StandardNativesGoInIndexOrderIntoAnEmptyTableOnly) {
  const NativeTable saved = g_nativeTable;
  g_nativeTable.clear();
  RegisterNative(HashBytes);
  RegisterNative(HashBytes);  // one function, two indices
  RegisterStandardNatives();
  EXPECT_EQ(g_nativeTable, (NativeTable{HashBytes, HashBytes}));

  g_nativeTable.clear();
  RegisterStandardNatives();
  const NativeTable inIndexOrder = {
      NewByteArray,    AppendIntegerBytes, AppendHexBytes, AppendText,     FileExists,
      HashBytes,       CopyBytesToStorage, HexToWords,     ByteArrayLength, CopyByteRange,
      FillStorage,     CopyWordsToBytes,   Log,            Exp,            TimeLockTextToBytes,
      TimeLockBytesToText};
  EXPECT_EQ(g_nativeTable, inIndexOrder);
  g_nativeTable = saved;
}

}  // namespace
