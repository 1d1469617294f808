// The Documents folder lookup, folder tests and creation, and file copying.
#include "platform/Files.h"

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

class Files : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/files_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        oldUmask_ = umask(0);  // the modes below must not depend on the caller's umask
    }
    void TearDown() override {
        umask(oldUmask_);
        std::system(("rm -rf " + root_).c_str());
    }
    static void Put(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Get(const std::string& path) {
        std::ostringstream bytes;
        bytes << std::ifstream(path, std::ios::binary).rdbuf();
        return bytes.str();
    }
    static mode_t Mode(const std::string& path) {
        struct stat info {};
        return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
    }

    std::string root_;
    mode_t oldUmask_ = 0;
};

TEST_F(Files, DocumentsFolderComesFromUserDirsElseHomeAndIsMadePrivate) {
    const struct {
        const char* userDirs;  // nullptr: no user-dirs.dirs
        std::string expected;  // '@' stands for the test's root folder
    } cases[] = {
        {nullptr, "@/home/Documents"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n", "@/home/Docs"},
        {"# a comment\n  XDG_DOCUMENTS_DIR=\"@/elsewhere/papers\"\n", "@/elsewhere/papers"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/My \\\"Docs\\\"\"\n", "@/home/My \"Docs\""},
        {"XDG_DOCUMENTS_DIR=\"$HOME/A\"\nXDG_DOCUMENTS_DIR=\"$HOME/B\"\n", "@/home/B"},
        {"XDG_DOCUMENTS_DIR=\"Docs\"\n", "@/home/Documents"},
        {"XDG_DOCUMENTS_DIR=\"$HOMEWORK\"\n", "@/home/Documents"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/unclosed\n", "@/home/Documents"},
        {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n", "@/home/Documents"},
        {"\x01\xff\n", "@/home/Documents"},
    };
    const std::string home = root_ + "/home";
    ASSERT_EQ(mkdir(home.c_str(), 0755), 0);
    setenv("HOME", home.c_str(), 1);
    for (const bool xdgConfigHome : {false, true}) {
        const std::string config = xdgConfigHome ? root_ + "/config" : home + "/.config";
        if (xdgConfigHome) {
            setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        } else {
            unsetenv("XDG_CONFIG_HOME");
        }
        mkdir(config.c_str(), 0700);
        for (const auto& c : cases) {
            std::string expected = c.expected;
            expected.replace(0, 1, root_);
            std::string userDirs = c.userDirs ? c.userDirs : "";
            if (const size_t at = userDirs.find('@'); at != std::string::npos) {
                userDirs.replace(at, 1, root_);
            }
            unlink((config + "/user-dirs.dirs").c_str());
            if (c.userDirs) {
                Put(config + "/user-dirs.dirs", userDirs);
            }
            char path[MAX_PATH] = "untouched";
            ASSERT_EQ(SHGetFolderPath(nullptr, CSIDL_COMMON_DOCUMENTS, nullptr, 0, path), S_OK)
                << userDirs;
            EXPECT_EQ(path, expected) << userDirs;
            EXPECT_EQ(Mode(expected), 0700u) << userDirs;
        }
    }
    unsetenv("XDG_CONFIG_HOME");
}

TEST_F(Files, DocumentsFolderFailsWithoutTouchingThePath) {
    const std::string home = root_ + "/home";
    mkdir(home.c_str(), 0700);
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    char path[MAX_PATH] = "untouched";
    EXPECT_EQ(SHGetFolderPath(nullptr, 0x05, nullptr, 0, path), E_FAIL);

    Put(home + "/Documents", "a file where the folder should be");
    EXPECT_EQ(SHGetFolderPath(nullptr, CSIDL_COMMON_DOCUMENTS, nullptr, 0, path), E_FAIL);

    mkdir((home + "/.config").c_str(), 0700);
    Put(home + "/.config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/" + std::string(300, 'd') + "\"");
    EXPECT_EQ(SHGetFolderPath(nullptr, CSIDL_COMMON_DOCUMENTS, nullptr, 0, path), E_FAIL);
    EXPECT_STREQ(path, "untouched");
}

TEST_F(Files, FolderTestsAndOneLevelCreation) {
    const std::string file = root_ + "/file", folder = root_ + "/folder", link = root_ + "/link";
    Put(file, "x");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    ASSERT_EQ(symlink(folder.c_str(), link.c_str()), 0);
    const struct {
        std::string path;
        BOOL isDirectory;
        int access;
    } cases[] = {
        {file, FALSE, 0}, {folder, TRUE, 0}, {link, TRUE, 0}, {root_ + "/missing", FALSE, -1},
        {file + "/below", FALSE, -1}, {"", FALSE, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PathIsDirectory(c.path.c_str()), c.isDirectory) << c.path;
        EXPECT_EQ(crt::_access(c.path.c_str(), 0), c.access) << c.path;
    }

    EXPECT_EQ(crt::_mkdir((root_ + "/new").c_str()), 0);
    EXPECT_EQ(Mode(root_ + "/new"), 0700u);
    EXPECT_EQ(crt::_mkdir((root_ + "/new").c_str()), -1);
    EXPECT_EQ(crt::_mkdir((root_ + "/a/b").c_str()), -1);
    EXPECT_EQ(crt::_mkdir(file.c_str()), -1);
    EXPECT_FALSE(PathIsDirectory((root_ + "/a").c_str()));
}

TEST_F(Files, CopyReplacesTheTargetOrLeavesItByteForByte) {
    const std::string source = root_ + "/source.ini", target = root_ + "/target.ini";
    const std::string original = std::string("old\0bytes\r\n", 11);
    Put(source, "[Tarnvault]\nPassword=new\n");

    EXPECT_EQ(CopyFile(source.c_str(), target.c_str(), FALSE), TRUE);
    EXPECT_EQ(Get(target), Get(source));
    EXPECT_EQ(Mode(target), 0600u);

    Put(target, original);
    chmod(target.c_str(), 0640);
    EXPECT_EQ(CopyFile(source.c_str(), target.c_str(), TRUE), FALSE);
    EXPECT_EQ(Get(target), original);
    EXPECT_EQ(CopyFile(source.c_str(), target.c_str(), FALSE), TRUE);
    EXPECT_EQ(Get(target), Get(source));
    EXPECT_EQ(Mode(target), 0640u);

    Put(target, original);
    for (const std::string& from : {root_ + "/missing", root_, std::string("/dev/zero")}) {
        EXPECT_EQ(CopyFile(from.c_str(), target.c_str(), FALSE), FALSE) << from;
        EXPECT_EQ(Get(target), original) << from;
    }
    EXPECT_EQ(CopyFile(source.c_str(), (root_ + "/missing/target.ini").c_str(), FALSE), FALSE);
    EXPECT_EQ(CopyFile(source.c_str(), root_.c_str(), FALSE), FALSE);
    EXPECT_EQ(CopyFile(source.c_str(), source.c_str(), FALSE), TRUE);
    EXPECT_EQ(Get(source), "[Tarnvault]\nPassword=new\n");
}

TEST_F(Files, CopyThatRunsOutOfSpaceLeavesTheTargetAndNoTemporaryFile) {
    const std::string source = root_ + "/big", target = root_ + "/target.ini";
    Put(source, std::string(100000, 'b'));
    Put(target, "[Tarnvault]\r\nPassword=kept\r\n");
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 8192;  // writes beyond this fail as on a full disk
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const BOOL copied = CopyFile(source.c_str(), target.c_str(), FALSE);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(copied, FALSE);
    EXPECT_EQ(Get(target), "[Tarnvault]\r\nPassword=kept\r\n");
    EXPECT_EQ(std::system(("test $(ls -A " + root_ + " | wc -l) -eq 2").c_str()), 0);
}

}  // namespace
