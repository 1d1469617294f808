// The "..." button: picks an existing TimeLock file, starting in the current path's folder
// with "*" and its extension as the name, and writes the chosen path into the path field.
#include <cstring>

#include "app/TarnvaultDlg.h"
#include "foundation/TextString.h"
#include "foundation/window/FileSelectionDialog.h"
#include "res/Resource.h"

void CTarnvaultDlg::OnSelectTimeLockFile() {
    const std::string path = ReadControlText(IDC_TIMELOCK_FILE);

    Zarnel::CTextString folder;
    folder.GetPathPart(path.c_str(), 1, 0, 0);
    Zarnel::CTextString extension;
    extension.GetPathPart(path.c_str(), 0, 0, 1);
    const std::string initialName = std::string("*") + extension.m_pszText;

    Zarnel::CFileSpecSelection selection;
    selection.m_strTitle = "Select the TimeLock file...";
    selection.m_dwFlags &= ~(OFN_OVERWRITEPROMPT | OFN_CREATEPROMPT);
    selection.m_dwFlags |= OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    std::memset(selection.m_szFile, 0, sizeof selection.m_szFile);
    std::strncpy(selection.m_szFile, initialName.c_str(), sizeof selection.m_szFile - 2);
    if (std::strlen(folder.m_pszText) < sizeof selection.m_szInitialDir) {
        std::strcpy(selection.m_szInitialDir, folder.m_pszText);
    }

    if (selection.DoModal() != 1) return;
    Zarnel::CTextString chosen;
    selection.GetPathName(chosen);
    if (CWnd* field = GetDlgItem(IDC_TIMELOCK_FILE)) field->SetWindowText(chosen.m_pszText);
}
