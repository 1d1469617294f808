// The application object's start-up: the settings folder made one level at a time in
// Documents, the settings file's path, and the end of the process when a level cannot be made.
#include <cstdio>
#include <cstdlib>

#include "app/settings_fixture.h"
#include "platform/Files.h"
#include "res/Resource.h"

namespace {

// The test's folder is the home folder.
class Startup : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        m_savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
        setenv("HOME", m_dir.c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
    }
    void TearDown() override {
        setenv("HOME", m_savedHome.c_str(), 1);
        SettingsFixture::TearDown();
    }
    fs::path Maker() const { return m_dir / "Documents" / "Quorvane"; }
    std::string m_savedHome;
};

TEST_F(Startup, MakesWhatIsMissingOfTheSettingsFolder) {
    for (bool makerFolderExists : {false, true}) {
        SCOPED_TRACE(makerFolderExists);
        fs::remove_all(m_dir / "Documents");
        if (makerFolderExists) fs::create_directories(Maker());
        CTarnvaultApp& app = MakeTheApp();
        const fs::path folder = Maker() / "Tarnvault";
        EXPECT_TRUE(fs::is_directory(folder));
        EXPECT_EQ(app.m_strSettingsFolder, folder.string());
        EXPECT_EQ(app.m_strSettingsFile, (folder / "Settings.ini").string());
        EXPECT_EQ(std::string(g_pszSettingsFile), app.m_strSettingsFile);
        EXPECT_FALSE(fs::exists(folder / "Settings.ini"));
        DestroyTheApp();
    }
}

TEST_F(Startup, FolderThatCannotBeMadeIsToldThenEndsWithCodeZero) {
    fs::create_directories(Maker());
    WriteFile(Maker() / "Tarnvault", "a file in the folder's place");
    EXPECT_EXIT(
        {
            ReportNextBox();
            MakeTheApp();
            std::fprintf(stderr, "still running\n");
            std::exit(1);
        },
        testing::ExitedWithCode(0),
        "box: Unable to create directory: " + (Maker() / "Tarnvault").string() + "\n$");
}

// A Documents folder named with Western letters is the program's by that name; one whose name
// Windows-1252 cannot hold, or under a home folder whose name it cannot hold, is reached through
// the process's own handle on it. Either way the settings are made and written in it.
TEST_F(Startup, SettingsStayInTheDocumentsFolderWhateverItsName) {
    const struct {
        const char* home;      // below the test's folder
        const char* userDirs;  // nullptr: none
        const char* documents;
        const char* settingsFile;  // "": through the handle
    } cases[] = {
        {"", "XDG_DOCUMENTS_DIR=\"$HOME/Café\"\n", "Café", "/Caf\xE9/Quorvane/Tarnvault/Settings.ini"},
        {"", "XDG_DOCUMENTS_DIR=\"$HOME/Документы\"\n", "Документы", ""},
        {"дом", nullptr, "дом/Documents", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.documents);
        const fs::path home = *c.home ? m_dir / c.home : m_dir;
        fs::create_directories(home / ".config");
        setenv("HOME", home.c_str(), 1);
        fs::remove(home / ".config" / "user-dirs.dirs");
        if (c.userDirs) WriteFile(home / ".config" / "user-dirs.dirs", c.userDirs);

        CTarnvaultApp& app = MakeTheApp();
        const fs::path folder = m_dir / c.documents / "Quorvane" / "Tarnvault";
        EXPECT_TRUE(fs::is_directory(folder));
        const std::string settingsFile = *c.settingsFile ? m_dir.string() + c.settingsFile : "/proc/self/fd/";
        EXPECT_EQ(app.m_strSettingsFile.substr(0, settingsFile.size()), settingsFile);
        OpenDialog();
        for (const char* password : {"first", "second"}) {  // made, then replaced
            SetText(IDC_PASSWORD, password);
            EXPECT_TRUE(m_dialog->SaveSettings());
            EXPECT_NE(ReadFile(folder / "Settings.ini").find(std::string("Password=") + password + "\n"),
                      std::string::npos);
        }
        WriteFile(m_dir / "snapshot.ini", "[Tarnvault]\nPassword=loaded\n");  // as Load copies it
        EXPECT_TRUE(CopyFile((m_dir / "snapshot.ini").c_str(), g_pszSettingsFile, FALSE));
        EXPECT_EQ(ReadFile(folder / "Settings.ini"), "[Tarnvault]\nPassword=loaded\n");
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
        m_dialog.reset();
        DestroyTheApp();
    }
}

}  // namespace
