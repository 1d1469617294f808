// Settings snapshots saved beside a TimeLock file and loaded back: every message of the two
// buttons, what each failure leaves behind, and the files' modes.
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <functional>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

#include "res/Resource.h"
#include "settings_fixture.h"
#include "support/FileDialogUser.h"

namespace {

// One modal window the press is expected to open, and how to answer it.
struct Step {
    enum Kind { Box, Pick, Cancel } kind = Box;
    QMessageBox::StandardButton button = QMessageBox::Ok;
    std::string file = {};  // Pick: the file chosen, "@" standing for the test's folder
    bool vanish = false;    // Pick: the chosen file is removed as the dialog closes
};

Step Answer(QMessageBox::StandardButton button) { return {Step::Box, button}; }
Step Pick(std::string file, bool vanish = false) { return {Step::Pick, {}, std::move(file), vanish}; }

class Snapshots : public SettingsFixture {
public:
    // "@" in a text stands for the test's folder.
    std::string At(const std::string& text) const {
        std::string result;
        for (char c : text) result += c == '@' ? m_dir.string() : std::string(1, c);
        return result;
    }

    void MakeFile(const std::string& path, const std::string& content = "x") {
        WriteFile(At(path), content);
    }

    // Presses the button and answers the modal windows it opens, in order; what each one
    // showed is kept in m_seen.
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
        qobject_cast<QAbstractButton*>(m_dialog->GetDlgItem(buttonId)->GetSafeHwnd())->click();
    }

    void Drive(std::vector<Step> steps) {
        if (steps.empty()) return;
        // After a failed test its unused steps may still wait: they leave later tests alone.
        WhenModalOpens([this, life = std::weak_ptr<int>(m_life), steps](QWidget* modal) mutable {
            if (life.expired()) return;
            const Step step = steps.front();
            steps.erase(steps.begin());
            Drive(steps);
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                m_seen.push_back(box->text().toStdString());
                QAbstractButton* button = box->button(step.button);
                EXPECT_NE(button, nullptr) << "a box without the expected button";
                button != nullptr ? button->click() : box->reject();
            } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
                m_seen.push_back(files->windowTitle().toStdString() + " in " +
                                 files->directory().absolutePath().toStdString());
                if (step.kind != Step::Pick) return files->reject();
                TypeNameAndEnter(files, QString::fromStdString(At(step.file)));
                if (step.vanish) fs::remove(At(step.file));
            } else {
                ADD_FAILURE() << "an unexpected window";
                modal->close();
            }
        });
    }

    // The dialog's fields set to a valid snapshot-worthy state for the TimeLock file "path".
    void Fields(const std::string& path, const std::string& blockNumber = "5") {
        SetText(IDC_TIMELOCK_FILE, At(path));
        SetText(IDC_BLOCK_NUMBER, blockNumber);
        SetText(IDC_PREV_BLOCK_HASH, std::string(64, 'a'));
        SetText(IDC_MERKLE_ROOT, std::string(64, 'B'));
        SetText(IDC_PASSWORD, "secret");
    }

    std::vector<std::string> m_seen;
    std::shared_ptr<int> m_life = std::make_shared<int>();
};

// Each message of the two buttons, reached on its own road.
struct MessageCase {
    const char* name;
    std::function<void(Snapshots&)> arrange;
    int button;
    std::vector<Step> steps;
    std::vector<std::string> seen;  // "@" stands for the test's folder
};

void PrintTo(const MessageCase& c, std::ostream* out) { *out << c.name; }

class SnapshotMessages : public Snapshots, public testing::WithParamInterface<MessageCase> {};

TEST_P(SnapshotMessages, ShowsTheMessageAndStops) {
    OpenDialog();
    const MessageCase& c = GetParam();
    c.arrange(*this);
    // The settings file as the auto-save would leave it, and no save pending during the press.
    m_dialog->SaveSettings();
    m_dialog->KillTimer(IDT_AUTOSAVE);
    const std::string settingsBefore = ReadFile(m_settings);
    Press(c.button, c.steps);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeModalWidget() == nullptr; }));
    std::vector<std::string> expected;
    for (const std::string& text : c.seen) expected.push_back(At(text));
    EXPECT_EQ(m_seen, expected);
    if (c.button == IDC_LOAD_SETTINGS) {
        EXPECT_EQ(ReadFile(m_settings), settingsBefore) << "a failed load changed the settings";
    }
}

const std::string kDialog = "Select a settings file... in @/tl";

