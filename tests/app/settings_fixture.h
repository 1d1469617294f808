#pragma once
// A main dialog over a settings file in a fresh temporary folder, the file helpers that the
// dialog tests share, and a user who presses a button and answers the windows it opens.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/TarnvaultApp.h"
#include "app/TarnvaultDlg.h"
#include "support/FileDialogUser.h"

namespace fs = std::filesystem;

inline std::string ReadFile(const fs::path& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();  // a folder reads as empty
    return text.str();
}

inline void WriteFile(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

inline unsigned Mode(const fs::path& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? status.st_mode & 07777u : 0u;
}

// One modal window a press is expected to open, and how to answer it.
struct Step {
    QMessageBox::StandardButton button = QMessageBox::Ok;  // a message box's answer
    std::string file = {};  // a file dialog: the file chosen, or "" to cancel
    bool vanish = false;    // the chosen file is removed as the dialog closes
    std::function<void()> meanwhile = {};  // runs while the window is open, before the answer
};

inline const Step kOk{};  // also closes any other dialog, as Escape does
inline const Step kCancel{};
inline Step Pick(std::string file, bool vanish = false) { return {QMessageBox::Ok, std::move(file), vanish}; }

// In a death test's child: the next box's text goes to standard error, then Enter answers it.
inline void ReportNextBox() {
    WhenModalOpens([](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        std::fprintf(stderr, "box: %s\n", box ? box->text().toUtf8().constData() : "none");
        QTest::keyClick(modal, Qt::Key_Return);
    }, 120000);
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

    // "@" in a text stands for the test's folder.
    std::string At(const std::string& text) const {
        std::string result;
        for (char c : text) result += c == '@' ? m_dir.string() : std::string(1, c);
        return result;
    }

    // Presses the button and answers the modal windows it opens, in order. What each one
    // showed is kept in m_seen: a box's text, a file dialog's title, folder and filter, or
    // another dialog's title and text.
    void Press(int buttonId, std::vector<Step> steps = {}) {
        Drive(std::move(steps));
        // A window that no step expects would wait for ever: it fails the test and is closed.
        QTimer watchdog;
        QObject::connect(&watchdog, &QTimer::timeout, [] {
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                ADD_FAILURE() << "unexpected window: "
                              << (box ? box->text() : modal->windowTitle()).toStdString();
                modal->reject();
            }
        });
        watchdog.start(15000);
        qobject_cast<QAbstractButton*>(Widget(buttonId))->click();
    }

    void Drive(std::vector<Step> steps) {
        if (steps.empty()) return;
        // After a failed test its unused steps may still wait: they leave later tests alone.
        WhenModalOpens([this, life = std::weak_ptr<int>(m_life), steps](QWidget* modal) mutable {
            if (life.expired()) return;
            const Step step = steps.front();
            steps.erase(steps.begin());
            Drive(steps);
            if (step.meanwhile) step.meanwhile();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                m_seen.push_back(box->text().toStdString());
                QAbstractButton* button = box->button(step.button);
                EXPECT_NE(button, nullptr) << "a box without the expected button";
                button != nullptr ? button->click() : box->reject();
            } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
                m_seen.push_back(files->windowTitle().toStdString() + " in " +
                                 files->directory().absolutePath().toStdString() + " listing " +
                                 files->selectedNameFilter().toStdString());
                if (step.file.empty()) return files->reject();
                TypeNameAndEnter(files, QString::fromStdString(At(step.file)));
                if (step.vanish) fs::remove(At(step.file));
            } else {
                auto* text = modal->findChild<QPlainTextEdit*>();
                m_seen.push_back(modal->windowTitle().toStdString() + ": " +
                                 (text ? text->toPlainText().toStdString() : ""));
                PressEscape(modal);
            }
        }, 120000);
    }

    std::string Text(int id) const {
        char text[4096] = {};
        if (CWnd* control = m_dialog->GetDlgItem(id)) control->GetWindowText(text, sizeof text);
        return text;
    }

    void SetText(int id, const std::string& text) {
        m_dialog->GetDlgItem(id)->SetWindowText(text.c_str());
    }

    // The settings file holds the whole line (this program writes '\n' line ends).
    bool FileHas(const std::string& line) const {
        const std::string text = std::string(1, '\n').append(ReadFile(m_settings));
        return text.find(std::string(1, '\n').append(line).append(1, '\n')) != std::string::npos;
    }

    // Waits for the auto-save (one second after a change) to write the line.
    bool SavedSoon(const std::string& line) const {
        return QTest::qWaitFor([&] { return FileHas(line); }, 5000);
    }

    fs::path m_dir;
    fs::path m_settings;
    const char* m_previousSettingsFile = nullptr;
    std::unique_ptr<CTarnvaultDlg> m_dialog;
    std::vector<std::string> m_seen;
    std::shared_ptr<int> m_life = std::make_shared<int>();
};
