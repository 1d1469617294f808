#pragma once
// Names as the disk holds them. The program's paths are Windows-1252 bytes; the file system's
// names are UTF-8. Every path that the program hands to a file call goes through ToDisk, and
// every name that comes from the file system through FromDisk, so the two never mix.
// Both sides use the code page's one table (foundation/Windows1252.h), as the widgets do.
#include <string>
#include <string_view>

namespace disk_names {

// The file system's bytes for a Windows-1252 name; every name has them.
std::string ToDisk(std::string_view name);

// The Windows-1252 bytes for a name from the file system. False, with program untouched, when
// the name is not UTF-8 or holds a character that Windows-1252 has no byte for.
bool FromDisk(std::string_view disk, std::string& program);

}  // namespace disk_names
