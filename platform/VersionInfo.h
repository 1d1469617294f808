#pragma once
// The program file's version block. The executable carries it in an ELF note section, so it
// is read back from the file on disk; a file without the note has no version.
#include "platform/WinDefs.h"

using HMODULE = void*;

// The ELF note that carries the version: owner name "Tarnvault", this type, and as its
// descriptor the thirteen words of VS_FIXEDFILEINFO, little-endian.
inline constexpr char kVersionNoteName[] = "Tarnvault";
inline constexpr uint32_t kVersionNoteType = 0x56544C01;
inline constexpr uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
inline constexpr uint32_t kFixedFileInfoWords = 13;

struct VS_FIXEDFILEINFO {
    DWORD dwSignature;  // 0xFEEF04BD
    DWORD dwStrucVersion;
    DWORD dwFileVersionMS, dwFileVersionLS;
    DWORD dwProductVersionMS, dwProductVersionLS;
    DWORD dwFileFlagsMask, dwFileFlags, dwFileOS, dwFileType, dwFileSubtype;
    DWORD dwFileDateMS, dwFileDateLS;
};

// The program file's path (module must be null); the length written, 0 on failure.
DWORD GetModuleFileName(HMODULE module, char* fileName, DWORD size);
// The size of fileName's version block, 0 when it has none.
DWORD GetFileVersionInfoSize(const char* fileName, DWORD* handle);
BOOL GetFileVersionInfo(const char* fileName, DWORD handle, DWORD size, void* data);
// subBlock "\\" gives the VS_FIXEDFILEINFO inside data.
BOOL VerQueryValue(const void* block, const char* subBlock, void** buffer, UINT* length);
