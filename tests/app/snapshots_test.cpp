// Settings snapshots saved beside a TimeLock file and loaded back: every message of the two
// buttons, what each failure leaves behind, and the files' modes.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

#include "platform/TemporaryFile.h"
#include "res/Resource.h"
#include "settings_fixture.h"
#include "support/HangWatchdog.h"

namespace {

constexpr int kSave = IDC_SAVE_SETTINGS;
constexpr int kLoad = IDC_LOAD_SETTINGS;

class Snapshots : public SettingsFixture {
public:
    // A name ending in '/' makes a folder.
    void Make(const std::string& path, const std::string& content = "x") {
        const fs::path made = At(path);
        fs::create_directories(path.back() == '/' ? made : made.parent_path());
        if (path.back() != '/') WriteFile(made, content);
    }

    // The dialog with its fields set for the TimeLock file "@/tl.dat".
    void OpenReady() {
        OpenDialog();
        Make("@/tl.dat");
        Fields("@/tl.dat");
    }

    // The fields in a state worth a snapshot, for the TimeLock file "path".
    void Fields(const std::string& path, const std::string& blockNumber = "5") {
        SetText(IDC_TIMELOCK_FILE, At(path));
        SetText(IDC_BLOCK_NUMBER, blockNumber);
        SetText(IDC_PREV_BLOCK_HASH, std::string(64, 'a'));
        SetText(IDC_MERKLE_ROOT, std::string(64, 'B'));
        SetText(IDC_PASSWORD, "secret");
    }

    std::vector<std::string> Seen(std::vector<std::string> texts) const {
        for (std::string& text : texts) text = At(text);
        return texts;
    }
};

// Each message of the two buttons, reached on its own road.
struct MessageCase {
    const char* name;
    int button;
    std::vector<std::string> made;  // files (and folders, ending in '/') made first
    std::string path;               // the TimeLock file in the field
    std::vector<Step> steps;
    std::vector<std::string> seen;
    std::string blockNumber = "5";
};

class SnapshotMessages : public Snapshots, public testing::WithParamInterface<MessageCase> {};

TEST_P(SnapshotMessages, ShowsTheMessageAndStops) {
    OpenDialog();
    const MessageCase& c = GetParam();
    for (const std::string& path : c.made) Make(path);
    Fields(c.path, c.blockNumber);
    // The settings file as the auto-save would leave it, and no save pending during the press.
    m_dialog->SaveSettings();
    m_dialog->KillTimer(IDT_AUTOSAVE);
    const std::string settingsBefore = ReadFile(m_settings);
    Press(c.button, c.steps);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeModalWidget() == nullptr; }));
    EXPECT_EQ(m_seen, Seen(c.seen));
    if (c.button == kLoad) {
        EXPECT_EQ(ReadFile(m_settings), settingsBefore) << "a failed load changed the settings";
        EXPECT_EQ(Text(IDC_PASSWORD), "secret") << "a failed load changed the fields";
    }
}

const std::string kDialog = "Select a settings file... in @/tl listing Settings (*.ini)";
const MessageCase kMessageCases[] = {
    {"SaveInvalidField", kSave, {"@/tl.dat"}, "@/tl.dat", {kOk}, {"Invalid block number: 12x"}, "12x"},
    {"SaveEmptyPath", kSave, {}, "", {kOk}, {"You must select a Time Lock file"}},
    {"SaveMissingFile", kSave, {}, "@/100%s.dat", {kOk}, {"File does not exist: @/100%s.dat"}},
    {"SaveNoExtension", kSave, {"@/tl"}, "@/tl", {kOk}, {"Unable to create directory: @/tl"}},
    {"SaveFolderTakenByAFile", kSave, {"@/tl.dat", "@/tl"}, "@/tl.dat", {kOk},
     {"Unable to create directory: @/tl"}},
    {"SaveOverSomethingThatIsNoFile", kSave, {"@/tl.dat", "@/tl/5.ini/"}, "@/tl.dat",
     {{QMessageBox::Yes}, kOk},
     {"Okay to overwrite file? : @/tl/5.ini", "Problem creating file: @/tl/5.ini"}},
    {"LoadEmptyPath", kLoad, {}, "", {kOk}, {"You must select a Time Lock file"}},
    {"LoadMissingFile", kLoad, {}, "@/gone.dat", {kOk}, {"File does not exist: @/gone.dat"}},
    {"LoadBeforeAnySave", kLoad, {"@/tl.dat"}, "@/tl.dat", {kOk}, {"No saved settings for: @/tl.dat"}},
    {"LoadNoExtension", kLoad, {"@/tl"}, "@/tl", {kOk}, {"No saved settings for: @/tl"}},
    {"LoadCancelled", kLoad, {"@/tl.dat", "@/tl/"}, "@/tl.dat", {kCancel}, {kDialog}},
    {"LoadChosenFileVanished", kLoad, {"@/tl.dat", "@/tl/5.ini"}, "@/tl.dat",
     {Pick("@/tl/5.ini", true), kOk}, {kDialog, "Settings file does not exist : @/tl/5.ini"}},
    // The settings file's place is taken by a folder, so nothing can be copied over it.
    {"LoadOverASettingsFileThatCannotBeReplaced", kLoad, {"@/tl.dat", "@/tl/5.ini", "@/Settings.ini/"},
     "@/tl.dat", {Pick("@/tl/5.ini"), kOk}, {kDialog, "Problem overwriting file: @/Settings.ini"}},
};

