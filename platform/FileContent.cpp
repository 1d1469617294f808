// Whole-file reads and crash-safe replacement of a file's content.
#include "platform/FileContent.h"

#include <cerrno>
#include <exception>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/TemporaryFile.h"

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

// The folder that holds path, opened, and the file's name in it.
struct Place {
    Descriptor folder;
    std::string name;
};

bool OpenPlace(const std::string& path, Place& place) {
    const size_t slash = path.rfind('/');
    place.name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (place.name.empty() || place.name == "." || place.name == "..") {
        return false;
    }
    const std::string folder =
        slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    place.folder.fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return place.folder.fd >= 0;
}

// Nothing, a symbolic link (replaced, not followed: where it points does not matter) or a
// regular file that we may write may be replaced. A file its owner made read-only stays as it
// is, though the rename could replace it.
bool MayReplace(const Place& place, bool keepExisting) {
    struct stat existing {};
    if (fstatat(place.folder.fd, place.name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno == ENOENT;
    }
    if (keepExisting) {
        return false;
    }
    return S_ISLNK(existing.st_mode) ||
           (S_ISREG(existing.st_mode) &&
            faccessat(place.folder.fd, place.name.c_str(), W_OK, AT_SYMLINK_NOFOLLOW) == 0);
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

bool CopyAll(int from, int to) {
    std::vector<char> chunk(65536);
    for (;;) {
        const ssize_t got = read(from, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return got == 0;
        }
        if (!WriteAll(to, chunk.data(), static_cast<size_t>(got))) {
            return false;
        }
    }
}

bool ReplaceFile(const std::string& path, const std::function<bool(int fd)>& writeTo,
                 bool keepExisting) {
    Place place;
    if (!OpenPlace(path, place) || !MayReplace(place, keepExisting)) {
        return false;
    }
    bool done = false;
    {
        TemporaryFile temporary(place.folder.fd, place.name);
        if (!temporary.Create()) {
            return false;
        }
        try {
            done = writeTo(temporary.fd()) && fsync(temporary.fd()) == 0;
        } catch (const std::exception&) {
            done = false;  // out of memory while writing: the temporary file goes, the target stays
        }
        done = done && temporary.Commit(keepExisting);
    }
    if (done) {
        fsync(place.folder.fd);  // the rename itself reaches the disk; a failure here loses nothing
        RemoveLeftovers(place.folder.fd, place.name);
    }
    return done;
}

}  // namespace file_content
