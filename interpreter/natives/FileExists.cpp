#include <unistd.h>

#include "interpreter/NativeArgs.h"
#include "interpreter/Natives.h"
#include "interpreter/natives/ArgumentRules.h"
#include "interpreter/MurmurHash3.h"

bool FileExists(NativeArgs* args) {
  const Value* pathArg = args->GetAt(0);
  Value* output = args->GetAt(1);
  uint64_t outputSize;
  if (pathArg == nullptr || !RawOutputSize(output, outputSize) || outputSize < 4) return false;

  std::string path;
  pathArg->ToString(path);
  // A file or a folder counts; a relative path is taken from the current folder.
  const uint32_t exists = ::access(path.c_str(), F_OK) == 0 ? 1 : 0;
  StoreLE32(RawOutputBytes(*output), exists);
  return true;
}
