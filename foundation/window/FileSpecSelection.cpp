// The class library's open-file dialog: filter list, dialog set-up and the chosen path.
#include "foundation/window/FileSpecSelection.h"

#include "foundation/TextString.h"

namespace Zarnel {

CFileSpecSelection::CFileSpecSelection()
    : CFileDialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, nullptr,
                  nullptr, 0, TRUE),
      m_szFilter{},
      m_nFilterPos(0),
      m_szFile{},
      m_szFileTitle{},
      m_szInitialDir{},
      m_szCustomFilter{},
      m_dwFlags(OFN_ENABLEHOOK | OFN_PATHMUSTEXIST | OFN_CREATEPROMPT | OFN_EXPLORER |
                OFN_LONGNAMES),
      m_bPathSplit(1),
      m_nFilterIndex(0),
      m_nFileOffset(0) {}

CFileSpecSelection::~CFileSpecSelection() = default;

int32_t CFileSpecSelection::AddFilter(const char*, const char*) { return 0; }

INT_PTR CFileSpecSelection::DoModal() { return 0; }

int32_t CFileSpecSelection::GetPathName(CTextString&) { return 1; }

}  // namespace Zarnel
