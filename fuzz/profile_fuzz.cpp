// Drives the private-profile reader and writer over any file content. The input is split at NUL
// bytes: the first part is a flags byte and the file's content, each further part one read or
// write (see Operation). After every write the written key reads back as written (cut to the
// buffer), every other key reads as before, the file is a regular file of ours with mode 0600
// and no temporary file is left in the folder, while files whose names merely look like the
// temporary files keep their bytes; a refused write leaves the file's bytes as they were. The
// file lives in a private folder on tmpfs when there is one.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Profile.h"
#include "platform/TemporaryFile.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kMaxNames = 16;
constexpr size_t kMaxOperations = 12;
constexpr DWORD kWholeValue = 1 << 16;  // more than any value of an input

[[noreturn]] void Fail(const char* what, const std::string& detail = {}) {
  std::fprintf(stderr, "profile fuzz: %s %s\n", what, detail.c_str());
  std::abort();
}

void Check(bool holds, const char* what, const std::string& detail = {}) {
  if (!holds) Fail(what, detail);
}

// One folder a process, named after it; a session that crashed or was stopped leaves its folder,
// which the next one removes.
struct Folder {
  static constexpr std::string_view kPrefix = "tarnvault-profile-fuzz.";
  fs::path path;
  Folder() {
    for (const char* base : {"/dev/shm", "/tmp"}) {
      std::error_code error;
      if (!fs::is_directory(base, error) || access(base, W_OK) != 0) continue;
      for (const fs::directory_entry& entry : fs::directory_iterator(base, error)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(kPrefix) && kill(std::atoi(name.c_str() + kPrefix.size()), 0) != 0 &&
            errno == ESRCH) {
          fs::remove_all(entry.path(), error);
        }
      }
      path = fs::path(base) / (std::string(kPrefix) + std::to_string(getpid()));
      fs::remove_all(path, error);
      if (mkdir(path.c_str(), 0700) == 0) return;
    }
    Fail("no temporary folder");
  }
  ~Folder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
};

const Folder& Private() {
  static const Folder folder;
  return folder;
}

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void Put(const fs::path& file, std::string_view bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(),
                                                                static_cast<std::streamsize>(bytes.size()));
}

size_t Entries(const fs::path& folder) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

// Files beside the settings file that another program or the user made, with names like those
// of the writer's temporary files: a backup, rsync's file in flight, a name of ours that is one
// letter off, another file's.
struct LookAlikes {
  std::vector<std::pair<fs::path, std::string>> files;

  void Plant(const fs::path& folder) {
    std::string oneOff = file_content::TemporaryName("Settings.ini");
    oneOff.back() = oneOff.back() == '0' ? '1' : '0';
    const std::string names[] = {".Settings.ini.backup", ".Settings.ini.Xy0123",
                                 ".Settings.ini.tarnvault-Ab12Cd34Ef56", oneOff,
                                 file_content::TemporaryName("Other.ini")};
    for (const std::string& name : names) {
      files.emplace_back(folder / name, "a look-alike: " + name);
      Put(files.back().first, files.back().second);
    }
  }
  void CheckKept() const {
    for (const auto& [path, bytes] : files) {
      Check(Bytes(path) == bytes, "a look-alike was touched", path);
    }
  }
};

// A name as the profile functions compare it: blanks around it do not count, nor ASCII case.
std::string Canonical(std::string_view name) {
  const size_t first = name.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  name = name.substr(first, name.find_last_not_of(" \t") - first + 1);
  std::string canonical(name);
  for (char& c : canonical) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return canonical;
}

struct Name {
  std::string section, key;
  bool Is(const Name& other) const {
    return Canonical(section) == Canonical(other.section) && Canonical(key) == Canonical(other.key);
  }
};

std::string Read(const Name& name, const fs::path& file, DWORD size = kWholeValue) {
  std::string buffer(size, '\x7F');
  const DWORD count = GetPrivateProfileString(name.section.c_str(), name.key.c_str(), "\x01none",
                                              buffer.data(), size, file.c_str());
  Check(count < size && buffer[count] == '\0', "read past its buffer");
  return buffer.substr(0, count);
}

// The sections and keys that the file's lines name, as a reader might ask for them.
void CollectNames(std::string_view content, std::vector<Name>& names) {
  std::string section;
  size_t at = 0;
  while (at < content.size() && names.size() < kMaxNames) {
    size_t end = content.find('\n', at);
    if (end == std::string_view::npos) end = content.size();
    const std::string_view line = content.substr(at, end - at);
    at = end + 1;
    const size_t first = line.find_first_not_of(" \t");
    if (first != std::string_view::npos && line[first] == '[') {
      const std::string_view inside = line.substr(first + 1);
      section = std::string(inside.substr(0, inside.find(']')));
    } else if (const size_t equals = line.find('='); equals != std::string_view::npos) {
      names.push_back({section, std::string(line.substr(0, equals))});
    }
  }
}

