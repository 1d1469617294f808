// Natives reached the way programs reach them: through the native call and the table.
#include <gtest/gtest.h>

#include <string>

#include "interpreter/keys/MurmurHash3.h"
#include "interpreter/natives/Natives.h"
#include "program_harness.h"

using namespace program_test;
using testprog::ProgramWriter;
using testprog::Target;
namespace Imm = testprog::Imm;

namespace {

TEST(NativesInPrograms, BuildMeasureHashAndHandBackText) {
  const NativeTable saved = g_nativeTable;
  g_nativeTable.clear();
  RegisterStandardNatives();
  ProgramWriter w;
  w.OpenScope()
      .Declare(kKindString, 1)  // the caller's text
      .Declare(kKindBarray, 2)
      .Declare(kKindUInt32, 3)
      .Declare(kKindInt, 4)
      .Declare(kKindUInt64, 5)
      .Declare(kKindUInt64, 6)
      .Assign(Target(6), MathOp::Assign, Imm::UInt64(3))
      .CallNative(kNativeAppendHexBytes, {2, 1, 3})
      .CallNative(kNativeByteArrayLength, {4, 2, 3})
      .CallNative(kNativeHashBytes, {5, 2, 6})
      .CallNative(kNativeAppendText, {1, 4})
      .CallNative(kNativeAppendText, {1, 2})
      .CallNative(kNativeAppendText, {1, 5})
      .CloseScope();
  Value text;
  text.kind = kKindString;
  text.SetString(0, "0aFf10");
  EXPECT_TRUE(RunProgram(w, {&text}));
  g_nativeTable = saved;

  const uint8_t bytes[] = {0x0A, 0xFF, 0x10};
  uint8_t first[16], second[16], third[16];
  MurmurHash3_x64_128(bytes, 3, 3, first);
  MurmurHash3_x64_128(first, 16, 1, second);
  MurmurHash3_x64_128(second, 16, 2, third);
  EXPECT_EQ(text.GetText(0), "0aFf10" "3" "0AFF10" + std::to_string(LoadLE64(third)));
}

}  // namespace
