#pragma once
// The application object: the settings folder and file, the version text, and the start-up
// that runs the main dialog.
#include <string>

#include "platform/AppFramework.h"

class CTarnvaultApp : public CWinApp {
public:
    CTarnvaultApp();
    ~CTarnvaultApp() override;
    BOOL InitInstance() override;

    std::string m_strVersion;
    std::string m_strSettingsFolder;
    std::string m_strSettingsFile;
};

// The one application object, made once the Qt application exists (see main.cpp).
extern CTarnvaultApp& theApp;
// Constructs theApp; its constructor makes the settings folder and may end the process.
CTarnvaultApp& MakeTheApp();
// Destroys theApp at the end of a normal run (after MakeTheApp).
void DestroyTheApp();
// The settings file's path: the text of theApp.m_strSettingsFile.
extern const char* g_pszSettingsFile;
