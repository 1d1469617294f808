// Temporary files beside the file they replace, and the removal of those that killed writes left.
#include "platform/TemporaryFile.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "platform/FileContent.h"

namespace file_content {
namespace {

Temporaries g_temporaries = Temporaries::Unnamed;
std::function<void(int, const std::string&)> g_beforeLock;

constexpr std::string_view kLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::string_view kTag = "tarnvault-";
constexpr size_t kRandomLength = 8;
constexpr size_t kCheckLength = 4;
constexpr int kNameAttempts = 100;

// FNV-1a over the target and the random letters, written as letters: a name's own check.
std::string CheckLetters(std::string_view target, std::string_view random) {
    uint64_t hash = 14695981039346656037u;
    for (const std::string_view part : {target, std::string_view("/"), random}) {
        for (const unsigned char byte : part) {
            hash = (hash ^ byte) * 1099511628211u;
        }
    }
    std::string letters;
    for (size_t i = 0; i < kCheckLength; ++i, hash /= kLetters.size()) {
        letters += kLetters[hash % kLetters.size()];
    }
    return letters;
}

std::string NamePrefix(std::string_view target) {
    std::string prefix = ".";
    prefix.append(target).append(".").append(kTag);
    return prefix;
}

bool IsTemporaryName(std::string_view name, std::string_view target) {
    const std::string prefix = NamePrefix(target);
    if (name.size() != prefix.size() + kRandomLength + kCheckLength || !name.starts_with(prefix)) {
        return false;
    }
    const std::string_view random = name.substr(prefix.size(), kRandomLength);
    return std::all_of(random.begin(), random.end(),
                       [](char c) { return kLetters.find(c) != std::string_view::npos; }) &&
           name.substr(prefix.size() + kRandomLength) == CheckLetters(target, random);
}

// Whether name in folder stands for the open file fd, not for another file or for nothing.
bool NameStandsFor(int folder, const std::string& name, int fd) {
    struct stat named {};
    struct stat opened {};
    return fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           fstat(fd, &opened) == 0 && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino;
}

// Takes the lock that tells a living writer's file from a leftover. False only when another
// process holds it; where the file system has no locks, no clean-up can take the file either.
bool Lock(int fd) {
    return flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
}

// Owned by this process's user and mode 0600 whatever the umask.
bool MakePrivate(int fd) { return fchmod(fd, S_IRUSR | S_IWUSR) == 0; }

}  // namespace

std::string TemporaryName(const std::string& target) {
    unsigned char bytes[kRandomLength] = {};
    if (getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bytes)) {
        // No entropy yet: the clock differs between attempts, and O_EXCL settles any clash.
        auto tick = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        for (unsigned char& byte : bytes) {
            byte = static_cast<unsigned char>(tick ^ static_cast<uint64_t>(getpid()));
            tick = tick * 6364136223846793005u + 1442695040888963407u;
        }
    }
    std::string random;
    for (const unsigned char byte : bytes) {
        random += kLetters[byte % kLetters.size()];
    }
    return NamePrefix(target) + random + CheckLetters(target, random);
}

TemporaryFile::TemporaryFile(int folder, std::string target)
    : folder_(folder), target_(std::move(target)) {}

TemporaryFile::~TemporaryFile() {
    if (!name_.empty()) {
        unlinkat(folder_, name_.c_str(), 0);
    }
    if (fd_ >= 0) {
        close(fd_);
    }
}

bool TemporaryFile::Create() {
    if (g_temporaries != Temporaries::Named) {
        // Locked before it has a name, so no clean-up ever finds it unlocked.
        fd_ = openat(folder_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, S_IRUSR | S_IWUSR);
        if (fd_ >= 0) {
            Lock(fd_);
            return MakePrivate(fd_);
        }
    }
    return CreateNamed();
}

