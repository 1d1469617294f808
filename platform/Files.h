#pragma once
// Folders and files as the dialog code asks for them. Paths go in and come out as Windows-1252;
// the file calls get them as the disk holds them (foundation/DiskNames.h).
#include "platform/WinDefs.h"

inline constexpr int CSIDL_COMMON_DOCUMENTS = 0x2E;
inline constexpr int MAX_PATH = 260;
using HRESULT = int32_t;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);

// The desktop's Documents folder (XDG_DOCUMENTS_DIR from user-dirs.dirs, else $HOME/Documents),
// created (0700) when missing, into path (MAX_PATH bytes); the folder argument must be
// CSIDL_COMMON_DOCUMENTS. A folder whose name Windows-1252 cannot hold in MAX_PATH bytes comes
// as /proc/self/fd/<n>, the process's own handle on it, kept open for the process's life.
// E_FAIL leaves path untouched.
HRESULT SHGetFolderPath(void* owner, int folder, void* token, DWORD flags, char* path);

// Non-zero when path is an existing folder.
BOOL PathIsDirectory(const char* path);

// Copies source over target through a temporary file beside it and a rename, so a failed copy
// leaves target as it was. A symbolic link at target is replaced, never followed; the copy is
// mode 0600. failIfExists refuses any existing name. TRUE when copied.
BOOL CopyFile(const char* source, const char* target, BOOL failIfExists);

// The C runtime's calls (named as there; kept out of the global namespace).
namespace crt {
int _access(const char* path, int mode);  // 0 when path exists (mode 0)
int _mkdir(const char* path);             // one level, mode 0700; 0 when made
}  // namespace crt
