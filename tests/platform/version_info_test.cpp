// The version calls read the version note back from a program file on disk.
#include "platform/VersionInfo.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/scratch_folder.h"

namespace {

std::string OwnPath() {
    char path[4096];
    const DWORD length = GetModuleFileName(nullptr, path, sizeof path);
    return std::string(path, length);
}

// The file version "a.b.c.d" through the calls as the application makes them; "" for none.
std::string VersionOf(const std::string& path) {
    DWORD handle = 1;
    const DWORD size = GetFileVersionInfoSize(path.c_str(), &handle);
    EXPECT_EQ(handle, 0u);
    if (size == 0) return "";
    std::vector<uint8_t> block(size);
    void* info = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfo(path.c_str(), handle, size, block.data()) ||
        !VerQueryValue(block.data(), "\\", &info, &length) || length != sizeof(VS_FIXEDFILEINFO)) {
        return "failed";
    }
    // A query gives only the root.
    EXPECT_EQ(VerQueryValue(block.data(), "\\StringFileInfo\\040904b0\\FileVersion", &info, &length), FALSE);
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(info);
    char text[48];
    snprintf(text, sizeof text, "%u.%u.%u.%u", fixed->dwFileVersionMS >> 16, fixed->dwFileVersionMS & 0xFFFF,
             fixed->dwFileVersionLS >> 16, fixed->dwFileVersionLS & 0xFFFF);
    return text;
}

// bytes with width bytes at at replaced by value, little-endian.
std::string Patched(std::string bytes, size_t at, uint64_t value, int width) {
    for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
    return bytes;
}

TEST(VersionInfo, OwnProgramFileCarriesItsVersionAndOnlyTheRootIsGiven) {
    EXPECT_EQ(VersionOf(OwnPath()), "2.3.4.5");

    char cut[8];
    EXPECT_EQ(GetModuleFileName(nullptr, cut, sizeof cut), sizeof cut);
    EXPECT_EQ(std::string(cut), OwnPath().substr(0, 7));
    EXPECT_EQ(GetModuleFileName(reinterpret_cast<HMODULE>(1), cut, sizeof cut), 0u);

    std::vector<uint8_t> small(sizeof(VS_FIXEDFILEINFO) - 1);
    EXPECT_EQ(GetFileVersionInfo(OwnPath().c_str(), 0, small.size(), small.data()), FALSE);
    const VS_FIXEDFILEINFO unsignedBlock {};  // a block without the signature gives nothing
    void* info = nullptr;
    UINT length = 0;
    EXPECT_EQ(VerQueryValue(&unsignedBlock, "\\", &info, &length), FALSE);
}

// Names cross as Windows-1252: a program file named with Western letters is found by that
// name, and one whose name Windows-1252 cannot hold is named /proc/self/exe to itself.
TEST(VersionInfo, ProgramFileOfAnyNameFindsItsVersion) {
    ScratchFolder folder;
    const std::string own = ScratchFolder::Get(OwnPath());
    for (const std::string name : {"caf\xC3\xA9", "\xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB"}) {
        const std::string copy = folder.Put(name, own);
        ASSERT_EQ(chmod(copy.c_str(), 0700), 0);
        const std::string run = "'" + copy + "' --gtest_filter=VersionInfo.OwnProgramFile* >/dev/null 2>&1";
        EXPECT_EQ(std::system(run.c_str()), 0) << name;
    }
    EXPECT_EQ(VersionOf(folder.path + "/caf\xE9"), "2.3.4.5");
}

// Each case spoils one thing the reader relies on in a copy of this very program file.
TEST(VersionInfo, FilesWithoutAWholeNoteHaveNoVersion) {
    ScratchFolder folder;
    const std::string own = ScratchFolder::Get(OwnPath());
    const size_t note = own.find(std::string("Tarnvault", 10)) - 12;  // the notes come first
    ASSERT_EQ(Patched(own, note, 10, 4), own);
    ASSERT_EQ(Patched(own, note + 8, kVersionNoteType, 4), own);
    // Without the section table the note is found through the note segment.
    EXPECT_EQ(VersionOf(folder.Put("no sections", Patched(own, 0x3C, 0, 2))), "2.3.4.5");
    const struct {
        const char* what;
        std::string path;
    } cases[] = {
        {"another program", "/bin/true"},
        {"missing", folder.path + "/missing"},
        {"empty", folder.Put("empty", "")},
        {"cut inside the note", folder.Put("cut", own.substr(0, note + 40))},
        {"32-bit", folder.Put("32", Patched(own, 4, 1, 1))},
        {"big-endian", folder.Put("be", Patched(own, 5, 2, 1))},
        {"wrong name", folder.Put("name", Patched(own, note + 20, '_', 1))},
        {"wrong type", folder.Put("type", Patched(own, note + 8, 1, 4))},
        {"wrong signature", folder.Put("sig", Patched(own, note + 24, 0xFEEF04BE, 4))},
        {"name overruns", folder.Put("nameover", Patched(own, note, 0xFFFFFFFF, 4))},
        {"descriptor overruns", folder.Put("descover", Patched(own, note + 4, 0xFFFFFFF0, 4))},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VersionOf(c.path), "") << c.what;
        std::vector<uint8_t> block(sizeof(VS_FIXEDFILEINFO));
        EXPECT_EQ(GetFileVersionInfo(c.path.c_str(), 0, block.size(), block.data()), FALSE) << c.what;
    }
}

TEST(VersionInfo, CorruptedProgramFilesNeverCrash) {
    ScratchFolder folder;
    const std::string own = ScratchFolder::Get(OwnPath());
    std::mt19937 random(12345);
    for (int round = 0; round < 300; ++round) {
        std::string copy = own;
        for (int flips = 0; flips < 8; ++flips) {
            // The headers and the tables they point to are what the reader trusts least.
            const size_t at = round % 2 ? random() % 4096 : own.size() - 1 - random() % 4096;
            copy[at] = static_cast<char>(random());
        }
        // A note the reader sizes up must also be read: both calls see the same file.
        EXPECT_NE(VersionOf(folder.Put("corrupt", copy)), "failed");
    }
}

}  // namespace
