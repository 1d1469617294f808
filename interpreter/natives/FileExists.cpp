#include <unistd.h>

#include "foundation/DiskNames.h"
#include "interpreter/keys/MurmurHash3.h"
#include "interpreter/natives/ArgumentRules.h"
#include "interpreter/natives/NativeArgs.h"
#include "interpreter/natives/Natives.h"

bool FileExists(NativeArgs* args) {
  const Value* pathArg = args->GetAt(0);
  Value* output = args->GetAt(1);
  uint64_t outputSize;
  if (pathArg == nullptr || !RawOutputSize(output, outputSize) || outputSize < 4) return false;

  std::string path;
  pathArg->ToString(path);
  // A file or a folder counts; a relative path is taken from the current folder.
  const uint32_t exists = ::access(disk_names::ToDisk(path).c_str(), F_OK) == 0 ? 1 : 0;
  StoreLE32(RawOutputBytes(*output), exists);
  return true;
}