std::string CaseName(const testing::TestParamInfo<MessageCase>& param) { return param.param.name; }

INSTANTIATE_TEST_SUITE_P(Press, SnapshotMessages, testing::ValuesIn(kMessageCases), CaseName);

TEST_F(Snapshots, SaveAsksBeforeOverwritingAndLoadBringsTheFieldsBack) {
    const mode_t oldMask = umask(0);
    OpenReady();
    SetText(IDC_BLOCK_NUMBER, "0007");
    Press(kSave);
    umask(oldMask);
    const std::string snapshot = ReadFile(At("@/tl/7.ini"));
    EXPECT_EQ(snapshot, ReadFile(m_settings));
    EXPECT_EQ(Mode(At("@/tl")), 0700u);
    EXPECT_EQ(Mode(At("@/tl/7.ini")), 0600u);

    // Answered No, the snapshot and the settings file stay as they were.
    SetText(IDC_PASSWORD, "changed");
    SetText(IDC_NONCE, "99");
    m_dialog->KillTimer(IDT_AUTOSAVE);
    Press(kSave, {{QMessageBox::No}});
    EXPECT_EQ(ReadFile(At("@/tl/7.ini")), snapshot);
    EXPECT_EQ(ReadFile(m_settings), snapshot) << "No saved the fields";

    Press(kLoad, {Pick("@/tl/7.ini")});
    EXPECT_EQ(Text(IDC_PASSWORD), "secret");
    EXPECT_EQ(Text(IDC_NONCE), "");

    // Answered Yes, the snapshot takes the fields.
    SetText(IDC_PASSWORD, "second");
    Press(kSave, {{QMessageBox::Yes}});
    EXPECT_NE(ReadFile(At("@/tl/7.ini")).find("Password=second"), std::string::npos);
    const std::string overwrite = "Okay to overwrite file? : @/tl/7.ini";
    EXPECT_EQ(m_seen, Seen({overwrite, kDialog, overwrite}));
}

TEST_F(Snapshots, LoadingASnapshotOfAnotherFileMovesToThatFile) {
    OpenReady();
    Make("@/other.dat");
    Make("@/tl/3.ini", At("[Tarnvault]\nBlockNumber=3\nTimeLockFile=@/other.dat\nPrevBlockHash=" +
                          std::string(64, '1') + "\nMerkleRoot=" + std::string(64, '2') + "\n"));
    Press(kLoad, {Pick("@/tl/3.ini")});
    EXPECT_EQ(Text(IDC_TIMELOCK_FILE), At("@/other.dat"));

    Press(kSave);
    EXPECT_TRUE(fs::exists(At("@/other/3.ini")));
}

// When the settings file cannot take the fields, the snapshot would silently hold older
// values: no snapshot is made and the failure is shown.
TEST_F(Snapshots, NoStaleSnapshotWhenTheSettingsFileCannotBeWritten) {
    OpenReady();
    ASSERT_TRUE(m_dialog->SaveSettings());
    // Files may not grow beyond the settings file's size now: a longer password cannot be
    // written, while a copy of the old settings file still could.
    SetText(IDC_PASSWORD, std::string(500, 'p'));
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit oldLimit{};
    getrlimit(RLIMIT_FSIZE, &oldLimit);
    rlimit limit = oldLimit;
    limit.rlim_cur = fs::file_size(m_settings);
    setrlimit(RLIMIT_FSIZE, &limit);
    Press(kSave, {kOk});
    setrlimit(RLIMIT_FSIZE, &oldLimit);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(m_seen, Seen({"Problem creating file: @/tl/5.ini"}));
    EXPECT_FALSE(fs::exists(At("@/tl/5.ini")));
}