// The same name as the file or an earlier operation holds it, in other letter case or with
// blanks around it.
std::string Varied(std::string name, uint8_t how) {
  if (how & 1) {
    for (char& c : name) {
      if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) c = static_cast<char>(c ^ 0x20);
    }
  }
  if (how & 2) name = " \t" + name;
  if (how & 4) name += "\t ";
  return name;
}

// A write that the format can hold must succeed: no line break anywhere, no ']' in the section,
// a key with no '=' that is not blank and does not start like a section line.
bool Storable(const Name& name, std::string_view value) {
  const auto breaks = [](std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; };
  const std::string key = Canonical(name.key);
  return !breaks(name.section) && name.section.find(']') == std::string::npos && !breaks(name.key) &&
         name.key.find('=') == std::string::npos && !key.empty() && key[0] != '[' && !breaks(value);
}

// One operation: a code byte (low bit clear: read, set: write), a buffer size byte, a byte that
// varies a name taken from the others, then "section\x01key\x01value"; a part that is missing
// is taken from the names already known.
void Run(std::string_view operation, std::vector<Name>& names, std::vector<std::string>& values,
         const fs::path& file, const fs::path& victim, const std::string& victimBytes,
         const LookAlikes& lookAlikes) {
  if (operation.size() < 3) return;
  const bool write = (operation[0] & 1) != 0;
  const DWORD size = static_cast<uint8_t>(operation[1]) + 1u;
  const auto how = static_cast<uint8_t>(operation[2]);
  std::vector<std::string> parts;
  for (std::string_view rest = operation.substr(3);;) {
    const size_t cut = rest.find('\x01');
    parts.emplace_back(rest.substr(0, cut));
    if (cut == std::string_view::npos) break;
    rest = rest.substr(cut + 1);
  }
  Name name;
  if (parts.size() >= 2 || names.empty()) {
    name = {parts[0], parts.size() >= 2 ? parts[1] : parts[0]};
  } else {
    const Name& known = names[how % names.size()];
    name = {Varied(known.section, how >> 3), Varied(known.key, how >> 5)};
  }
  const std::string value = parts.size() >= 3 ? parts[2] : parts.back();

  if (!write) {
    const std::string whole = Read(name, file);
    Check(Read(name, file, size) == whole.substr(0, size - 1), "a read is not cut to its buffer");
    return;
  }
  const std::string before = Bytes(file);
  const size_t entriesBefore = Entries(file.parent_path());
  const BOOL written = WritePrivateProfileString(name.section.c_str(), name.key.c_str(),
                                                 value.c_str(), file.c_str());
  if (!victim.empty()) Check(Bytes(victim) == victimBytes, "written through a link");
  lookAlikes.CheckKept();
  if (written == FALSE) {
    Check(!Storable(name, value), "a storable write failed", name.section + "/" + name.key);
    Check(Bytes(file) == before && Entries(file.parent_path()) == entriesBefore,
          "a refused write changed the folder");
    return;
  }
  Check(Entries(file.parent_path()) == (victim.empty() ? 1u : 2u) + lookAlikes.files.size(),
        "a temporary file is left");
  struct stat info {};
  Check(lstat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 07777) == 0600 &&
            info.st_uid == geteuid(),
        "the file is not a private regular file of ours");
  const std::string stored = value.c_str();
  Check(Read(name, file, size) == stored.substr(0, size - 1), "the written key reads otherwise");
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string now = Read(names[i], file);
    if (names[i].Is(name)) {
      Check(now == stored, "the same key named otherwise reads otherwise");
    } else {
      Check(now == values[i], "another key changed", names[i].section + "/" + names[i].key);
    }
    values[i] = now;
  }
  if (names.size() < kMaxNames) {
    names.push_back(name);
    values.push_back(stored);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const uint8_t flags = data[0];
  std::vector<std::string_view> parts;
  for (std::string_view rest = input.substr(1);;) {
    const size_t cut = rest.find('\0');
    parts.push_back(rest.substr(0, cut));
    if (cut == std::string_view::npos || parts.size() > kMaxOperations) break;
    rest = rest.substr(cut + 1);
  }

  const fs::path& folder = Private().path;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) fs::remove(entry.path());
  const fs::path file = folder / "Settings.ini";
  fs::path victim;
  std::string victimBytes;
  if (flags & 1) {  // the file's name is a link to the content: it is replaced, never followed
    victim = folder / "victim";
    victimBytes = std::string(parts[0]);
    Put(victim, victimBytes);
    fs::create_symlink("victim", file);
  } else if (!(flags & 2) || !parts[0].empty()) {
    Put(file, parts[0]);
    chmod(file.c_str(), flags & 4 ? 0666 : 0644);
  }
  if (flags & 8) Put(folder / file_content::TemporaryName("Settings.ini"), "a copy a killed write left");
  LookAlikes lookAlikes;
  if (flags & 16) lookAlikes.Plant(folder);

  std::vector<Name> names;
  CollectNames(parts[0], names);
  std::vector<std::string> values;
  for (const Name& name : names) values.push_back(Read(name, file));
  for (size_t i = 1; i < parts.size(); ++i) {
    Run(parts[i], names, values, file, victim, victimBytes, lookAlikes);
  }
  return 0;
}
