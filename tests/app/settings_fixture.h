#pragma once
// A main dialog over a settings file in a fresh temporary folder, with the file helpers that
// the dialog tests share.
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QTest>
#include <gtest/gtest.h>

#include "app/TarnvaultApp.h"
#include "app/TarnvaultDlg.h"

namespace fs = std::filesystem;

inline std::string ReadFile(const fs::path& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();  // a folder reads as empty
    return text.str();
}

inline void WriteFile(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

// The file's non-empty lines without their line ends.
inline std::vector<std::string> Lines(const fs::path& path) {
    std::vector<std::string> lines;
    std::istringstream in(ReadFile(path));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

inline unsigned Mode(const fs::path& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? status.st_mode & 07777u : 0u;
}

class SettingsFixture : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tarnvault-settings-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
        m_settings = m_dir / "Settings.ini";
        m_previousSettingsFile = g_pszSettingsFile;
        g_pszSettingsFile = m_settings.c_str();
    }

    void TearDown() override {
        m_dialog.reset();
        g_pszSettingsFile = m_previousSettingsFile;
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }

    // The dialog as the program opens it: built, initialised (which loads the settings), shown.
    CTarnvaultDlg& OpenDialog() {
        m_dialog = std::make_unique<CTarnvaultDlg>();
        EXPECT_TRUE(m_dialog->Create());
        return *m_dialog;
    }

    QWidget* Widget(int id) const { return m_dialog->GetDlgItem(id)->GetSafeHwnd(); }

    void Click(int buttonId) const { qobject_cast<QAbstractButton*>(Widget(buttonId))->click(); }

    std::string Text(int id) const {
        char text[4096] = {};
        if (CWnd* control = m_dialog->GetDlgItem(id)) control->GetWindowText(text, sizeof text);
        return text;
    }

    void SetText(int id, const std::string& text) {
        m_dialog->GetDlgItem(id)->SetWindowText(text.c_str());
    }

    bool FileHas(const std::string& line) const {
        const std::vector<std::string> lines = Lines(m_settings);
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    // Waits for the auto-save (one second after a change) to write the line.
    bool SavedSoon(const std::string& line) const {
        return QTest::qWaitFor([&] { return FileHas(line); }, 5000);
    }

    fs::path m_dir;
    fs::path m_settings;
    const char* m_previousSettingsFile = nullptr;
    std::unique_ptr<CTarnvaultDlg> m_dialog;
};
