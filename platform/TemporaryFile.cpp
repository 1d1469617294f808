// Temporary files beside the file they replace, and the removal of those that killed writes left.
#include "platform/TemporaryFile.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
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

constexpr std::string_view kSuffixLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr size_t kSuffixLength = 6;
constexpr int kNameAttempts = 100;

// ".<target>.XXXXXX", six random letters or digits.
std::string NewName(const std::string& target) {
    unsigned char random[kSuffixLength] = {};
    if (getrandom(random, sizeof random, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof random)) {
        // No entropy yet: the clock differs between attempts, and O_EXCL settles any clash.
        auto tick = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        for (unsigned char& byte : random) {
            byte = static_cast<unsigned char>(tick ^ static_cast<uint64_t>(getpid()));
            tick = tick * 6364136223846793005u + 1442695040888963407u;
        }
    }
    std::string name = "." + target + ".";
    for (const unsigned char byte : random) {
        name += kSuffixLetters[byte % kSuffixLetters.size()];
    }
    return name;
}

bool IsTemporaryName(std::string_view name, std::string_view target) {
    if (name.size() != target.size() + 2 + kSuffixLength || name.front() != '.' ||
        name.substr(1, target.size()) != target || name[target.size() + 1] != '.') {
        return false;
    }
    return std::all_of(name.end() - kSuffixLength, name.end(), [](char c) {
        return kSuffixLetters.find(c) != std::string_view::npos;
    });
}

// Owned by this process's user, mode 0600 whatever the umask, and locked until closed: the lock
// tells a leftover from a file still being written.
bool Prepare(int fd) {
    flock(fd, LOCK_EX | LOCK_NB);  // without locks a leftover is never removed: nothing is lost
    return fchmod(fd, S_IRUSR | S_IWUSR) == 0;
}

}  // namespace

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
        fd_ = openat(folder_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, S_IRUSR | S_IWUSR);
    }
    if (fd_ < 0 && !CreateNamed()) {
        return false;
    }
    return Prepare(fd_);
}

bool TemporaryFile::CreateNamed() {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = NewName(target_);
        fd_ = openat(folder_, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                     S_IRUSR | S_IWUSR);
        if (fd_ >= 0) {
            name_ = std::move(name);
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
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
        std::string name = NewName(target_);
        if (LinkUnnamed(name)) {
            name_ = std::move(name);
            return true;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    const int unnamed = std::exchange(fd_, -1);
    const bool copied = CreateNamed() && Prepare(fd_) && lseek(unnamed, 0, SEEK_SET) == 0 &&
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
        // The same file as looked at, and no living writer holds it.
        if (fstat(fd, &opened) == 0 && opened.st_dev == named.st_dev &&
            opened.st_ino == named.st_ino && flock(fd, LOCK_EX | LOCK_NB) == 0) {
            unlinkat(folder, name.c_str(), 0);
        }
        close(fd);
    }
}

void SetTemporariesForTesting(Temporaries kind) { g_temporaries = kind; }

}  // namespace file_content
