// The program's string table.
#include <string>

#include "platform/StringTable.h"
#include "res/Resource.h"

BOOL LoadString(std::string& text, UINT stringId) {
    switch (stringId) {
    case IDS_ABOUTBOX: text = "&About Tarnvault..."; return TRUE;
    case IDP_SOCKETS_INIT_FAILED: text = "Windows sockets initialization failed."; return TRUE;
    default: text.clear(); return FALSE;
    }
}
