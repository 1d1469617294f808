// Whole-file reads and crash-safe replacement of a file's content.
#include "platform/FileContent.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <exception>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace file_content {
namespace {

struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) {
            close(fd);
        }
    }
};

// A symbolic link is replaced through the file it names, so the link stays a link.
std::string ResolvedTarget(const std::string& path) {
    struct stat link {};
    if (lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char* real = realpath(path.c_str(), nullptr)) {
            std::string resolved = real;
            free(real);
            return resolved;
        }
    }
    return path;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

void SyncFolder(const std::string& folder) {
    Descriptor dir;
    dir.fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir.fd >= 0) {
        fsync(dir.fd);  // the rename itself reaches the disk; a failure here loses nothing
    }
}

}  // namespace

ReadStatus ReadRegularFile(const std::string& path, std::string& bytes) {
    Descriptor file;
    file.fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (file.fd < 0) {
        return errno == ENOENT || errno == ENOTDIR ? ReadStatus::Missing : ReadStatus::Unreadable;
    }
    struct stat info {};
    if (fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return ReadStatus::Unreadable;
    }
    try {
        std::string content;
        std::vector<char> chunk(65536);
        for (;;) {
            const ssize_t got = read(file.fd, chunk.data(), chunk.size());
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return ReadStatus::Unreadable;
            }
            if (got == 0) {
                break;
            }
            content.append(chunk.data(), static_cast<size_t>(got));
        }
        bytes = std::move(content);
    } catch (const std::exception&) {
        return ReadStatus::Unreadable;  // too large to hold in memory
    }
    return ReadStatus::Read;
}

bool WriteAll(int fd, const char* bytes, size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, bytes, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

bool ReplaceFile(const std::string& path, const std::function<bool(int fd)>& writeTo,
                 bool keepExisting) {
    if (path.empty()) {
        return false;
    }
    const std::string target = ResolvedTarget(path);
    mode_t mode = S_IRUSR | S_IWUSR;
    struct stat existing {};
    if (stat(target.c_str(), &existing) == 0) {
        // A file its owner made read-only stays as it is, though the rename could replace it.
        if (keepExisting || !S_ISREG(existing.st_mode) || access(target.c_str(), W_OK) != 0) {
            return false;
        }
        mode = existing.st_mode & 07777;
    } else if (errno != ENOENT) {
        return false;
    }

    const std::string folder = FolderOf(target);
    const size_t slash = target.rfind('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temporary = (folder == "/" ? "" : folder) + "/." + name + ".XXXXXX";
    if (temporary.size() >= PATH_MAX) {
        return false;
    }
    std::vector<char> pattern(temporary.begin(), temporary.end());
    pattern.push_back('\0');
    const int fd = mkstemp(pattern.data());  // made 0600, whatever the umask
    if (fd < 0) {
        return false;
    }
    temporary.assign(pattern.data());
    bool done = false;
    try {
        done = fchmod(fd, mode) == 0 && writeTo(fd) && fsync(fd) == 0;
    } catch (const std::exception&) {
        done = false;  // out of memory while writing: the temporary file goes, the target stays
    }
    done = close(fd) == 0 && done;
    if (done) {
        if (keepExisting) {
            // A link fails when the target appeared meanwhile, so nothing is replaced.
            done = link(temporary.c_str(), target.c_str()) == 0;
        } else {
            done = rename(temporary.c_str(), target.c_str()) == 0;
        }
    }
    if (!done || keepExisting) {
        unlink(temporary.c_str());
    }
    if (done) {
        SyncFolder(folder);
    }
    return done;
}

}  // namespace file_content
