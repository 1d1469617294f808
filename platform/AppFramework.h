#pragma once
// The application object's base and the start-up calls of the framework. The steps that have
// no meaning on this platform (common controls, sockets, shell and visual managers, registry
// key, restart registration) succeed and do nothing.
#include <cstdint>

#include "platform/WinDefs.h"

class CWnd;

class CWinApp {
public:
    CWinApp() = default;
    virtual ~CWinApp() = default;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual BOOL InitInstance() { return TRUE; }
    void SetRegistryKey(const char*) {}

    DWORD m_dwRestartManagerSupportFlags = 0;
    CWnd* m_pMainWnd = nullptr;
};

struct INITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
};
inline constexpr DWORD ICC_WIN95_CLASSES = 0xFF;
inline BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX*) { return TRUE; }
inline BOOL AfxSocketInit(void* = nullptr) { return TRUE; }

class CShellManager {};
class CMFCVisualManagerWindows {};
class CMFCVisualManager {
public:
    template <class Manager>
    static void SetDefaultManager() {}
};
