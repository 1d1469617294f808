#include "app/request/TimeLockFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

namespace {
struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
}  // namespace

TimeLockFileStatus ReadTimeLockFile(const std::string& path, std::vector<uint8_t>& bytes) {
  if (access(path.c_str(), F_OK) != 0) return TimeLockFileStatus::Missing;
  std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return TimeLockFileStatus::CantOpen;
  struct stat info {};
  // A folder opens for reading here but not on the system the files come from: refuse it alike.
  if (fstat(fileno(file.get()), &info) != 0 || S_ISDIR(info.st_mode)) {
    return TimeLockFileStatus::CantOpen;
  }
  const int64_t length = info.st_size;
  if (length > kMaxTimeLockFileBytes) return TimeLockFileStatus::TooBig;
  bytes.resize(static_cast<size_t>(length));
  const size_t got = length > 0 ? std::fread(bytes.data(), 1, bytes.size(), file.get()) : 0;
  if (got != bytes.size()) return TimeLockFileStatus::ReadProblem;
  return TimeLockFileStatus::Read;
}
