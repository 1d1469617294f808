// The private-profile reader and writer against files written by hand.
#include "platform/Profile.h"

#include <algorithm>
#include <csignal>
#include <optional>
#include <random>
#include <string>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/TemporaryFile.h"
#include "platform/scratch_folder.h"

namespace {

using namespace std::string_literals;

class Profile : public testing::Test {
protected:
    void Put(const std::string& bytes) { folder_.Put("Settings.ini", bytes); }
    std::string Read(const char* section, const char* key, DWORD size = 1023,
                     const char* defaultValue = "<default>") {
        std::string buffer(size, '\x7F');
        const DWORD count = GetPrivateProfileString(section, key, defaultValue, buffer.data(), size,
                                                    file_.c_str());
        EXPECT_EQ(buffer[count], '\0');
        return buffer.substr(0, count);
    }
    BOOL Write(const char* section, const char* key, const char* value) {
        return WritePrivateProfileString(section, key, value, file_.c_str());
    }

    ScratchFolder folder_;
    const std::string file_ = folder_.path + "/Settings.ini";
};

TEST_F(Profile, ReadsTheValueExactlyAsItStandsAfterTheFirstEquals) {
    const struct {
        std::optional<std::string> file;
        std::string password;
    } cases[] = {
        {std::nullopt, "<default>"},
        {"[Tarnvault]\nPassword\n", "<default>"},
        {"[Tarnvault]\nPassword=\n", ""},
        {"  [ tarnVAULT ]  \n\t pASSWORD \t=  x y \n", "  x y "},
        {"[Tarnvault]\nPassword=\"quoted\" \n", "\"quoted\" "},
        {"[Tarnvault]\nPassword=a=b\n", "a=b"},
        {"[Tarnvault]\r\nPassword=crlf\r\nNonce=2\r\n", "crlf"},
        {"[Tarnvault]\nPassword=a\rb\n", "a\rb"},
        {"[Tarnvault]\nPassword=no line end", "no line end"},
        {"[Tarnvault]\nPassword=first\nPassword=second\n", "first"},
        {"[Tarnvault]\nA=1\n[Tarnvault]\nPassword=later\n", "<default>"},
        {"Password=before any section\n", "<default>"},
        {"\x01\xff\0\n[Tarnvault]\nPassword=a\0b\n"s, "a\0b"s},
    };
    for (const auto& c : cases) {
        unlink(file_.c_str());
        if (c.file) Put(*c.file);
        EXPECT_EQ(Read("Tarnvault", "Password"), c.password) << c.file.value_or("no file");
    }
}

// Lines of megabytes are read and kept whole; a value is cut to the buffer.
TEST_F(Profile, CutsAValueToOneLessThanTheBufferAndKeepsHugeLines) {
    const std::string huge(4 << 20, 'x');
    Put(huge + "\n[T]\nK=" + huge + "\nL=" + huge);
    EXPECT_EQ(Read("T", "K", 4), "xxx");
    EXPECT_EQ(Read("T", "K", 1), "");
    EXPECT_EQ(Read("T", "missing", 3, "default"), "de");
    ASSERT_EQ(Write("T", "L", "short"), TRUE);
    EXPECT_EQ(folder_.Get(file_), huge + "\n[T]\nK=" + huge + "\nL=short");
}

TEST_F(Profile, WritesInPlaceOrAddsKeySectionAndFileKeepingEveryOtherLine) {
    const struct {
        const char* before;  // nullptr: no file
        const char* value;   // of K in section T
        const char* after;
    } cases[] = {
        {nullptr, "v", "[T]\nK=v\n"},
        {"", "v", "[T]\nK=v\n"},
        {"[T]\nA=1", "v", "[T]\nA=1\nK=v\n"},
        {"[U]\nA=1", "v", "[U]\nA=1\n[T]\nK=v\n"},
        {"[T]\n  k = old \nB=2\n", "new", "[T]\n  k =new\nB=2\n"},
        {"[T]\nK=old\n", "", "[T]\nK=\n"},
        {"; note\n[U]\nK=u\n\n[t]\nA=1\n\n[V]\nx\n", "v", "; note\n[U]\nK=u\n\n[t]\nA=1\nK=v\n\n[V]\nx\n"},
        {"[T]\r\nK=old\r\nB=2\r\n", "v", "[T]\r\nK=v\r\nB=2\r\n"},
        {"[U]\r\nA=1\r\n", "v", "[U]\r\nA=1\r\n[T]\r\nK=v\r\n"},
        {"[T]\nK=1\n", " \"p w\" ", "[T]\nK= \"p w\" \n"},
        {"\x01\xff\n[T]\nK=1\n", "v", "\x01\xff\n[T]\nK=v\n"},
        // A last line ending in a bare CR keeps it: its value still reads with the CR.
        {"[T]\nA=1\r", "v", "[T]\nA=1\r\r\nK=v\n"},
        {"[U]\r\nA=1\r", "v", "[U]\r\nA=1\r\r\n[T]\r\nK=v\r\n"},
        {"[T]\r", "v", "[T]\r\r\nK=v\n"},
        {"[T]\nA=1\r\n\r\nodd\rline\n\n[U]\nA=2", "v",
         "[T]\nA=1\r\n\r\nodd\rline\nK=v\n\n[U]\nA=2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before ? c.before : "no file");
        unlink(file_.c_str());
        if (c.before != nullptr) Put(c.before);
        const std::string others[] = {Read("T", "A"), Read("U", "A")};
        EXPECT_EQ(Write("T", "K", c.value), TRUE);
        EXPECT_EQ(folder_.Get(file_), c.after);
        EXPECT_EQ(Read("T", "K"), c.value);
        EXPECT_EQ(Read("T", "A"), others[0]);
        EXPECT_EQ(Read("U", "A"), others[1]);
    }
    EXPECT_EQ(folder_.Entries(), 1u);  // no temporary file left behind
}

TEST_F(Profile, AWriteThatIsRefusedOrFailsLeavesTheFileWhole) {
    const std::string before = "[T]\nK=1\n";
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        {"T", "K", "two\nlines"}, {"T", "K", "two\rlines"}, {"T", "K", nullptr},
        {"T", "a=b", "v"},        {"T", " ", "v"},          {"T", "[K", "v"},
        {"T", nullptr, "v"},      {"a]b", "K", "v"},        {"a\nb", "K", "v"},
        {nullptr, "K", "v"},
    };
    for (const auto& c : cases) {
        Put(before);
        EXPECT_EQ(Write(c.section, c.key, c.value), FALSE);
        EXPECT_EQ(folder_.Get(file_), before);
    }
    const std::string big(10000, 'v');
    EXPECT_EQ(WithFullDiskAt(4096, [&] { return Write("T", "K", big.c_str()); }), FALSE);
    EXPECT_EQ(folder_.Get(file_), before);
    EXPECT_EQ(folder_.Entries(), 1u);

    // A read-only file, where a rename would have replaced it.
    ASSERT_EQ(chmod(file_.c_str(), 0400), 0);
    if (geteuid() == 0) {  // root may write anything: the owner tries instead
        ASSERT_EQ(chown(file_.c_str(), 65534, 65534), 0);
        ASSERT_EQ(chmod(folder_.path.c_str(), 0777), 0);
        const pid_t child = fork();
        if (child == 0) _exit(setgid(65534) == 0 && setuid(65534) == 0 ? Write("T", "K", "2") : 99);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_EQ(WEXITSTATUS(status), FALSE);
    } else {
        EXPECT_EQ(Write("T", "K", "2"), FALSE);
    }
    EXPECT_EQ(folder_.Get(file_), before);
}

TEST_F(Profile, HostilePathsGiveTheDefaultOrFalseWithoutBlocking) {
    const std::string fifo = folder_.path + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string paths[] = {folder_.path, folder_.path + "/missing/Settings.ini", fifo,
                                 "/dev/zero", ""};
    for (const std::string& path : paths) {
        char buffer[16];
        EXPECT_EQ(GetPrivateProfileString("T", "K", "d", buffer, sizeof buffer, path.c_str()), 1u);
        EXPECT_STREQ(buffer, "d");
        EXPECT_EQ(WritePrivateProfileString("T", "K", "v", path.c_str()), FALSE) << path;
    }
}

// The file holds the password: whatever stood at its name, a write leaves a file of ours that
// only we may read, and never writes through a link.
TEST_F(Profile, EveryWriteLeavesAPrivateFileOfOursAndReplacesALink) {
    const mode_t old = umask(0);
    ASSERT_EQ(Write("T", "K", "v"), TRUE);
    EXPECT_EQ(folder_.Mode(file_), 0600u);
    for (const mode_t mode : {0640u, 0666u, 0604u}) {
        ASSERT_EQ(chmod(file_.c_str(), mode), 0);
        if (geteuid() == 0) {
            ASSERT_EQ(chown(file_.c_str(), 65534, 65534), 0);
        }
        ASSERT_EQ(Write("T", "K", "w"), TRUE);
        struct stat info {};
        ASSERT_EQ(stat(file_.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0600u) << std::oct << mode;
        EXPECT_EQ(info.st_uid, geteuid());
    }
    umask(old);

    // Where the link points, and that file's mode, do not matter: the link itself is replaced.
    const std::string victim = folder_.Put("victim", "[T]\nK=1\n");
    ASSERT_EQ(chmod(victim.c_str(), 0400), 0);
    for (const std::string& pointsTo : {victim, folder_.path + "/missing", "../" + folder_.path}) {
        SCOPED_TRACE(pointsTo);
        ASSERT_EQ(unlink(file_.c_str()), 0);
        ASSERT_EQ(symlink(pointsTo.c_str(), file_.c_str()), 0);
        ASSERT_EQ(Write("T", "K", "2"), TRUE);
        struct stat info {};
        ASSERT_EQ(lstat(file_.c_str(), &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode));
        EXPECT_EQ(info.st_mode & 07777, 0600u);
        EXPECT_EQ(Read("T", "K"), "2");
        EXPECT_EQ(folder_.Get(victim), "[T]\nK=1\n");
    }
    EXPECT_EQ(folder_.Entries(), 2u);
}

// Writes killed at any moment leave the file whole, old or new, and the next write that
// completes leaves no temporary copy behind, however the temporary files are made.
TEST_F(Profile, KilledWritesLeaveTheFileWholeAndNoCopyOutlivesTheNextWrite) {
    const std::string values[] = {std::string(100000, 'a'), std::string(100000, 'b')};
    const std::string contents[] = {"[T]\nK=" + values[0] + "\n", "[T]\nK=" + values[1] + "\n"};
    std::mt19937 random(15);
    using file_content::Temporaries;
    for (const Temporaries kind : {Temporaries::Unnamed, Temporaries::Named, Temporaries::UnnamedUnlinkable}) {
        SCOPED_TRACE(static_cast<int>(kind));
        file_content::SetTemporariesForTesting(kind);
        Put(contents[0]);
        for (int round = 0; round < 60; ++round) {
            const pid_t child = fork();
            if (child == 0) {
                for (size_t i = 1;; ++i) Write("T", "K", values[i % 2].c_str());
            }
            usleep(500 + random() % 4000);
            kill(child, SIGKILL);
            ASSERT_EQ(waitpid(child, nullptr, 0), child);
            const std::string now = folder_.Get(file_);
            ASSERT_TRUE(now == contents[0] || now == contents[1]) << "round " << round;
        }
        ASSERT_EQ(Write("T", "K", "done"), TRUE);
        EXPECT_EQ(folder_.Entries(), 1u);
    }
    file_content::SetTemporariesForTesting(Temporaries::Unnamed);
}

// Only our own leftovers go: regular files of ours with one link, under a name that a write of
// this file made, that no living writer holds. A name merely like ours is a user's or another
// program's file (a backup, rsync's file in flight, an editor's) and keeps its bytes.
TEST_F(Profile, ANextWriteRemovesOnlyTheLeftoversOfKilledWrites) {
    enum Leftover { Stale, Empty, Held, Link, Foreign, HardLink };
    using file_content::TemporaryName;
    std::string oneLetterOff = TemporaryName("Settings.ini");
    oneLetterOff.back() = oneLetterOff.back() == 'a' ? 'b' : 'a';
    const std::string victim = folder_.Put("victim", "keep");
    const struct {
        std::string name;
        Leftover kind;
        bool removed;
    } cases[] = {
        {TemporaryName("Settings.ini"), Stale, true},
        {TemporaryName("Settings.ini"), Empty, true},  // killed before its first byte
        {TemporaryName("Settings.ini"), Held, false},
        {TemporaryName("Settings.ini"), Link, false},
        {TemporaryName("Settings.ini"), Foreign, geteuid() != 0},
        {TemporaryName("Settings.ini"), HardLink, false},
        {TemporaryName("Settings.ini") + "x", Stale, false},
        {oneLetterOff, Stale, false},
        {TemporaryName("Other.ini"), Stale, false},
        {".Settings.ini.backup", Stale, false},
        {".Settings.ini.Ab12Cd", Stale, false},
        {".Settings.ini.DoYsDh", Empty, false},
        {".Settings.ini.tarnvault-backup", Stale, false},
    };
    int held = -1;
    for (const auto& c : cases) {
        const std::string path = folder_.path + "/" + c.name;
        if (c.kind == Link) {
            ASSERT_EQ(symlink(victim.c_str(), path.c_str()), 0);
        } else if (c.kind == HardLink) {
            ASSERT_EQ(link(victim.c_str(), path.c_str()), 0);
        } else {
            folder_.Put(c.name, c.kind == Empty ? "" : "[T]\nPassword=" + c.name + "\n");
        }
        if (c.kind == Held) {
            held = open(path.c_str(), O_RDONLY);
            ASSERT_EQ(flock(held, LOCK_EX), 0);
        }
        if (c.kind == Foreign && geteuid() == 0) {
            ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
        }
    }
    ASSERT_EQ(Write("T", "K", "v"), TRUE);
    close(held);
    for (const auto& c : cases) {
        const std::string path = folder_.path + "/" + c.name;
        struct stat info {};
        EXPECT_EQ(lstat(path.c_str(), &info) != 0, c.removed) << c.name;
        if (!c.removed && (c.kind == Stale || c.kind == Empty)) {
            const std::string bytes = c.kind == Empty ? "" : "[T]\nPassword=" + c.name + "\n";
            EXPECT_EQ(folder_.Get(path), bytes) << c.name;
        }
    }
    EXPECT_EQ(folder_.Get(victim), "keep");
}

// Another instance's clean-up may come upon a named temporary file in the moment between its
// making and its locking, and take it: the write goes on under another name and lands.
TEST_F(Profile, ACleanUpBetweenMakingAndLockingATemporaryFileLosesNoWrite) {
    using file_content::Temporaries;
    file_content::SetTemporariesForTesting(Temporaries::Named);
    int taken = 0;
    file_content::SetBeforeLockForTesting([&taken](int folder, const std::string&) {
        if (taken++ == 0) file_content::RemoveLeftovers(folder, "Settings.ini");
    });
    const BOOL written = Write("T", "K", "landed");
    file_content::SetBeforeLockForTesting({});
    file_content::SetTemporariesForTesting(Temporaries::Unnamed);
    EXPECT_EQ(written, TRUE);
    EXPECT_EQ(taken, 2) << "the first temporary file was not met";
    EXPECT_EQ(Read("T", "K"), "landed");
    EXPECT_EQ(folder_.Entries(), 1u);
}

// Two processes write one file at once on the named way, each cleaning up after every write,
// with the moment between making and locking a temporary file drawn out: no write fails.
TEST_F(Profile, TwoProcessesWritingOneFileLoseNoWrite) {
    using file_content::Temporaries;
    pid_t writers[2] = {};
    for (pid_t& writer : writers) {
        writer = fork();
        if (writer == 0) {
            file_content::SetTemporariesForTesting(Temporaries::Named);
            file_content::SetBeforeLockForTesting([](int, const std::string&) { usleep(300); });
            int failed = 0;
            for (int i = 0; i < 300; ++i) {
                failed += Write("T", "K", std::to_string(i).c_str()) != TRUE;
            }
            _exit(std::min(failed, 100));
        }
    }
    for (const pid_t writer : writers) {
        int status = 0;
        ASSERT_EQ(waitpid(writer, &status, 0), writer);
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "writes failed";
    }
    EXPECT_EQ(Read("T", "K"), "299");
    EXPECT_EQ(folder_.Entries(), 1u);
}

}  // namespace
