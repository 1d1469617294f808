// The program file's version block: an ELF note that the version calls read back from disk.
#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/VersionInfo.h"

#if !defined(TARNVAULT_VERSION_MAJOR) || !defined(TARNVAULT_VERSION_MINOR) || \
    !defined(TARNVAULT_VERSION_PATCH) || !defined(TARNVAULT_VERSION_TWEAK)
#error "the build passes the four version numbers"
#endif

namespace {

constexpr uint32_t kNameSize = sizeof kVersionNoteName;  // with its NUL
constexpr uint32_t kNamePadded = (kNameSize + 3) / 4 * 4;
constexpr uint32_t kDescriptorSize = kFixedFileInfoWords * 4;
constexpr size_t kNoteSize = 12 + kNamePadded + kDescriptorSize;

constexpr uint32_t kVersionMS = (uint32_t{TARNVAULT_VERSION_MAJOR} << 16) | TARNVAULT_VERSION_MINOR;
constexpr uint32_t kVersionLS = (uint32_t{TARNVAULT_VERSION_PATCH} << 16) | TARNVAULT_VERSION_TWEAK;
static_assert(TARNVAULT_VERSION_MAJOR <= 0xFFFF && TARNVAULT_VERSION_MINOR <= 0xFFFF &&
                  TARNVAULT_VERSION_PATCH <= 0xFFFF && TARNVAULT_VERSION_TWEAK <= 0xFFFF,
              "each version number fits 16 bits");

constexpr void StoreLE32(std::array<uint8_t, kNoteSize>& bytes, size_t at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

constexpr std::array<uint8_t, kNoteSize> MakeNote() {
    std::array<uint8_t, kNoteSize> bytes {};
    StoreLE32(bytes, 0, kNameSize);
    StoreLE32(bytes, 4, kDescriptorSize);
    StoreLE32(bytes, 8, kVersionNoteType);
    for (size_t i = 0; i < kNameSize; ++i) {
        bytes[12 + i] = static_cast<uint8_t>(kVersionNoteName[i]);
    }
    const uint32_t words[kFixedFileInfoWords] = {
        kFixedFileInfoSignature,
        0x00010000,             // structure version 1.0
        kVersionMS, kVersionLS,  // file version
        kVersionMS, kVersionLS,  // product version
        0x3F,                    // flags mask
        0,                       // flags: a release build
        0,                       // operating system: none in particular
        1,                       // file type: an application
        0,                       // subtype
        0, 0,                    // no file date
    };
    for (size_t i = 0; i < kFixedFileInfoWords; ++i) {
        StoreLE32(bytes, 12 + kNamePadded + 4 * i, words[i]);
    }
    return bytes;
}

}  // namespace

// "used" keeps the note although nothing refers to it; the .note prefix makes it an ELF note.
// The address sanitizer must not pad it, so the section holds the note alone.
#if defined(__clang__)
__attribute__((no_sanitize("address")))
#endif
__attribute__((section(".note.tarnvault.version"), used, aligned(4)))
const std::array<uint8_t, kNoteSize> kTarnvaultVersionNote = MakeNote();
