// The entries a program appends to its dialog's system menu.
#include "platform/SystemMenu.h"

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, const char* text) {
    if (flags & MF_SEPARATOR) {
        m_items.push_back(Item{MF_SEPARATOR, 0, std::string()});
        return TRUE;
    }
    if (text == nullptr) return FALSE;
    m_items.push_back(Item{MF_STRING, id, std::string(text)});
    return TRUE;
}
