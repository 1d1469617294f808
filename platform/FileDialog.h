#pragma once
// CFileDialog: the open-file dialog over QFileDialog in Qt's own widget form (not the desktop's
// native dialog, so it looks the same everywhere and tests can drive it). The caller fills
// m_ofn's buffers; the constructor's file name, parent and size are not used (lpstrFile is the
// caller's, and the dialog belongs to the active window). DoModal shows the dialog and, on
// IDOK, writes the chosen path into lpstrFile ('/' separated), the name's offset into
// nFileOffset, the filter into nFilterIndex and the name into lpstrFileTitle. Paths cross as
// Windows-1252 (foundation/DiskNames.h): a file whose path has a character without a byte there
// is refused with a message saying why, and the dialog stays open for another choice. A path
// that does not fit lpstrFile is not handed back: DoModal then returns IDCANCEL and the buffers
// stay as they were. With OFN_FILEMUSTEXIST only
// an existing file is accepted; with OFN_PATHMUSTEXIST only a file in an existing folder. A
// wildcard in the initial file name ("*", "*.ini") is the listing's initial filter; each filter
// pair becomes a name filter.
#include <string>

#include "platform/WinDefs.h"

class CWnd;

struct OPENFILENAME {
    DWORD lStructSize = 0;
    void* hwndOwner = nullptr;
    void* hInstance = nullptr;
    const char* lpstrFilter = nullptr;  // pairs of NUL-terminated texts, ended by an empty one
    char* lpstrCustomFilter = nullptr;
    DWORD nMaxCustFilter = 0;
    DWORD nFilterIndex = 0;
    char* lpstrFile = nullptr;
    DWORD nMaxFile = 0;
    char* lpstrFileTitle = nullptr;
    DWORD nMaxFileTitle = 0;
    const char* lpstrInitialDir = nullptr;
    const char* lpstrTitle = nullptr;
    DWORD Flags = 0;
    WORD nFileOffset = 0;
    WORD nFileExtension = 0;
    const char* lpstrDefExt = nullptr;
};

class CFileDialog {
public:
    CFileDialog(BOOL openFileDialog, const char* defExt = nullptr, const char* fileName = nullptr,
                DWORD flags = 0, const char* filter = nullptr, CWnd* parent = nullptr,
                DWORD size = 0, BOOL vistaStyle = TRUE);
    virtual ~CFileDialog();
    virtual INT_PTR DoModal();
    OPENFILENAME& GetOFN() { return m_ofn; }

    OPENFILENAME m_ofn;
};
