#pragma once
// The program's string table (res/StringTable.cpp).
#include <string>

#include "platform/WinDefs.h"

// text becomes the string with this id; FALSE (text emptied) when there is none.
BOOL LoadString(std::string& text, UINT stringId);
