#pragma once
// The class library's open-file dialog: fixed buffers for the filter list, the file name, the
// title, the initial folder and the custom filter, handed to CFileDialog when it is shown.
#include <cstdint>
#include <string>

#include "platform/FileDialog.h"

namespace Zarnel {

class CTextString;

class CFileSpecSelection : public CFileDialog {
public:
    CFileSpecSelection();
    ~CFileSpecSelection() override;
    CFileSpecSelection(const CFileSpecSelection&) = delete;
    CFileSpecSelection& operator=(const CFileSpecSelection&) = delete;

    // 1 when the pair was added, 0 when it would not fit (the list then stays as it was).
    int32_t AddFilter(const char* description, const char* pattern);
    // 1 when the user accepted a file, 0 otherwise (never IDCANCEL).
    INT_PTR DoModal() override;
    // The chosen path into path; always 1.
    int32_t GetPathName(CTextString& path);

    char m_szFilter[512];
    int16_t m_nFilterPos;
    char m_szFile[65535];
    char m_szFileTitle[32];
    char m_szInitialDir[2048];
    char m_szCustomFilter[64];
    uint32_t m_dwFlags;
    std::string m_strTitle;
    std::string m_strDefExt;
    uint32_t m_bPathSplit;
    uint32_t m_nFilterIndex;
    uint32_t m_nFileOffset;
};

}  // namespace Zarnel
