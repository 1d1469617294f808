// The application object's start-up: the settings folder made one level at a time in
// Documents, the settings file's path, and the end of the process when a level cannot be made.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/TarnvaultApp.h"
#include "support/WhenModalOpens.h"

namespace {

namespace fs = std::filesystem;

class Startup : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tarnvault-home-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_home = pattern;
        m_savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
        setenv("HOME", pattern, 1);
        unsetenv("XDG_CONFIG_HOME");
        m_documents = m_home / "Documents";
    }
    void TearDown() override {
        setenv("HOME", m_savedHome.c_str(), 1);
        fs::remove_all(m_home);
    }
    fs::path m_home, m_documents;
    std::string m_savedHome;
};

TEST_F(Startup, MakesWhatIsMissingOfTheSettingsFolder) {
    for (bool makerFolderExists : {false, true}) {
        SCOPED_TRACE(makerFolderExists);
        fs::remove_all(m_documents);
        if (makerFolderExists) fs::create_directories(m_documents / "Quorvane");
        CTarnvaultApp& app = MakeTheApp();
        const fs::path folder = m_documents / "Quorvane" / "Tarnvault";
        EXPECT_TRUE(fs::is_directory(folder));
        EXPECT_EQ(app.m_strSettingsFolder, folder.string());
        EXPECT_EQ(app.m_strSettingsFile, (folder / "Settings.ini").string());
        EXPECT_EQ(std::string(g_pszSettingsFile), app.m_strSettingsFile);
        EXPECT_FALSE(fs::exists(folder / "Settings.ini"));
        // The test program carries no version block.
        EXPECT_EQ(app.m_strVersion, "");
        DestroyTheApp();
    }
}

TEST_F(Startup, FolderThatCannotBeMadeIsToldThenEndsWithCodeZero) {
    fs::create_directories(m_documents / "Quorvane");
    std::ofstream(m_documents / "Quorvane" / "Tarnvault") << "a file in the folder's place";
    EXPECT_EXIT(
        {
            WhenModalOpens([](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                std::fprintf(stderr, "box: %s\n", box ? box->text().toUtf8().constData() : "none");
                QTest::keyClick(modal, Qt::Key_Return);
            });
            MakeTheApp();
            std::fprintf(stderr, "still running\n");
            std::exit(1);
        },
        testing::ExitedWithCode(0),
        "box: Unable to create directory: " + (m_documents / "Quorvane" / "Tarnvault").string() +
            "\n$");
}

}  // namespace
