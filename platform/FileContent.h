#pragma once
// Reading a whole regular file, and replacing a file so that it is either all old or all new:
// the content goes into a temporary file beside it, is synced, then renamed over its name.
#include <functional>
#include <optional>
#include <string>

namespace file_content {

enum class ReadStatus { Read, Missing, Unreadable };

// The file's bytes. Anything but a regular file (a folder, a pipe, a device) is Unreadable, so
// a hostile path cannot block or feed bytes forever.
ReadStatus ReadRegularFile(const std::string& path, std::string& bytes);

// Writes the new content through writeTo(fd) into a temporary file in the target's folder, then
// renames it over the target's name: whatever stands there, a symbolic link included, is
// replaced, never followed, and the file is ours with mode 0600 whatever mode it had. A regular
// file that we may not write (its owner made it read-only), a folder or a device is refused, and
// with keepExisting anything at the name is. On any failure the target is as it was. Temporary
// files that killed writes of the same target left in the folder go after a successful write.
bool ReplaceFile(const std::string& path, const std::function<bool(int fd)>& writeTo,
                 bool keepExisting = false);

// Copies what is left to read of from into to.
bool CopyAll(int from, int to);

// Writes all of bytes to fd, through short writes and interruptions.
bool WriteAll(int fd, const char* bytes, size_t size);

}  // namespace file_content
