// The dialog templates: the main dialog, the result dialog and the About box, in dialog units.
#include <array>

#include "platform/DialogTemplate.h"
#include "res/Resource.h"

namespace {

constexpr DWORD kEdit = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kLabel = WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT;
constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

constexpr ControlTemplate Edit(int id, int16_t x, int16_t y, int16_t cx, int16_t cy) {
    return {id, ControlKind::Edit, x, y, cx, cy, "", kEdit, 0};
}
constexpr ControlTemplate Label(int id, int16_t x, int16_t y, int16_t cx, int16_t cy, const char* text,
                                DWORD exStyle = 0) {
    return {id, ControlKind::Static, x, y, cx, cy, text, kLabel, exStyle};
}
constexpr ControlTemplate Button(int id, int16_t x, int16_t y, int16_t cx, int16_t cy, const char* text,
                                 DWORD extra = 0) {
    return {id, ControlKind::Button, x, y, cx, cy, text, kButton | extra, 0};
}

const std::array kMainControls{
    Edit(IDC_BLOCK_NUMBER, 77, 23, 78, 12),
    Edit(IDC_BLOCK_VERSION, 77, 37, 78, 12),
    Edit(IDC_PREV_BLOCK_HASH, 77, 51, 262, 12),
    Edit(IDC_MERKLE_ROOT, 77, 65, 262, 12),
    Edit(IDC_TIME_STAMP, 77, 79, 78, 12),
    Edit(IDC_BITS, 77, 93, 78, 12),
    Edit(IDC_NONCE, 77, 107, 78, 12),
    Button(IDC_OPEN_TIMELOCK, 158, 163, 75, 19, "Open TimeLock", BS_DEFPUSHBUTTON),
    Label(IDC_STATIC, 10, 24, 60, 8, "Block Number", WS_EX_RIGHT),
    Label(IDC_STATIC, 10, 38, 60, 8, "Block Version", WS_EX_RIGHT),
    Label(IDC_STATIC, 10, 52, 60, 8, "Prev Block Hash", WS_EX_RIGHT),
    Label(IDC_STATIC, 10, 66, 60, 8, "Merkle Root", WS_EX_RIGHT),
    Label(IDC_STATIC, 10, 80, 60, 8, "Time Stamp", WS_EX_RIGHT),
    Label(IDC_STATIC, 10, 94, 60, 8, "Bits", WS_EX_RIGHT),
    Label(IDC_STATIC, 10, 108, 60, 8, "Nonce", WS_EX_RIGHT),
    Label(IDC_STATIC, 36, 131, 56, 8, "TimeLock File"),
    Button(IDC_BROWSE_TIMELOCK, 14, 141, 17, 8, "...", BS_BOTTOM),
    Edit(IDC_TIMELOCK_FILE, 34, 140, 350, 10),
    Label(IDC_BLOCK_NUMBER_STATUS, 162, 25, 220, 8, ""),
    Label(IDC_BLOCK_VERSION_STATUS, 162, 39, 220, 8, ""),
    Label(IDC_TIME_STAMP_STATUS, 162, 81, 220, 8, ""),
    Label(IDC_BITS_STATUS, 162, 97, 220, 8, ""),
    Label(IDC_NONCE_STATUS, 162, 109, 220, 8, ""),
    Label(IDC_PREV_BLOCK_HASH_STATUS, 345, 53, 39, 8, ""),
    Label(IDC_MERKLE_ROOT_STATUS, 345, 67, 39, 8, ""),
    Edit(IDC_PASSWORD, 77, 9, 262, 12),
    Label(IDC_STATIC, 10, 10, 60, 8, "Password", WS_EX_RIGHT),
    Label(IDC_PASSWORD_STATUS, 345, 11, 39, 8, ""),
    Button(IDC_SAVE_SETTINGS, 280, 168, 46, 13, "Save"),
    Button(IDC_LOAD_SETTINGS, 328, 168, 46, 13, "Load"),
};

const std::array kResultControls{
    ControlTemplate{IDC_DECRYPTED_TEXT, ControlKind::Edit, 0, 0, 310, 88, "",
                    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_MULTILINE, 0},
};

const std::array kAboutControls{
    ControlTemplate{IDC_STATIC, ControlKind::Static, 14, 14, 20, 20, "", WS_CHILD | WS_VISIBLE | SS_ICON, 0,
                    IDR_MAINFRAME},
    ControlTemplate{IDC_STATIC, ControlKind::Static, 42, 14, 112, 8, "Tarnvault, Version 1.0",
                    kLabel | SS_NOPREFIX, 0},
    ControlTemplate{IDOK, ControlKind::Button, 113, 41, 50, 14, "OK",
                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0},
    ControlTemplate{IDC_VERSION_TEXT, ControlKind::Static, 157, 14, 70, 8, "", kLabel, 0},
};

const std::array kTemplates{
    DialogTemplate{IDD_TARNVAULT_DIALOG, 0, 0, 391, 190,
                   WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_SHELLFONT,
                   WS_EX_APPWINDOW, "Tarnvault V1.0", "MS Shell Dlg", 8, kMainControls},
    DialogTemplate{IDD_DECRYPTED_DATA, 0, 0, 311, 89,
                   WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_SHELLFONT, 0, "Decrypted Data",
                   "MS Shell Dlg", 8, kResultControls},
    DialogTemplate{IDD_ABOUTBOX, 0, 0, 247, 63,
                   WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SHELLFONT, 0, "About Tarnvault",
                   "MS Shell Dlg", 8, kAboutControls},
};

}  // namespace

const DialogTemplate* FindDialogTemplate(int templateId) {
    for (const DialogTemplate& frame : kTemplates) {
        if (frame.id == templateId) return &frame;
    }
    return nullptr;
}
