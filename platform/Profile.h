#pragma once
// The private-profile ("INI") text file: a "[section]" line, then "key=value" lines. Sections
// and keys match without regard to letter case or surrounding blanks; a value is read exactly
// as it stands after the '=' (only the line end, LF or CR LF, removed). A write replaces the
// key's value in place, or adds the key, the section and the file when missing, keeps every
// other line byte for byte, and replaces the file through a temporary file and a rename: the
// file is ours with mode 0600 after every write, and a symbolic link in its place is replaced.
#include "platform/WinDefs.h"

// Copies the value (or defaultValue when the file, section or key is missing) into buffer,
// at most size - 1 characters and a NUL; returns the count copied.
DWORD GetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                              char* buffer, DWORD size, const char* fileName);
// Sets key to value in section; TRUE when the file was written.
BOOL WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const char* fileName);
