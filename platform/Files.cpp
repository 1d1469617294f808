// Folder lookup, existence tests, folder creation and file copying.
#include "platform/Files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "foundation/DiskNames.h"
#include "platform/FileContent.h"

namespace {

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        return home;
    }
    std::vector<char> scratch(16384);
    passwd entry {};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, scratch.data(), scratch.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return {};
}

// The value of XDG_DOCUMENTS_DIR in a user-dirs.dirs text: a quoted path, absolute or starting
// with $HOME, backslash escaping the next character. The last assignment counts, as when the
// shell reads the file. Empty when the file does not set it usably.
std::string DocumentsFromUserDirs(const std::string& text, const std::string& home) {
    static constexpr std::string_view kName = "XDG_DOCUMENTS_DIR";
    std::string found;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string_view line(text.data() + at, end - at);
        at = end + 1;
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
            line.remove_prefix(1);
        }
        if (line.substr(0, kName.size()) != kName) {
            continue;
        }
        line.remove_prefix(kName.size());
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
            line.remove_prefix(1);
        }
        if (line.substr(0, 2) != "=\"") {
            continue;
        }
        line.remove_prefix(2);
        std::string path;
        if (line.substr(0, 5) == "$HOME" && (line.size() == 5 || line[5] == '/' || line[5] == '"')) {
            if (home.empty()) {
                continue;
            }
            path = home;
            line.remove_prefix(5);
        } else if (line.empty() || line.front() != '/') {
            continue;  // neither absolute nor under $HOME: not a usable setting
        }
        bool closed = false;
        for (size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '"') {
                closed = true;
                break;
            }
            if (line[i] == '\\' && i + 1 < line.size()) {
                ++i;
            }
            path.push_back(line[i]);
        }
        if (closed) {
            found = std::move(path);
        }
    }
    return found;
}

std::string DocumentsFolder() {
    const std::string home = HomeFolder();
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        config = xdg;
    } else if (!home.empty()) {
        config = home + "/.config";
    }
    std::string text;
    if (!config.empty() && file_content::ReadRegularFile(config + "/user-dirs.dirs", text) ==
                               file_content::ReadStatus::Read) {
        if (std::string documents = DocumentsFromUserDirs(text, home); !documents.empty()) {
            return documents;
        }
    }
    return home.empty() ? std::string() : home + "/Documents";
}

// Makes every missing folder along path (0700), as the Documents folder is expected to exist.
bool MakeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (!part.empty() && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            break;
        }
    }
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The program's name for a folder: its own when Windows-1252 holds it within a path buffer,
// else this process's handle on it, /proc/self/fd/<n>, which names the same folder in plain
// ASCII for the process's life (also when the folder is renamed). Empty when neither serves.
std::string ProgramFolderName(const std::string& disk) {
    std::string name;
    if (disk_names::FromDisk(disk, name) && name.size() < static_cast<size_t>(MAX_PATH)) {
        return name;
    }
    static struct {
        std::string disk;
        int fd = -1;
    } held;
    if (held.fd < 0 || held.disk != disk) {
        const int fd = open(disk.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            return {};
        }
        if (held.fd >= 0) {
            close(held.fd);
        }
        held.disk = disk;
        held.fd = fd;
    }
    name = "/proc/self/fd/" + std::to_string(held.fd);
    return PathIsDirectory(name.c_str()) ? name : std::string();  // no /proc here
}

}  // namespace

HRESULT SHGetFolderPath(void*, int folder, void*, DWORD, char* path) {
    if (folder != CSIDL_COMMON_DOCUMENTS || path == nullptr) {
        return E_FAIL;
    }
    std::string documents = DocumentsFolder();
    while (documents.size() > 1 && documents.back() == '/') {
        documents.pop_back();
    }
    if (documents.empty() || documents.find('\0') != std::string::npos || !MakeFolders(documents)) {
        return E_FAIL;
    }
    const std::string name = ProgramFolderName(documents);
    if (name.empty()) {
        return E_FAIL;
    }
    std::memcpy(path, name.c_str(), name.size() + 1);
    return S_OK;
}

BOOL PathIsDirectory(const char* path) {
    struct stat info {};
    const bool folder =
        path != nullptr && stat(disk_names::ToDisk(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    return folder ? TRUE : FALSE;
}

BOOL CopyFile(const char* source, const char* target, BOOL failIfExists) {
    if (source == nullptr || target == nullptr) {
        return FALSE;
    }
    const int from =
        open(disk_names::ToDisk(source).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (from < 0) {
        return FALSE;
    }
    struct stat info {};
    bool copied = false;
    if (fstat(from, &info) == 0 && S_ISREG(info.st_mode)) {
        copied = file_content::ReplaceFile(
            disk_names::ToDisk(target), [from](int to) { return file_content::CopyAll(from, to); },
            failIfExists != FALSE);
    }
    close(from);
    return copied ? TRUE : FALSE;
}

namespace crt {

int _access(const char* path, int mode) {
    int how = F_OK;
    if (mode == 2) {
        how = W_OK;
    } else if (mode == 4) {
        how = R_OK;
    } else if (mode == 6) {
        how = R_OK | W_OK;
    } else if (mode != 0) {
        errno = EINVAL;
        return -1;
    }
    return path != nullptr && access(disk_names::ToDisk(path).c_str(), how) == 0 ? 0 : -1;
}

int _mkdir(const char* path) {
    return path != nullptr && mkdir(disk_names::ToDisk(path).c_str(), 0700) == 0 ? 0 : -1;
}

}  // namespace crt
