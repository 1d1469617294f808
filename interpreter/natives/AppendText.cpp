#include "interpreter/natives/ArgumentRules.h"
#include "interpreter/natives/NativeArgs.h"
#include "interpreter/natives/Natives.h"

bool AppendText(NativeArgs* args) {
  Value* output = args->GetAt(0);
  const Value* source = args->GetAt(1);
  if (!IsStringOutput(output) || source == nullptr) return false;

  // The text is taken before the output changes: both may be the same variable.
  std::string appended;
  source->ToString(appended);
  OpenStringOutput(*output);
  const std::string joined = output->GetText(0) + appended;
  return output->SetString(0, joined.c_str());
}