const std::vector<MessageCase> kMessageCases = {
        MessageCase{"SaveInvalidField",
                    [](Snapshots& t) {
                        t.MakeFile("@/tl.dat");
                        t.Fields("@/tl.dat", "12x");
                    },
                    IDC_SAVE_SETTINGS, {Answer(QMessageBox::Ok)}, {"Invalid block number: 12x"}},
        MessageCase{"SaveEmptyPath", [](Snapshots& t) { t.Fields(""); }, IDC_SAVE_SETTINGS,
                    {Answer(QMessageBox::Ok)}, {"You must select a Time Lock file"}},
        MessageCase{"SaveMissingFile", [](Snapshots& t) { t.Fields("@/100%s.dat"); },
                    IDC_SAVE_SETTINGS, {Answer(QMessageBox::Ok)},
                    {"File does not exist: @/100%s.dat"}},
        MessageCase{"SaveNoExtension",
                    [](Snapshots& t) {
                        t.MakeFile("@/tl");
                        t.Fields("@/tl");
                    },
                    IDC_SAVE_SETTINGS, {Answer(QMessageBox::Ok)},
                    {"Unable to create directory: @/tl"}},
        MessageCase{"SaveFolderTakenByAFile",
                    [](Snapshots& t) {
                        t.MakeFile("@/tl.dat");
                        t.MakeFile("@/tl");
                        t.Fields("@/tl.dat");
                    },
                    IDC_SAVE_SETTINGS, {Answer(QMessageBox::Ok)},
                    {"Unable to create directory: @/tl"}},
        MessageCase{"SaveOverSomethingThatIsNoFile",
                    [](Snapshots& t) {
                        t.MakeFile("@/tl.dat");
                        fs::create_directories(t.At("@/tl/5.ini"));
                        t.Fields("@/tl.dat");
                    },
                    IDC_SAVE_SETTINGS, {Answer(QMessageBox::Yes), Answer(QMessageBox::Ok)},
                    {"Okay to overwrite file? : @/tl/5.ini", "Problem creating file: @/tl/5.ini"}},
        MessageCase{"LoadEmptyPath", [](Snapshots&) {}, IDC_LOAD_SETTINGS,
                    {Answer(QMessageBox::Ok)}, {"You must select a Time Lock file"}},
        MessageCase{"LoadMissingFile", [](Snapshots& t) { t.Fields("@/gone.dat"); },
                    IDC_LOAD_SETTINGS, {Answer(QMessageBox::Ok)},
                    {"File does not exist: @/gone.dat"}},
        MessageCase{"LoadBeforeAnySave",
                    [](Snapshots& t) {
                        t.MakeFile("@/tl.dat");
                        t.Fields("@/tl.dat");
                    },
                    IDC_LOAD_SETTINGS, {Answer(QMessageBox::Ok)},
                    {"No saved settings for: @/tl.dat"}},
        MessageCase{"LoadNoExtension",
                    [](Snapshots& t) {
                        t.MakeFile("@/tl");
                        t.Fields("@/tl");
                    },
                    IDC_LOAD_SETTINGS, {Answer(QMessageBox::Ok)}, {"No saved settings for: @/tl"}},
        MessageCase{"LoadCancelled",
                    [](Snapshots& t) {
                        t.MakeFile("@/tl.dat");
                        fs::create_directory(t.At("@/tl"));
                        t.Fields("@/tl.dat");
                    },
                    IDC_LOAD_SETTINGS, {Step{Step::Cancel}}, {kDialog}},
        MessageCase{"LoadChosenFileVanished",
                    [](Snapshots& t) {
                        t.MakeFile("@/tl.dat");
                        fs::create_directory(t.At("@/tl"));
                        t.MakeFile("@/tl/5.ini", "[Tarnvault]\nPassword=old\n");
                        t.Fields("@/tl.dat");
                    },
                    IDC_LOAD_SETTINGS, {Pick("@/tl/5.ini", true), Answer(QMessageBox::Ok)},
                    {kDialog, "Settings file does not exist : @/tl/5.ini"}}};

std::string CaseName(const testing::TestParamInfo<MessageCase>& param) { return param.param.name; }

INSTANTIATE_TEST_SUITE_P(Press, SnapshotMessages, testing::ValuesIn(kMessageCases), CaseName);

TEST_F(Snapshots, SaveThenLoadBringsTheFieldsBack) {
    const mode_t oldMask = umask(0);
    OpenDialog();
    MakeFile("@/tl.dat");
    Fields("@/tl.dat", "0007");
    Press(IDC_SAVE_SETTINGS);
    umask(oldMask);
    EXPECT_TRUE(m_seen.empty());
    ASSERT_TRUE(fs::exists(At("@/tl/7.ini")));
    EXPECT_EQ(ReadFile(At("@/tl/7.ini")), ReadFile(m_settings));
    EXPECT_EQ(Mode(At("@/tl")), 0700u);
    EXPECT_EQ(Mode(At("@/tl/7.ini")), 0600u);

    SetText(IDC_PASSWORD, "changed");
    SetText(IDC_NONCE, "99");
    Press(IDC_LOAD_SETTINGS, {Pick("@/tl/7.ini")});
    EXPECT_EQ(m_seen, std::vector<std::string>{At(kDialog)});
    EXPECT_EQ(Text(IDC_PASSWORD), "secret");
    EXPECT_EQ(Text(IDC_NONCE), "");
    EXPECT_EQ(ReadFile(m_settings), ReadFile(At("@/tl/7.ini")));
}

