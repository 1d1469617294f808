#pragma once
// Reading a whole regular file, and replacing a file's content so that it is either all old or
// all new: the content goes into a temporary file beside it, is synced, then renamed over it.
#include <functional>
#include <optional>
#include <string>

namespace file_content {

enum class ReadStatus { Read, Missing, Unreadable };

// The file's bytes. Anything but a regular file (a folder, a pipe, a device) is Unreadable, so
// a hostile path cannot block or feed bytes forever.
ReadStatus ReadRegularFile(const std::string& path, std::string& bytes);

// Writes the new content through writeTo(fd) into a temporary file in the target's folder, then
// moves it over the target (following a symbolic link to the file it names). A new file gets
// mode 0600; an existing one keeps its mode and must be writable. With keepExisting, an
// existing target is refused.
// On any failure the target is as it was and the temporary file is gone.
bool ReplaceFile(const std::string& path, const std::function<bool(int fd)>& writeTo,
                 bool keepExisting = false);

// Writes all of bytes to fd, through short writes and interruptions.
bool WriteAll(int fd, const char* bytes, size_t size);

}  // namespace file_content
