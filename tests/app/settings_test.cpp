// The nine fields kept in the settings file: loading, saving, the auto-save one second after a
// change or a load, and settings files that were not written by this program.
#include <sys/stat.h>

#include <QElapsedTimer>
#include <QLineEdit>

#include "app/SettingsKeys.h"
#include "res/Resource.h"
#include "settings_fixture.h"

using namespace std::string_literals;

namespace {

using Settings = SettingsFixture;

TEST_F(Settings, FirstStartShowsEmptyFieldsAndWritesNineEmptyKeysASecondLater) {
    const mode_t oldMask = umask(0);
    OpenDialog();
    for (const SettingsKey& key : kSettingsKeys) EXPECT_EQ(Text(key.controlId), "") << key.name;
    // Validated after loading: an empty number is valid, an empty hash is not.
    EXPECT_EQ(Text(IDC_BLOCK_NUMBER_STATUS), "");
    EXPECT_EQ(Text(IDC_TIME_STAMP_STATUS), "1970/01/01 00:00:00 UTC");
    EXPECT_EQ(Text(IDC_MERKLE_ROOT_STATUS), "Invalid");
    EXPECT_FALSE(fs::exists(m_settings)) << "written before the auto-save";

    ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(m_settings); }, 5000));
    umask(oldMask);
    EXPECT_EQ(ReadFile(m_settings), "[Tarnvault]\nPassword=\nBlockNumber=\nBlockVersion=\nPrevBlockHash=\n"
                                    "MerkleRoot=\nBits=\nNonce=\nTimeStamp=\nTimeLockFile=\n");
    EXPECT_EQ(Mode(m_settings), 0600u);
}

TEST_F(Settings, LoadEmptiesMissingKeysKeepsOtherLinesAndSavesOnceASecondLater) {
    OpenDialog();
    for (const SettingsKey& key : kSettingsKeys) SetText(key.controlId, "old");
    WriteFile(m_settings,
              "; kept\n[Other]\nPassword=not this one\n[Tarnvault]\nPassword=pw\nExtra=kept\n"
              "Nonce=42\n");

    EXPECT_TRUE(m_dialog->LoadSettings());
    EXPECT_EQ(m_dialog->m_nNonce, 42u) << "validated after loading";

    // The save writes the fields as loaded: the file's keys, the missing ones emptied.
    ASSERT_TRUE(SavedSoon("TimeLockFile="));
    EXPECT_EQ(ReadFile(m_settings), "; kept\n[Other]\nPassword=not this one\n[Tarnvault]\nPassword=pw\n"
                                    "Extra=kept\nNonce=42\nBlockNumber=\nBlockVersion=\nPrevBlockHash=\n"
                                    "MerkleRoot=\nBits=\nTimeStamp=\nTimeLockFile=\n");

    // The timer fires once: no further save follows.
    fs::remove(m_settings);
    QTest::qWait(1500);
    EXPECT_FALSE(fs::exists(m_settings));
}

// Each edit starts the timer; what was typed, valid or not, is written and read back as it is.
TEST_F(Settings, EachEditIsSavedASecondLaterAndLoadedBackAsTyped) {
    OpenDialog();
    ASSERT_TRUE(SavedSoon("TimeLockFile="));
    const std::string typed[] = {" \"quoted\" pass=word; ", "12a", "-1", "abc", std::string(65, 'f'),
                                 " 5", "4294967296", "%s%d", "/no such/file [1].tl"};
    static_assert(std::size(typed) == kSettingsKeys.size());
    for (size_t i = 0; i < std::size(typed); ++i) {
        SCOPED_TRACE(kSettingsKeys[i].name);
        SetText(kSettingsKeys[i].controlId, typed[i]);
        EXPECT_TRUE(SavedSoon(kSettingsKeys[i].name + ("=" + typed[i])));
    }
    EXPECT_EQ(Text(IDC_BLOCK_NUMBER_STATUS), "Invalid") << "validated after saving";

    for (const SettingsKey& key : kSettingsKeys) SetText(key.controlId, "");
    m_dialog->LoadSettings();
    for (size_t i = 0; i < std::size(typed); ++i) EXPECT_EQ(Text(kSettingsKeys[i].controlId), typed[i]);
}

TEST_F(Settings, TypingWithinTheSecondPostponesTheWrite) {
    OpenDialog();
    ASSERT_TRUE(SavedSoon("Nonce="));
    auto* nonce = qobject_cast<QLineEdit*>(Widget(IDC_NONCE));
    nonce->setFocus();

    QElapsedTimer sinceFirst;
    QTest::keyClick(nonce, Qt::Key_4);
    sinceFirst.start();
    QTest::qWait(600);
    QTest::keyClick(nonce, Qt::Key_2);
    const qint64 gap = sinceFirst.elapsed();
    QElapsedTimer sinceLast;
    sinceLast.start();
    QTest::qWait(700);
    if (gap > 900 || sinceLast.elapsed() > 900) {
        GTEST_SKIP() << "the machine was too busy to time the keys (" << gap << " ms between them)";
    }
    // More than a second after the first key, but less than one after the second.
    EXPECT_FALSE(FileHas("Nonce=42"));
    EXPECT_TRUE(SavedSoon("Nonce=42"));
    EXPECT_GE(sinceLast.elapsed(), 900);
}

TEST_F(Settings, SavingIsRefusedWhileLoading) {
    OpenDialog();
    SetText(IDC_BLOCK_NUMBER, "x");
    m_dialog->m_bLoading = true;
    EXPECT_FALSE(m_dialog->SaveSettings());
    EXPECT_FALSE(fs::exists(m_settings));
    EXPECT_EQ(Text(IDC_BLOCK_NUMBER_STATUS), "") << "validated although refused";
}

// Settings files not written by this program, or with values over the field's 1022 characters,
// load what fits and never stop the dialog (how each line is read is the profile reader's own
// test); a value cut on loading is written back cut.
TEST_F(Settings, ForeignFilesLoadWhatTheyHoldCutToTheField) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 131 + 7) % 256);
    const std::pair<std::string, std::string> cases[] = {
        // the file, and the password it gives
        {binary, ""},
        {"[Tarnvault]\nPassword=ab\0cd\nNonce=7\n"s, "ab"},
        {"[Tarnvault]\nPassword=" + std::string(1022, 'w') + "\n", std::string(1022, 'w')},
        {"[Tarnvault]\nPassword=" + std::string(2 << 20, 'x') + "\nNonce=8\n", std::string(1022, 'x')},
        {"", ""},
    };
    OpenDialog();
    for (const auto& [content, password] : cases) {
        SCOPED_TRACE(content.substr(0, 20));
        WriteFile(m_settings, content);
        m_dialog->LoadSettings();
        EXPECT_EQ(Text(IDC_PASSWORD), password);
        EXPECT_TRUE(m_dialog->SaveSettings());
        EXPECT_TRUE(FileHas("Password=" + password));
    }
}

}  // namespace