// A link at the snapshot's name, shipped beside the TimeLock file or planted while Save asks
// whether to overwrite, is replaced by the snapshot: the file it points to keeps its bytes.
TEST_F(Snapshots, SaveReplacesALinkAtTheSnapshotAndNeverWritesThroughIt) {
    const auto plantLink = [this](const std::string& pointsTo) {
        fs::remove(At("@/tl/5.ini"));
        fs::create_symlink(pointsTo, At("@/tl/5.ini"));
    };
    const std::string overwrite = "Okay to overwrite file? : @/tl/5.ini";
    const struct {
        const char* name;
        std::string before;  // where a link planted before Save points, or "" for a snapshot
        bool plantedMeanwhile;
        std::vector<std::string> seen;
    } cases[] = {
        {"link to a file", "../victim", false, {overwrite}},
        {"dangling link", "../missing", false, {}},
        {"link planted after the question", "", true, {overwrite}},
    };
    OpenReady();
    m_dialog->KillTimer(IDT_AUTOSAVE);
    Make("@/victim", "victim's bytes");
    Make("@/tl/");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_seen.clear();
        c.before.empty() ? Make("@/tl/5.ini", "older snapshot") : plantLink(c.before);
        Step answer{QMessageBox::Yes};
        if (c.plantedMeanwhile) answer.meanwhile = [&] { plantLink("../victim"); };
        Press(kSave, c.seen.empty() ? std::vector<Step>{} : std::vector<Step>{answer});
        EXPECT_EQ(m_seen, Seen(c.seen));
        EXPECT_EQ(ReadFile(At("@/victim")), "victim's bytes");
        EXPECT_FALSE(fs::exists(At("@/missing")));
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(At("@/tl/5.ini"))));
        EXPECT_EQ(Mode(At("@/tl/5.ini")), 0600u);
        EXPECT_EQ(ReadFile(At("@/tl/5.ini")), ReadFile(m_settings));
    }
}

// A snapshot that another user left readable by all, in a folder of theirs, becomes ours and
// private when Save replaces it.
TEST_F(Snapshots, SaveLeavesASnapshotOfOursThatOnlyWeMayRead) {
    if (geteuid() != 0) GTEST_SKIP() << "needs to hand files to another user";
    OpenReady();
    Make("@/tl/5.ini", "another user's snapshot");
    for (const char* path : {"@/tl", "@/tl/5.ini"}) ASSERT_EQ(chown(At(path).c_str(), 65534, 65534), 0);
    ASSERT_EQ(chmod(At("@/tl").c_str(), 0777), 0);
    ASSERT_EQ(chmod(At("@/tl/5.ini").c_str(), 0666), 0);
    Press(kSave, {{QMessageBox::Yes}});
    struct stat info {};
    ASSERT_EQ(stat(At("@/tl/5.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(info.st_uid, geteuid());
    EXPECT_EQ(ReadFile(At("@/tl/5.ini")), ReadFile(m_settings));
}

// Files beside the settings file and a snapshot whose names merely look like the program's
// temporary files (a backup, another program's file in flight) keep their bytes through the
// auto-save and Save; what killed writes of the program left goes.
TEST_F(Snapshots, AutoSaveAndSaveKeepLookAlikesAndRemoveOnlyTheirOwnLeftovers) {
    OpenReady();
    SetText(IDC_BLOCK_NUMBER, "1");
    ASSERT_TRUE(SavedSoon("BlockNumber=1"));
    Press(kSave);
    const std::string lookAlikes[] = {"@/.Settings.ini.backup", "@/.Settings.ini.Ab12Cd",
                                      "@/tl/.1.ini.backup", "@/tl/.1.ini.Xy34Zw"};
    for (const std::string& path : lookAlikes) Make(path, "bytes of " + path);
    const std::string leftovers[] = {At("@/" + file_content::TemporaryName("Settings.ini")),
                                     At("@/tl/" + file_content::TemporaryName("1.ini"))};
    for (const std::string& path : leftovers) WriteFile(path, "[Tarnvault]\nPassword=secret\n");

    SetText(IDC_PASSWORD, "changed");
    ASSERT_TRUE(SavedSoon("Password=changed"));
    Press(kSave, {{QMessageBox::Yes}});
    EXPECT_EQ(ReadFile(At("@/tl/1.ini")), ReadFile(m_settings));
    EXPECT_TRUE(FileHas("Password=changed"));
    for (const std::string& path : lookAlikes) EXPECT_EQ(ReadFile(At(path)), "bytes of " + path);
    for (const std::string& path : leftovers) EXPECT_FALSE(fs::exists(path)) << path;
}

// A pipe where a settings file is read never holds the dialog: as the settings file it reads as
// empty, and chosen for Load it cannot be copied.
TEST_F(Snapshots, APipeIsNeverWaitedOn) {
    ASSERT_EQ(mkfifo(m_settings.c_str(), 0600), 0);
    const HangWatchdog watchdog(60);
    OpenReady();
    Make("@/tl/");
    ASSERT_EQ(mkfifo(At("@/tl/5.ini").c_str(), 0600), 0);
    Press(kLoad, {Pick("@/tl/5.ini"), kOk});
    EXPECT_EQ(m_seen, Seen({kDialog, "Problem overwriting file: @/Settings.ini"}));
}

}  // namespace
