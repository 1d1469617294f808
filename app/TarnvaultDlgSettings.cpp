// The settings file: the nine edits written to and read from g_pszSettingsFile.
#include <string>

#include "app/SettingsKeys.h"
#include "app/TarnvaultApp.h"
#include "app/TarnvaultDlg.h"
#include "platform/Profile.h"

bool CTarnvaultDlg::SaveSettings() {
    if (m_bLoading)
        return false;

    for (const SettingsKey& key : kSettingsKeys) {
        const std::string value = ReadControlText(key.controlId);
        WritePrivateProfileString(kSettingsSection, key.name, value.c_str(), g_pszSettingsFile);
    }

    std::string errors;
    ValidateFields(errors);
    return true;
}

bool CTarnvaultDlg::LoadSettings() {
    m_bLoading = true;

    for (const SettingsKey& key : kSettingsKeys) {
        char value[kFieldTextCount] = {};
        GetPrivateProfileString(kSettingsSection, key.name, "", value, kFieldTextCount,
                                g_pszSettingsFile);
        if (CWnd* control = GetDlgItem(key.controlId))
            control->SetWindowText(value);
    }

    std::string errors;
    ValidateFields(errors);

    m_bLoading = false;
    return true;
}
