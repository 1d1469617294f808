// Settings snapshots: the settings file copied beside a TimeLock file, one per block number,
// and copied back.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/SettingsKeys.h"
#include "app/TarnvaultApp.h"
#include "app/TarnvaultDlg.h"
#include "app/request/RequestMessages.h"
#include "foundation/PathRules.h"
#include "foundation/TextString.h"
#include "foundation/window/FileSelectionDialog.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Profile.h"
#include "res/Resource.h"

namespace {

constexpr const char* kMsgNoTimeLockFile = "You must select a Time Lock file";
constexpr const char* kMsgCantCreateFolder = "Unable to create directory: %s";
constexpr const char* kMsgOverwrite = "Okay to overwrite file? : %s";
constexpr const char* kMsgCantCreateSnapshot = "Problem creating file: %s";
constexpr const char* kMsgNoSnapshots = "No saved settings for: %s";
constexpr const char* kMsgSnapshotMissing = "Settings file does not exist : %s";
constexpr const char* kMsgCantReplaceSettings = "Problem overwriting file: %s";

int ShowPathMessage(const char* format, const char* path, UINT type = MB_OK) {
    return AfxMessageBox(FormatPathMessage(format, path).c_str(), type);
}

// Takes the TimeLock path from its field's text when it names something that exists; otherwise
// says why not and gives false.
bool TakeTimeLockPath(const std::string& fieldText, Zarnel::CTextString& timeLockPath) {
    timeLockPath.Assign(fieldText.c_str());
    if (timeLockPath.m_pszText[0] == '\0') {
        AfxMessageBox(kMsgNoTimeLockFile, MB_OK);
        return false;
    }
    if (crt::_access(timeLockPath.m_pszText, 0) != 0) {
        ShowPathMessage(kMsgFileMissing, timeLockPath.m_pszText);
        return false;
    }
    return true;
}

}  // namespace

void CTarnvaultDlg::OnSaveSettings() {
    std::string errors;
    if (!ValidateFields(errors)) {
        AfxMessageBox(errors.c_str(), MB_OK);
        return;
    }

    Zarnel::CTextString timeLockPath;
    if (!TakeTimeLockPath(ReadControlText(IDC_TIMELOCK_FILE), timeLockPath))
        return;

    Zarnel::CTextString snapshotFolder;
    snapshotFolder.GetPathPart(timeLockPath.m_pszText, 1, 1, 0);
    if (!PathIsDirectory(snapshotFolder.m_pszText) && crt::_mkdir(snapshotFolder.m_pszText) != 0) {
        ShowPathMessage(kMsgCantCreateFolder, snapshotFolder.m_pszText);
        return;
    }

    Zarnel::CTextString snapshotFile;
    snapshotFile.Assign((std::to_string(m_nBlockNumber) + ".ini").c_str());
    snapshotFile.ChangeFolder(snapshotFolder.m_pszText);

    if (crt::_access(snapshotFile.m_pszText, 0) == 0 &&
        ShowPathMessage(kMsgOverwrite, snapshotFile.m_pszText, MB_YESNO) == IDNO)
        return;

    SaveSettings();

    // A snapshot that silently kept older values than the fields show would be worse than
    // none: when the settings file could not take the fields, no copy is made.
    const bool fieldsStored =
        std::all_of(kSettingsKeys.begin(), kSettingsKeys.end(), [this](const SettingsKey& key) {
            char stored[kFieldTextCount] = {};
            GetPrivateProfileString(kSettingsSection, key.name, "", stored, kFieldTextCount,
                                    g_pszSettingsFile);
            return ReadControlText(key.controlId) == stored;
        });
    if (!fieldsStored || !CopyFile(g_pszSettingsFile, snapshotFile.m_pszText, FALSE))
        ShowPathMessage(kMsgCantCreateSnapshot, snapshotFile.m_pszText);
}

void CTarnvaultDlg::OnLoadSettings() {
    Zarnel::CTextString timeLockPath;
    if (!TakeTimeLockPath(ReadControlText(IDC_TIMELOCK_FILE), timeLockPath))
        return;

    Zarnel::CTextString snapshotFolder;
    snapshotFolder.GetPathPart(timeLockPath.m_pszText, 1, 1, 0);
    if (!PathIsDirectory(snapshotFolder.m_pszText)) {
        ShowPathMessage(kMsgNoSnapshots, timeLockPath.m_pszText);
        return;
    }

    Zarnel::CFileSpecSelection selection;
    selection.m_strTitle = "Select a settings file...";
    selection.m_dwFlags &= ~(OFN_OVERWRITEPROMPT | OFN_CREATEPROMPT);
    selection.m_dwFlags |= OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    std::memset(selection.m_szFile, 0, sizeof selection.m_szFile);
    std::strcpy(selection.m_szFile, "*.ini");
    selection.AddFilter("Settings", ".ini");
    const std::string initialFolder = std::string(snapshotFolder.m_pszText) + Zarnel::kPathSeparator;
    if (initialFolder.size() < sizeof selection.m_szInitialDir)
        std::memcpy(selection.m_szInitialDir, initialFolder.c_str(), initialFolder.size() + 1);

    if (selection.DoModal() != 1)
        return;

    Zarnel::CTextString chosenFile;
    selection.GetPathName(chosenFile);
    if (crt::_access(chosenFile.m_pszText, 0) != 0) {
        ShowPathMessage(kMsgSnapshotMissing, chosenFile.m_pszText);
        return;
    }
    if (!CopyFile(chosenFile.m_pszText, g_pszSettingsFile, FALSE)) {
        ShowPathMessage(kMsgCantReplaceSettings, g_pszSettingsFile);
        return;
    }

    LoadSettings();
}
