// The private-profile text format: reading one key of one section, and writing one in place.
#include "platform/Profile.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "foundation/DiskNames.h"
#include "platform/FileContent.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// One line of the file: its text without the line end, and where the next line starts.
struct Line {
    size_t start = 0, end = 0, next = 0;
};

Line LineAt(const std::string& text, size_t start) {
    Line line;
    line.start = start;
    const size_t lf = text.find('\n', start);
    if (lf == std::string::npos) {
        line.end = line.next = text.size();
        return line;
    }
    line.next = lf + 1;
    line.end = lf > start && text[lf - 1] == '\r' ? lf - 1 : lf;
    return line;
}

// A section line's name, or false when the line is not one.
bool SectionName(std::string_view line, std::string_view& name) {
    line = Trimmed(line);
    if (line.empty() || line.front() != '[') {
        return false;
    }
    line.remove_prefix(1);
    name = Trimmed(line.substr(0, line.find(']')));
    return true;
}

// Where a key stands in the file, or where it would go.
struct Place {
    bool sectionFound = false;
    bool keyFound = false;
    size_t valueStart = 0, valueEnd = 0;  // the value's bytes, when the key is found
    size_t insertAt = 0;                  // after the section's last non-blank line
};

// The first section of that name counts, and in it the first line of that key.
Place Find(const std::string& text, std::string_view section, std::string_view key) {
    Place place;
    section = Trimmed(section);
    key = Trimmed(key);
    bool inSection = false;
    for (size_t at = 0; at < text.size();) {
        const Line line = LineAt(text, at);
        at = line.next;
        const std::string_view content(text.data() + line.start, line.end - line.start);
        std::string_view name;
        if (SectionName(content, name)) {
            if (inSection) {
                break;
            }
            inSection = SameName(name, section);
            if (inSection) {
                place.sectionFound = true;
                place.insertAt = line.next;
            }
            continue;
        }
        if (!inSection) {
            continue;
        }
        if (!Trimmed(content).empty()) {
            place.insertAt = line.next;
        }
        const size_t equals = content.find('=');
        if (equals != std::string_view::npos && SameName(Trimmed(content.substr(0, equals)), key)) {
            place.keyFound = true;
            place.valueStart = line.start + equals + 1;
            place.valueEnd = line.end;
            return place;
        }
    }
    return place;
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// A section or key that could not be read back as written is refused.
bool Writable(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view name = Trimmed(key);
    return !HasLineBreak(section) && section.find(']') == std::string_view::npos &&
           !HasLineBreak(key) && key.find('=') == std::string_view::npos && !name.empty() &&
           name.front() != '[' && !HasLineBreak(value);
}

}  // namespace

DWORD GetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                              char* buffer, DWORD size, const char* fileName) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    std::string text;
    std::string_view value = defaultValue != nullptr ? defaultValue : "";
    if (section != nullptr && key != nullptr && fileName != nullptr &&
        file_content::ReadRegularFile(disk_names::ToDisk(fileName), text) ==
            file_content::ReadStatus::Read) {
        const Place place = Find(text, section, key);
        if (place.keyFound) {
            value = std::string_view(text).substr(place.valueStart,
                                                 place.valueEnd - place.valueStart);
        }
    }
    const size_t count = std::min<size_t>(value.size(), size - 1);
    std::memcpy(buffer, value.data(), count);
    buffer[count] = '\0';
    return static_cast<DWORD>(count);
}

BOOL WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const char* fileName) {
    if (section == nullptr || key == nullptr || value == nullptr || fileName == nullptr ||
        !Writable(section, key, value)) {
        return FALSE;
    }
    try {
        const std::string diskName = disk_names::ToDisk(fileName);
        std::string text;
        if (file_content::ReadRegularFile(diskName, text) == file_content::ReadStatus::Unreadable) {
            return FALSE;
        }
        // New lines follow the file's own line ends: a file from the original platform keeps CR LF.
        const size_t firstLf = text.find('\n');
        const char* lineEnd = firstLf != std::string::npos && firstLf > 0 && text[firstLf - 1] == '\r'
                                  ? "\r\n"
                                  : "\n";
        const std::string keyLine = std::string(key) + "=" + value + lineEnd;
        const Place place = Find(text, section, key);
        if (place.keyFound) {
            text.replace(place.valueStart, place.valueEnd - place.valueStart, value);
        } else {
            const size_t at = place.sectionFound ? place.insertAt : text.size();
            // A last line without a line end gets one that leaves its text as it reads: after a
            // bare CR, a lone LF would join it into a CR LF end and drop the CR from its value.
            std::string added;
            if (at > 0 && text[at - 1] != '\n') {
                added.append(text[at - 1] == '\r' ? "\r\n" : lineEnd);
            }
            if (!place.sectionFound) {
                added.append("[").append(section).append("]").append(lineEnd);
            }
            text.insert(at, added.append(keyLine));
        }
        return file_content::ReplaceFile(diskName, [&text](int fd) {
                   return file_content::WriteAll(fd, text.data(), text.size());
               })
                   ? TRUE
                   : FALSE;
    } catch (const std::exception&) {
        return FALSE;  // a file too large to hold twice in memory stays as it was
    }
}
