#include "interpreter/natives/NativeTable.h"

NativeTable g_nativeTable;

void RegisterNative(NativeFunction fn) { g_nativeTable.push_back(fn); }