// Another instance's clean-up may meet a named file between its making and its locking. It is
// ours to write only once we hold its lock and its name still stands for it; until then it holds
// no byte, so one taken away or held is left to that clean-up and made anew under another name.
bool TemporaryFile::CreateNamed() {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = TemporaryName(target_);
        const int fd = openat(folder_, name.c_str(),
                              O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR);
        if (fd < 0) {
            if (errno != EEXIST) {
                return false;
            }
            continue;
        }
        if (g_beforeLock) {
            g_beforeLock(folder_, name);
        }
        if (Lock(fd) && NameStandsFor(folder_, name, fd)) {
            fd_ = fd;
            name_ = std::move(name);
            return MakePrivate(fd_);
        }
        if (NameStandsFor(folder_, name, fd)) {
            unlinkat(folder_, name.c_str(), 0);
        }
        close(fd);
    }
    return false;
}

bool TemporaryFile::LinkUnnamed(const std::string& name) const {
    if (g_temporaries == Temporaries::UnnamedUnlinkable) {
        errno = ENOENT;
        return false;
    }
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    if (linkat(AT_FDCWD, self.c_str(), folder_, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return true;
    }
    // Without /proc the descriptor itself may still be linked: by a privileged process, and on
    // newer kernels by the process that opened it.
    return errno != EEXIST && linkat(fd_, "", folder_, name.c_str(), AT_EMPTY_PATH) == 0;
}

// The unnamed file gets a temporary name, just before the rename; where the folder cannot link
// it in, its bytes go into a named temporary file instead.
bool TemporaryFile::NameUnnamed() {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = TemporaryName(target_);
        if (LinkUnnamed(name)) {
            name_ = std::move(name);
            return true;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    const int unnamed = std::exchange(fd_, -1);
    const bool copied = CreateNamed() && lseek(unnamed, 0, SEEK_SET) == 0 &&
                        CopyAll(unnamed, fd_) && fsync(fd_) == 0;
    close(unnamed);
    return copied;
}

bool TemporaryFile::Commit(bool keepExisting) {
    if (name_.empty()) {
        if (keepExisting && LinkUnnamed(target_)) {
            return true;
        }
        if ((keepExisting && errno == EEXIST) || !NameUnnamed()) {
            return false;
        }
    }
    if (keepExisting) {
        // A link fails when any name, even a dangling link, stands at the target.
        return linkat(folder_, name_.c_str(), folder_, target_.c_str(), 0) == 0;
    }
    if (renameat(folder_, name_.c_str(), folder_, target_.c_str()) != 0) {
        return false;
    }
    name_.clear();
    return true;
}

void RemoveLeftovers(int folder, const std::string& target) {
    const int listing = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* entries = listing >= 0 ? fdopendir(listing) : nullptr;
    if (entries == nullptr) {
        if (listing >= 0) {
            close(listing);
        }
        return;
    }
    std::vector<std::string> found;
    while (const dirent* entry = readdir(entries)) {
        if (IsTemporaryName(entry->d_name, target)) {
            found.emplace_back(entry->d_name);
        }
    }
    closedir(entries);

    for (const std::string& name : found) {
        struct stat named {};
        if (fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(named.st_mode) || named.st_uid != geteuid() || named.st_nlink != 1) {
            continue;
        }
        const int fd = openat(folder, name.c_str(),
                              O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        struct stat opened {};
        // The same file as looked at, no living writer holds it, and the name still stands for it.
        if (fstat(fd, &opened) == 0 && opened.st_dev == named.st_dev &&
            opened.st_ino == named.st_ino && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            NameStandsFor(folder, name, fd)) {
            unlinkat(folder, name.c_str(), 0);
        }
        close(fd);
    }
}

void SetTemporariesForTesting(Temporaries kind) { g_temporaries = kind; }

void SetBeforeLockForTesting(std::function<void(int folder, const std::string& name)> action) {
    g_beforeLock = std::move(action);
}

}  // namespace file_content