TEST_F(Snapshots, OverwriteIsAskedAndNoLeavesEverythingAsItWas) {
    OpenDialog();
    MakeFile("@/tl.dat");
    Fields("@/tl.dat");
    Press(IDC_SAVE_SETTINGS);
    const std::string first = ReadFile(At("@/tl/5.ini"));
    const std::string settings = ReadFile(m_settings);

    SetText(IDC_PASSWORD, "second");
    m_dialog->KillTimer(IDT_AUTOSAVE);
    Press(IDC_SAVE_SETTINGS, {Answer(QMessageBox::No)});
    EXPECT_EQ(m_seen, std::vector<std::string>{At("Okay to overwrite file? : @/tl/5.ini")});
    EXPECT_EQ(ReadFile(At("@/tl/5.ini")), first);
    EXPECT_EQ(ReadFile(m_settings), settings) << "No saved the fields";

    Press(IDC_SAVE_SETTINGS, {Answer(QMessageBox::Yes)});
    EXPECT_NE(ReadFile(At("@/tl/5.ini")).find("Password=second"), std::string::npos);
}

TEST_F(Snapshots, LoadingASnapshotOfAnotherFileMovesToThatFile) {
    OpenDialog();
    MakeFile("@/tl.dat");
    MakeFile("@/other.dat");
    fs::create_directory(At("@/tl"));
    MakeFile("@/tl/3.ini", At("[Tarnvault]\nBlockNumber=3\nTimeLockFile=@/other.dat\n"
                              "PrevBlockHash=" + std::string(64, '1') +
                              "\nMerkleRoot=" + std::string(64, '2') + "\n"));
    Fields("@/tl.dat");
    Press(IDC_LOAD_SETTINGS, {Pick("@/tl/3.ini")});
    EXPECT_EQ(Text(IDC_TIMELOCK_FILE), At("@/other.dat"));
    EXPECT_EQ(Text(IDC_PASSWORD), "");

    Press(IDC_SAVE_SETTINGS);
    EXPECT_TRUE(fs::exists(At("@/other/3.ini")));
}

TEST_F(Snapshots, FailedLoadCopyLeavesSettingsAndFields) {
    OpenDialog();
    MakeFile("@/tl.dat");
    fs::create_directory(At("@/tl"));
    MakeFile("@/tl/5.ini", "[Tarnvault]\nPassword=from snapshot\n");
    Fields("@/tl.dat");
    // The settings file's place is taken by a folder, so nothing can be copied over it.
    fs::create_directory(m_settings);
    Press(IDC_LOAD_SETTINGS, {Pick("@/tl/5.ini"), Answer(QMessageBox::Ok)});
    EXPECT_EQ(m_seen, (std::vector<std::string>{At(kDialog),
                                                At("Problem overwriting file: @/Settings.ini")}));
    EXPECT_EQ(Text(IDC_PASSWORD), "secret");
    EXPECT_TRUE(fs::is_directory(m_settings));
}

// When the settings file cannot take the fields, the snapshot would silently hold older
// values: no snapshot is made and the failure is shown.
TEST_F(Snapshots, NoStaleSnapshotWhenTheSettingsFileCannotBeWritten) {
    OpenDialog();
    MakeFile("@/tl.dat");
    Fields("@/tl.dat");
    ASSERT_TRUE(m_dialog->SaveSettings());
    const auto settingsSize = fs::file_size(m_settings);
    // Files may not grow beyond the settings file's size now: a longer password cannot be
    // written, while a copy of the old settings file still could.
    SetText(IDC_PASSWORD, std::string(500, 'p'));
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit oldLimit{};
    getrlimit(RLIMIT_FSIZE, &oldLimit);
    rlimit limit = oldLimit;
    limit.rlim_cur = settingsSize;
    setrlimit(RLIMIT_FSIZE, &limit);
    Press(IDC_SAVE_SETTINGS, {Answer(QMessageBox::Ok)});
    setrlimit(RLIMIT_FSIZE, &oldLimit);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(m_seen, std::vector<std::string>{At("Problem creating file: @/tl/5.ini")});
    EXPECT_FALSE(fs::exists(At("@/tl/5.ini")));
}

}  // namespace
