// The Documents folder lookup, folder tests and creation, and file copying.
#include "platform/Files.h"

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/FileContent.h"
#include "platform/TemporaryFile.h"
#include "platform/scratch_folder.h"

namespace {

class Files : public testing::Test {
protected:
    void SetUp() override {
        oldUmask_ = umask(0);  // modes must not depend on the caller's
        mkdir(home_.c_str(), 0755);
        setenv("HOME", home_.c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
    }
    void TearDown() override { umask(oldUmask_); }

    ScratchFolder folder_;
    const std::string& root_ = folder_.path;
    const std::string home_ = root_ + "/home";
    mode_t oldUmask_ = 0;
};

TEST_F(Files, DocumentsFolderComesFromUserDirsElseHomeAndIsMadePrivate) {
    const struct {
        const char* userDirs;  // nullptr: no user-dirs.dirs; '@' stands for the test's root folder
        const char* expected;  // below the root folder
    } cases[] = {
        {nullptr, "home/Documents"},
        {"# a comment\n  XDG_DOCUMENTS_DIR=\"@/elsewhere/papers\"\n", "elsewhere/papers"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/My \\\"Docs\\\"\"\n", "home/My \"Docs\""},
        {"XDG_DOCUMENTS_DIR=\"$HOME/A\"\nXDG_DOCUMENTS_DIR=\"$HOME/B\"\n", "home/B"},
        {"XDG_DOCUMENTS_DIR=\"Docs\"\n", "home/Documents"},
        {"XDG_DOCUMENTS_DIR=\"$HOMEWORK\"\n", "home/Documents"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/unclosed\n", "home/Documents"},
        {"\x01\xff\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n", "home/Documents"},
    };
    for (const std::string config : {"home/.config", "config"}) {
        if (config == "config") setenv("XDG_CONFIG_HOME", (root_ + "/config").c_str(), 1);
        mkdir((root_ + "/" + config).c_str(), 0700);
        for (const auto& c : cases) {
            const std::string expected = root_ + "/" + c.expected;
            std::string userDirs = c.userDirs ? c.userDirs : "";
            if (const size_t at = userDirs.find('@'); at != std::string::npos) userDirs.replace(at, 1, root_);
            SCOPED_TRACE(config + ": " + userDirs);
            unlink((root_ + "/" + config + "/user-dirs.dirs").c_str());
            if (c.userDirs) folder_.Put(config + "/user-dirs.dirs", userDirs);
            char path[MAX_PATH] = "untouched";
            ASSERT_EQ(SHGetFolderPath(nullptr, CSIDL_COMMON_DOCUMENTS, nullptr, 0, path), S_OK);
            EXPECT_EQ(path, expected);
            EXPECT_EQ(folder_.Mode(expected), 0700u);
        }
    }
}

TEST_F(Files, DocumentsFolderFailsWithoutTouchingThePath) {
    char path[MAX_PATH] = "untouched";
    EXPECT_EQ(SHGetFolderPath(nullptr, 0x05, nullptr, 0, path), E_FAIL);
    folder_.Put("home/Documents", "a file where the folder should be");
    EXPECT_EQ(SHGetFolderPath(nullptr, CSIDL_COMMON_DOCUMENTS, nullptr, 0, path), E_FAIL);
    mkdir((home_ + "/.config").c_str(), 0700);
    folder_.Put("home/.config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/" + std::string(300, 'd') + "\"");
    EXPECT_EQ(SHGetFolderPath(nullptr, CSIDL_COMMON_DOCUMENTS, nullptr, 0, path), E_FAIL);
    EXPECT_STREQ(path, "untouched");
}

TEST_F(Files, FolderTestsAndOneLevelCreation) {
    const std::string file = folder_.Put("file", "x"), link = root_ + "/link";
    ASSERT_EQ(symlink(home_.c_str(), link.c_str()), 0);
    const struct {
        std::string path;
        BOOL isDirectory;
        int access;
    } cases[] = {
        {file, FALSE, 0}, {home_, TRUE, 0}, {link, TRUE, 0}, {root_ + "/missing", FALSE, -1},
        {file + "/below", FALSE, -1}, {"", FALSE, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PathIsDirectory(c.path.c_str()), c.isDirectory) << c.path;
        EXPECT_EQ(crt::_access(c.path.c_str(), 0), c.access) << c.path;
    }
    EXPECT_EQ(crt::_mkdir((root_ + "/new").c_str()), 0);
    EXPECT_EQ(folder_.Mode(root_ + "/new"), 0700u);
    for (const std::string& taken : {root_ + "/new", root_ + "/a/b", file}) {
        EXPECT_EQ(crt::_mkdir(taken.c_str()), -1) << taken;
    }
    EXPECT_FALSE(PathIsDirectory((root_ + "/a").c_str()));
}

TEST_F(Files, CopyReplacesTheTargetOrLeavesItByteForByte) {
    const std::string source = folder_.Put("source.ini", "[Tarnvault]\nPassword=new\n");
    const std::string target = root_ + "/target.ini";
    const std::string original = std::string("old\0bytes\r\n", 11);

    EXPECT_EQ(CopyFile(source.c_str(), target.c_str(), FALSE), TRUE);
    EXPECT_EQ(folder_.Get(target), folder_.Get(source));
    EXPECT_EQ(folder_.Mode(target), 0600u);

    folder_.Put("target.ini", original);
    chmod(target.c_str(), 0640);
    EXPECT_EQ(CopyFile(source.c_str(), target.c_str(), TRUE), FALSE);
    EXPECT_EQ(folder_.Get(target), original);
    EXPECT_EQ(CopyFile(source.c_str(), target.c_str(), FALSE), TRUE);
    EXPECT_EQ(folder_.Get(target), folder_.Get(source));
    EXPECT_EQ(folder_.Mode(target), 0600u);

    folder_.Put("target.ini", original);
    for (const std::string& from : {root_ + "/missing", root_, std::string("/dev/zero")}) {
        EXPECT_EQ(CopyFile(from.c_str(), target.c_str(), FALSE), FALSE) << from;
        EXPECT_EQ(folder_.Get(target), original) << from;
    }
    // Out of space: the target is kept and no temporary file is left.
    const std::string big = folder_.Put("big", std::string(100000, 'b'));
    EXPECT_EQ(WithFullDiskAt(8192, [&] { return CopyFile(big.c_str(), target.c_str(), FALSE); }), FALSE);
    EXPECT_EQ(folder_.Get(target), original);
    EXPECT_EQ(folder_.Entries(), 4u);  // home, the source, the target, big
    EXPECT_EQ(CopyFile(source.c_str(), (root_ + "/missing/target.ini").c_str(), FALSE), FALSE);
    EXPECT_EQ(CopyFile(source.c_str(), root_.c_str(), FALSE), FALSE);
    EXPECT_EQ(CopyFile(source.c_str(), source.c_str(), FALSE), TRUE);
    EXPECT_EQ(folder_.Get(source), "[Tarnvault]\nPassword=new\n");
}

// A link at the target counts as a name that exists, and a copy replaces it: what it points to
// keeps its bytes.
TEST_F(Files, CopyReplacesALinkAtTheTargetAndNeverWritesThroughIt) {
    const std::string source = folder_.Put("source.ini", "[Tarnvault]\nPassword=new\n");
    const std::string victim = folder_.Put("victim", "victim's bytes");
    const std::string target = root_ + "/target.ini";
    for (const std::string& pointsTo : {victim, root_ + "/missing"}) {
        SCOPED_TRACE(pointsTo);
        unlink(target.c_str());
        ASSERT_EQ(symlink(pointsTo.c_str(), target.c_str()), 0);
        EXPECT_EQ(CopyFile(source.c_str(), target.c_str(), TRUE), FALSE);
        EXPECT_EQ(CopyFile(source.c_str(), target.c_str(), FALSE), TRUE);
        struct stat info {};
        ASSERT_EQ(lstat(target.c_str(), &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode));
        EXPECT_EQ(folder_.Get(target), folder_.Get(source));
        EXPECT_EQ(folder_.Get(victim), "victim's bytes");
        EXPECT_NE(crt::_access((root_ + "/missing").c_str(), 0), 0);
    }
}

// However the temporary file is made, a copy to a new name, or over an old one, lands whole and
// leaves nothing else.
TEST_F(Files, CopyLandsWholeHoweverTheTemporaryFileIsMade) {
    const std::string source = folder_.Put("source.ini", std::string(200000, 's'));
    using file_content::Temporaries;
    for (const Temporaries kind : {Temporaries::Unnamed, Temporaries::Named, Temporaries::UnnamedUnlinkable}) {
        SCOPED_TRACE(static_cast<int>(kind));
        file_content::SetTemporariesForTesting(kind);
        const std::string target = root_ + "/target.ini";
        unlink(target.c_str());
        EXPECT_EQ(CopyFile(source.c_str(), target.c_str(), TRUE), TRUE);
        EXPECT_EQ(CopyFile(source.c_str(), target.c_str(), FALSE), TRUE);
        EXPECT_EQ(folder_.Get(target), folder_.Get(source));
        EXPECT_EQ(folder_.Mode(target), 0600u);
        EXPECT_EQ(folder_.Entries(), 3u);  // home, the source, the target
    }
    file_content::SetTemporariesForTesting(Temporaries::Unnamed);
}

// A link planted while the new content is being written is replaced too.
TEST_F(Files, ALinkPlantedDuringTheWriteIsReplaced) {
    const std::string victim = folder_.Put("victim", "victim's bytes");
    const std::string target = folder_.Put("target.ini", "old");
    EXPECT_TRUE(file_content::ReplaceFile(target, [&](int fd) {
        unlink(target.c_str());
        return symlink(victim.c_str(), target.c_str()) == 0 && file_content::WriteAll(fd, "new", 3);
    }));
    EXPECT_EQ(folder_.Get(victim), "victim's bytes");
    EXPECT_EQ(folder_.Get(target), "new");
    EXPECT_EQ(folder_.Mode(target), 0600u);
}

}  // namespace
