// The nine fields kept in the settings file: loading, saving, the save that follows each load,
// and settings files that were not written by this program.
#include <sys/stat.h>

#include <string>
#include <vector>

#include "app/SettingsKeys.h"
#include "res/Resource.h"
#include "settings_fixture.h"

using namespace std::string_literals;

namespace {

const std::vector<std::string> kEmptyKeys = {
    "[Tarnvault]",     "Password=",   "BlockNumber=", "BlockVersion=",  "PrevBlockHash=",
    "MerkleRoot=",     "Bits=",       "Nonce=",       "TimeStamp=",     "TimeLockFile=",
};

using Settings = SettingsFixture;

TEST_F(Settings, FirstStartShowsEmptyFieldsAndWritesNineEmptyKeysASecondLater) {
    const mode_t oldMask = umask(0);
    CTarnvaultDlg& dialog = OpenDialog();
    for (const SettingsKey& key : kSettingsKeys) EXPECT_EQ(Text(key.controlId), "") << key.name;
    EXPECT_EQ(Text(IDC_TIME_STAMP_STATUS), "1970/01/01 00:00:00 UTC");
    EXPECT_FALSE(fs::exists(m_settings)) << "written before the auto-save";

    ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(m_settings); }, 5000));
    umask(oldMask);
    EXPECT_EQ(Lines(m_settings), kEmptyKeys);
    EXPECT_EQ(Mode(m_settings), 0600u);
    EXPECT_FALSE(dialog.m_bLoading);
}

TEST_F(Settings, LoadEmptiesMissingKeysKeepsOtherLinesAndSavesOnceASecondLater) {
    OpenDialog();
    for (const SettingsKey& key : kSettingsKeys) SetText(key.controlId, "old");
    WriteFile(m_settings,
              "; kept\n[Other]\nPassword=not this one\n[Tarnvault]\nPassword=pw\nExtra=kept\n"
              "Nonce=42\n");

    EXPECT_TRUE(m_dialog->LoadSettings());
    EXPECT_EQ(Text(IDC_PASSWORD), "pw");
    EXPECT_EQ(Text(IDC_NONCE), "42");
    EXPECT_EQ(m_dialog->m_nNonce, 42u) << "validated after loading";
    for (int id : {IDC_BLOCK_NUMBER, IDC_MERKLE_ROOT, IDC_TIMELOCK_FILE}) EXPECT_EQ(Text(id), "");

    const std::vector<std::string> handWritten = Lines(m_settings);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Lines(m_settings) != handWritten; }, 5000));
    EXPECT_EQ(Lines(m_settings),
              (std::vector<std::string>{"; kept", "[Other]", "Password=not this one",
                                        "[Tarnvault]", "Password=pw", "Extra=kept", "Nonce=42",
                                        "BlockNumber=", "BlockVersion=", "PrevBlockHash=",
                                        "MerkleRoot=", "Bits=", "TimeStamp=", "TimeLockFile="}));

    // The timer fires once: no further save follows.
    fs::remove(m_settings);
    QTest::qWait(1500);
    EXPECT_FALSE(fs::exists(m_settings));
}

TEST_F(Settings, TextsAreSavedAndLoadedExactlyAsTyped) {
    OpenDialog();
    const std::vector<std::pair<int, std::string>> typed = {
        {IDC_PASSWORD, " \"quoted\" pass=word; "},
        {IDC_BLOCK_NUMBER, "12a"},
        {IDC_BLOCK_VERSION, "-1"},
        {IDC_PREV_BLOCK_HASH, "abc"},
        {IDC_MERKLE_ROOT, std::string(65, 'f')},
        {IDC_BITS, " 5"},
        {IDC_NONCE, "4294967296"},
        {IDC_TIME_STAMP, "%s%d"},
        {IDC_TIMELOCK_FILE, "/no such/file [1].tl"},
    };
    for (const auto& [id, text] : typed) SetText(id, text);
    ASSERT_TRUE(m_dialog->SaveSettings());
    EXPECT_EQ(Text(IDC_BLOCK_NUMBER_STATUS), "Invalid") << "validated after saving";
    EXPECT_EQ(Lines(m_settings)[2], "BlockNumber=12a");

    for (const auto& [id, text] : typed) SetText(id, "");
    m_dialog->LoadSettings();
    for (const auto& [id, text] : typed) EXPECT_EQ(Text(id), text) << id;
}

TEST_F(Settings, ValuesOverTheFieldLimitAreCutOnLoadAndWrittenBackCut) {
    OpenDialog();
    WriteFile(m_settings, "[Tarnvault]\nTimeLockFile=" + std::string(5000, 'p') +
                              "\nPassword=" + std::string(1022, 'w') + "\n");
    m_dialog->LoadSettings();
    EXPECT_EQ(Text(IDC_TIMELOCK_FILE), std::string(1022, 'p'));
    EXPECT_EQ(Text(IDC_PASSWORD), std::string(1022, 'w'));

    ASSERT_TRUE(AutoSaveAfterRemoving());
    EXPECT_EQ(Lines(m_settings)[9], "TimeLockFile=" + std::string(1022, 'p'));
}

TEST_F(Settings, SavingIsRefusedWhileLoading) {
    OpenDialog();
    SetText(IDC_BLOCK_NUMBER, "x");
    m_dialog->m_bLoading = true;
    EXPECT_FALSE(m_dialog->SaveSettings());
    EXPECT_FALSE(fs::exists(m_settings));
    EXPECT_EQ(Text(IDC_BLOCK_NUMBER_STATUS), "") << "validated although refused";
    m_dialog->m_bLoading = false;
    EXPECT_TRUE(m_dialog->SaveSettings());
    EXPECT_TRUE(fs::exists(m_settings));
}

// Settings files not written by this program load what they hold, never more, and never stop
// the dialog.
TEST_F(Settings, ForeignFilesLoadWhatTheyHold) {
    struct Case {
        const char* what;
        std::string content;
        std::string password, nonce;
    };
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 131 + 7) % 256);
    const std::vector<Case> cases = {
        {"not a settings file", "Password=pw\nNonce=1\njust text\n", "", ""},
        {"binary", binary, "", ""},
        {"NUL bytes", "[Tarnvault]\nPassword=ab\0cd\nNonce=7\n"s, "ab", "7"},
        {"megabyte line", "[Tarnvault]\nPassword=" + std::string(2 << 20, 'x') + "\nNonce=8\n",
         std::string(1022, 'x'), "8"},
        {"section repeated", "[Tarnvault]\nNonce=1\n[Tarnvault]\nNonce=2\nPassword=pw\n", "",
         "1"},
        {"key repeated", "[Tarnvault]\nNonce=1\nNonce=2\n", "", "1"},
        {"CR LF lines", "[Tarnvault]\r\nPassword=pw\r\nNonce=5\r\n", "pw", "5"},
        {"empty", "", "", ""},
    };
    OpenDialog();
    for (const Case& c : cases) {
        WriteFile(m_settings, c.content);
        m_dialog->LoadSettings();
        EXPECT_EQ(Text(IDC_PASSWORD), c.password) << c.what;
        EXPECT_EQ(Text(IDC_NONCE), c.nonce) << c.what;
        EXPECT_TRUE(m_dialog->SaveSettings()) << c.what;
        m_dialog->LoadSettings();
        EXPECT_EQ(Text(IDC_PASSWORD), c.password) << c.what << ", saved and loaded again";
    }
}

}  // namespace
