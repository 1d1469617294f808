#pragma once
// The process-wide table through which a program's native call reaches the natives.
#include <vector>

class NativeArgs;

using NativeFunction = bool (*)(NativeArgs* args);
using NativeTable = std::vector<NativeFunction>;

// Index of a native = its place in the order of registration.
extern NativeTable g_nativeTable;

void RegisterNative(NativeFunction fn);
