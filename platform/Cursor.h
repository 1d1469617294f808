#pragma once
// The wait cursor: SetCursor(LoadCursor(nullptr, IDC_WAIT)) shows it over the application
// until the pointer next moves over one of its windows, as a cursor set by a handler lasts
// on the original platform.
#include "platform/WinDefs.h"

struct CursorResource;
using HCURSOR = const CursorResource*;
using HINSTANCE = void*;

HCURSOR LoadCursor(HINSTANCE instance, int cursorId);
HCURSOR SetCursor(HCURSOR cursor);
