#include "app/request/TimeLockFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "foundation/DiskNames.h"

namespace {
struct Descriptor {
  int fd = -1;
  ~Descriptor() {
    if (fd >= 0) close(fd);
  }
};
}  // namespace

TimeLockFileStatus ReadTimeLockFile(const std::string& path, std::vector<uint8_t>& bytes) {
  const std::string diskPath = disk_names::ToDisk(path);
  if (access(diskPath.c_str(), F_OK) != 0) return TimeLockFileStatus::Missing;
  // Opened without waiting, so a pipe or a device at the path cannot hold the request; only a
  // regular file is read (a folder, a pipe, a socket or a device cannot be read as a file).
  Descriptor file;
  file.fd = open(diskPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  struct stat info {};
  if (file.fd < 0 || fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    return TimeLockFileStatus::CantOpen;
  }
  const int64_t length = info.st_size;
  if (length > kMaxTimeLockFileBytes) return TimeLockFileStatus::TooBig;
  bytes.resize(static_cast<size_t>(length));
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t got = read(file.fd, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return TimeLockFileStatus::ReadProblem;
    done += static_cast<size_t>(got);
  }
  return TimeLockFileStatus::Read;
}
