#pragma once
// CMenu: the dialog's own system menu. A window manager's menu cannot be extended from a Qt
// program, so the dialog shows this one on Alt+Space and on a right click on its background:
// the appended entries in order, then "Close". Choosing an entry sends WM_SYSCOMMAND with its
// id to the dialog.
#include <string>
#include <vector>

#include "platform/WinDefs.h"

class CMenu {
public:
    struct Item {
        UINT flags;  // MF_STRING or MF_SEPARATOR
        UINT_PTR id;
        std::string text;  // Windows-1252, '&' marks the mnemonic
    };
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, const char* text = nullptr);
    const std::vector<Item>& Items() const { return m_items; }

private:
    std::vector<Item> m_items;
};
