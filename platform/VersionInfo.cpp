// The version calls: the program file's path, and its version note read back from the ELF file.
#include "platform/VersionInfo.h"

#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "foundation/DiskNames.h"

namespace {

// An open file read by offset, every read checked against the file's size.
class ElfFile {
public:
    explicit ElfFile(const char* path) {
        fd_ = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        struct stat info {};
        if (fd_ >= 0 && fstat(fd_, &info) == 0 && S_ISREG(info.st_mode)) {
            size_ = static_cast<uint64_t>(info.st_size);
        }
    }
    ~ElfFile() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    ElfFile(const ElfFile&) = delete;
    ElfFile& operator=(const ElfFile&) = delete;

    bool Read(uint64_t offset, uint64_t count, std::vector<uint8_t>& bytes) const {
        if (offset > size_ || count > size_ - offset) {
            return false;
        }
        bytes.resize(count);
        for (uint64_t done = 0; done < count;) {
            const ssize_t got = pread(fd_, bytes.data() + done, count - done,
                                      static_cast<off_t>(offset + done));
            if (got <= 0) {
                return false;
            }
            done += static_cast<uint64_t>(got);
        }
        return true;
    }

private:
    int fd_ = -1;
    uint64_t size_ = 0;
};

uint16_t LoadLE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t LoadLE32(const uint8_t* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

uint64_t LoadLE64(const uint8_t* p) { return LoadLE32(p) | (uint64_t{LoadLE32(p + 4)} << 32); }

constexpr uint32_t kSectionNote = 7;      // SHT_NOTE
constexpr uint32_t kSegmentNote = 4;      // PT_NOTE
constexpr uint64_t kNoteBudget = 1 << 20;  // bytes of notes read at most, so a hostile file is quick

// Our note in one area of notes, each note padded to align bytes.
std::optional<VS_FIXEDFILEINFO> FindInNotes(const std::vector<uint8_t>& notes, uint64_t align) {
    align = align == 8 ? 8 : 4;
    const auto padded = [align](uint64_t n) { return (n + align - 1) / align * align; };
    for (uint64_t at = 0; notes.size() - at >= 12;) {
        const uint64_t nameSize = LoadLE32(&notes[at]);
        const uint64_t descriptorSize = LoadLE32(&notes[at + 4]);
        const uint32_t type = LoadLE32(&notes[at + 8]);
        const uint64_t name = at + 12;
        const uint64_t descriptor = name + padded(nameSize);
        if (padded(nameSize) > notes.size() - name ||
            padded(descriptorSize) > notes.size() - descriptor) {
            return std::nullopt;
        }
        if (type == kVersionNoteType && nameSize == sizeof kVersionNoteName &&
            std::memcmp(&notes[name], kVersionNoteName, sizeof kVersionNoteName) == 0 &&
            descriptorSize == kFixedFileInfoWords * 4 &&
            LoadLE32(&notes[descriptor]) == kFixedFileInfoSignature) {
            uint32_t words[kFixedFileInfoWords];
            for (uint32_t i = 0; i < kFixedFileInfoWords; ++i) {
                words[i] = LoadLE32(&notes[descriptor + 4 * i]);
            }
            VS_FIXEDFILEINFO info {};
            static_assert(sizeof info == sizeof words);
            std::memcpy(&info, words, sizeof info);
            return info;
        }
        at = descriptor + padded(descriptorSize);
    }
    return std::nullopt;
}

// The version note of a 64-bit little-endian ELF file, looked for in its note sections, or in
// its note segments when the section table is gone.
std::optional<VS_FIXEDFILEINFO> ReadVersionNote(const char* path) {
    if (path == nullptr) {
        return std::nullopt;
    }
    const ElfFile file(disk_names::ToDisk(path).c_str());
    std::vector<uint8_t> header;
    if (!file.Read(0, 64, header) || std::memcmp(header.data(), "\x7F" "ELF", 4) != 0 ||
        header[4] != 2 || header[5] != 1) {
        return std::nullopt;
    }
    const struct {
        uint64_t tableOffset;
        uint16_t entrySize, count;
        size_t typeAt, offsetAt, sizeAt, alignAt;
        uint32_t noteType;
    } tables[] = {
        {LoadLE64(&header[0x28]), LoadLE16(&header[0x3A]), LoadLE16(&header[0x3C]), 4, 24, 32, 48,
         kSectionNote},
        {LoadLE64(&header[0x20]), LoadLE16(&header[0x36]), LoadLE16(&header[0x38]), 0, 8, 32, 48,
         kSegmentNote},
    };
    std::vector<uint8_t> entry, notes;
    uint64_t budget = kNoteBudget;
    for (const auto& table : tables) {
        if (table.entrySize < table.alignAt + 8) {
            continue;
        }
        for (uint16_t i = 0; i < table.count; ++i) {
            if (!file.Read(table.tableOffset + uint64_t{i} * table.entrySize, table.entrySize,
                           entry)) {
                break;
            }
            const uint64_t size = LoadLE64(&entry[table.sizeAt]);
            if (LoadLE32(&entry[table.typeAt]) != table.noteType) {
                continue;
            }
            if (size > budget) {
                return std::nullopt;
            }
            budget -= size;
            if (!file.Read(LoadLE64(&entry[table.offsetAt]), size, notes)) {
                continue;
            }
            if (const auto info = FindInNotes(notes, LoadLE64(&entry[table.alignAt]))) {
                return info;
            }
        }
    }
    return std::nullopt;
}

}  // namespace

DWORD GetModuleFileName(HMODULE module, char* fileName, DWORD size) {
    if (module != nullptr || fileName == nullptr || size == 0) {
        return 0;
    }
    std::vector<char> disk(4096);
    const ssize_t got = readlink("/proc/self/exe", disk.data(), disk.size());
    if (got <= 0 || static_cast<size_t>(got) >= disk.size()) {
        return 0;
    }
    // A name that Windows-1252 cannot hold is given by the name that always names the file.
    std::string path = "/proc/self/exe";
    disk_names::FromDisk(std::string_view(disk.data(), static_cast<size_t>(got)), path);
    const DWORD length = static_cast<DWORD>(path.size());
    // A path that does not fit is cut and NUL-terminated, and reports the size given.
    const DWORD count = length < size ? length : size - 1;
    std::memcpy(fileName, path.data(), count);
    fileName[count] = '\0';
    return length < size ? count : size;
}

DWORD GetFileVersionInfoSize(const char* fileName, DWORD* handle) {
    if (handle != nullptr) {
        *handle = 0;
    }
    return ReadVersionNote(fileName) ? sizeof(VS_FIXEDFILEINFO) : 0;
}

BOOL GetFileVersionInfo(const char* fileName, DWORD, DWORD size, void* data) {
    if (data == nullptr || size < sizeof(VS_FIXEDFILEINFO)) {
        return FALSE;
    }
    const auto info = ReadVersionNote(fileName);
    if (!info) {
        return FALSE;
    }
    std::memcpy(data, &*info, sizeof *info);
    return TRUE;
}

BOOL VerQueryValue(const void* block, const char* subBlock, void** buffer, UINT* length) {
    if (block == nullptr || subBlock == nullptr || buffer == nullptr || length == nullptr ||
        std::string_view(subBlock) != "\\") {
        return FALSE;
    }
    VS_FIXEDFILEINFO info {};
    std::memcpy(&info, block, sizeof info);
    if (info.dwSignature != kFixedFileInfoSignature) {
        return FALSE;
    }
    *buffer = const_cast<void*>(block);
    *length = sizeof(VS_FIXEDFILEINFO);
    return TRUE;
}
