// The "..." button with the file dialog driven: where it starts, what it lists, and the chosen
// path written into the path field (or nothing changed on cancel).
#include <gtest/gtest.h>

#include <QDir>
#include <QFileDialog>
#include <QPushButton>
#include <QTest>

#include "app/settings_fixture.h"
#include "res/Resource.h"
#include "support/FileDialogUser.h"

namespace {

class SelectFile : public SettingsFixture {
protected:
    // Presses "..."; the file dialog's start folder and filter are recorded, then chosen
    // (when non-empty) is accepted, or the dialog is cancelled.
    void PressBrowse(const std::string& chosen) {
        WhenModalOpens([&](QWidget* modal) {
            QFileDialog* dialog = AsFileDialog(modal);
            ASSERT_NE(dialog, nullptr);
            m_title = dialog->windowTitle().toStdString();
            m_folder = dialog->directory().absolutePath().toStdString();
            m_filter = dialog->selectedNameFilter().toStdString();
            if (chosen.empty()) {
                PressEscape(dialog);
            } else {
                TypeNameAndEnter(dialog, QString::fromStdString(chosen));
            }
        });
        qobject_cast<QPushButton*>(m_dialog->GetDlgItem(IDC_BROWSE_TIMELOCK)->GetSafeHwnd())->click();
    }

    std::string m_title, m_folder, m_filter;
};

TEST_F(SelectFile, StartsFromThePathAndWritesTheChoiceBack) {
    OpenDialog();
    const fs::path locks = m_dir / "locks";
    fs::create_directory(locks);
    const std::string lock = (locks / "block.tlk").string();
    const std::string plain = (locks / "README").string();
    WriteFile(lock, "x");
    WriteFile(plain, "x");

    // An empty field: "*" and the process's folder.
    PressBrowse(lock);
    EXPECT_EQ(m_title, "Select the TimeLock file...");
    EXPECT_EQ(m_filter, "*");
    EXPECT_EQ(m_folder, QDir::currentPath().toStdString());
    EXPECT_EQ(Text(IDC_TIMELOCK_FILE), lock);

    // A path with an extension: its folder, listed by "*.tlk".
    PressBrowse(plain);
    EXPECT_EQ(m_folder, locks.string());
    EXPECT_EQ(m_filter, "*.tlk");
    EXPECT_EQ(Text(IDC_TIMELOCK_FILE), plain);

    // A name without extension: "*" in its folder. Cancelling changes nothing.
    PressBrowse("");
    EXPECT_EQ(m_folder, locks.string());
    EXPECT_EQ(m_filter, "*");
    EXPECT_EQ(Text(IDC_TIMELOCK_FILE), plain);

    // The choice is saved with the other fields a second later.
    PressBrowse(lock);
    EXPECT_TRUE(QTest::qWaitFor([&] {
        for (const std::string& line : Lines(m_settings)) {
            if (line == "TimeLockFile=" + lock) return true;
        }
        return false;
    }, 5000));
}

}  // namespace
