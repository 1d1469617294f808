// The application object: the settings folder and file in Documents, the program file's
// version text, and the start-up that runs the main dialog.
#include "app/TarnvaultApp.h"

#include <cstdio>
#include <memory>
#include <new>
#include <vector>

#include "app/TarnvaultDlg.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/Process.h"
#include "platform/VersionInfo.h"
#include "res/Resource.h"

namespace {

// theApp's storage: the object is made only after the Qt application exists, because its
// constructor may show a message box.
union AppStorage {
    AppStorage() {}
    ~AppStorage() {}
    CTarnvaultApp app;
} g_appStorage;

// Makes folder when it is not a folder yet; when it cannot be made, says so and ends the
// process before any other window exists.
void EnsureFolder(const std::string& folder) {
    if (PathIsDirectory(folder.c_str())) return;
    if (crt::_mkdir(folder.c_str()) == 0) return;
    const std::string message = "Unable to create directory: " + folder;
    AfxMessageBox(message.c_str(), MB_OK, 0);
    ExitProcess(0);
}

std::string ProgramFileVersion() {
    char path[MAX_PATH] = {};
    if (GetModuleFileName(nullptr, path, MAX_PATH) == 0) return {};
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSize(path, &handle);
    if (size == 0) return {};
    std::vector<uint8_t> block(size);
    if (!GetFileVersionInfo(path, handle, size, block.data())) return {};
    void* info = nullptr;
    UINT length = 0;
    if (!VerQueryValue(block.data(), "\\", &info, &length) || info == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO)) {
        return {};
    }
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(info);
    char text[64];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", static_cast<int>(fixed->dwFileVersionMS >> 16),
                  static_cast<int>(fixed->dwFileVersionMS & 0xFFFF),
                  static_cast<int>(fixed->dwFileVersionLS >> 16),
                  static_cast<int>(fixed->dwFileVersionLS & 0xFFFF));
    return text;
}

}  // namespace

CTarnvaultApp& theApp = g_appStorage.app;
const char* g_pszSettingsFile = nullptr;

CTarnvaultApp& MakeTheApp() {
    new (&g_appStorage.app) CTarnvaultApp();
    return theApp;
}

void DestroyTheApp() {
    g_appStorage.app.~CTarnvaultApp();
}

CTarnvaultApp::CTarnvaultApp() {
    m_dwRestartManagerSupportFlags = 1;

    char documents[MAX_PATH] = {};
    SHGetFolderPath(nullptr, CSIDL_COMMON_DOCUMENTS, nullptr, 0, documents);

    m_strSettingsFolder = std::string(documents) + "/Quorvane";
    EnsureFolder(m_strSettingsFolder);
    m_strSettingsFolder += "/Tarnvault";
    EnsureFolder(m_strSettingsFolder);

    m_strSettingsFile = m_strSettingsFolder + "/Settings.ini";
    g_pszSettingsFile = m_strSettingsFile.c_str();

    m_strVersion = ProgramFileVersion();
}

CTarnvaultApp::~CTarnvaultApp() {
    if (g_pszSettingsFile == m_strSettingsFile.c_str()) g_pszSettingsFile = nullptr;
}

BOOL CTarnvaultApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{8, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    CWinApp::InitInstance();

    if (!AfxSocketInit()) {
        AfxMessageBox(IDP_SOCKETS_INIT_FAILED, MB_OK, 0);
        return FALSE;
    }
    auto shellManager = std::make_unique<CShellManager>();
    CMFCVisualManager::SetDefaultManager<CMFCVisualManagerWindows>();
    SetRegistryKey("Local AppWizard-Generated Applications");

    {
        CTarnvaultDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
        shellManager.reset();
        // The dialog ends with this scope: nothing may lead to it afterwards.
        m_pMainWnd = nullptr;
    }
    return FALSE;
}
