// The version calls read the version note back from a program file on disk.
#include "platform/VersionInfo.h"

#include <random>
#include <string>
#include <unistd.h>
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
    if (size == 0) {
        return "";
    }
    std::vector<uint8_t> block(size);
    if (!GetFileVersionInfo(path.c_str(), handle, size, block.data())) {
        return "failed";
    }
    void* info = nullptr;
    UINT length = 0;
    if (!VerQueryValue(block.data(), "\\", &info, &length) || length != sizeof(VS_FIXEDFILEINFO)) {
        return "failed";
    }
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(info);
    return std::to_string(fixed->dwFileVersionMS >> 16) + "." +
           std::to_string(fixed->dwFileVersionMS & 0xFFFF) + "." +
           std::to_string(fixed->dwFileVersionLS >> 16) + "." +
           std::to_string(fixed->dwFileVersionLS & 0xFFFF);
}

class VersionInfo : public testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes) {
        return folder_.Put(name, bytes);
    }
    ScratchFolder folder_;
};

void PutLE(std::string& bytes, size_t at, uint64_t value, int width) {
    for (int i = 0; i < width; ++i) {
        bytes[at + i] = static_cast<char>(value >> (8 * i));
    }
}

// A 64-bit ELF file holding notes in one note section (or, with segment, one note segment).
std::string ElfWithNotes(const std::string& notes, bool segment = false) {
    std::string file(64, '\0');
    file.replace(0, 6, "\x7F" "ELF\x02\x01");
    const size_t notesAt = file.size();
    file += notes;
    const size_t tableAt = file.size();
    std::string entry(segment ? 56 : 64, '\0');
    PutLE(entry, segment ? 0 : 4, segment ? 4 : 7, 4);  // PT_NOTE or SHT_NOTE
    PutLE(entry, segment ? 8 : 24, notesAt, 8);
    PutLE(entry, 32, notes.size(), 8);
    PutLE(entry, 48, 4, 8);
    file += entry;
    PutLE(file, segment ? 0x20 : 0x28, tableAt, 8);
    PutLE(file, segment ? 0x36 : 0x3A, entry.size(), 2);
    PutLE(file, segment ? 0x38 : 0x3C, 1, 2);
    return file;
}

std::string Note(uint32_t nameSize, const std::string& name, uint32_t type,
                 uint32_t descriptorSize, uint32_t signature, uint32_t ms, uint32_t ls) {
    std::string note(12, '\0');
    PutLE(note, 0, nameSize, 4);
    PutLE(note, 4, descriptorSize, 4);
    PutLE(note, 8, type, 4);
    note += name;
    note.resize((note.size() + 3) / 4 * 4, '\0');
    std::string words(52, '\0');
    PutLE(words, 0, signature, 4);
    PutLE(words, 8, ms, 4);
    PutLE(words, 12, ls, 4);
    return note + words;
}

TEST_F(VersionInfo, OwnProgramFileCarriesItsVersion) {
    char link[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", link, sizeof link - 1), 0);
    EXPECT_EQ(OwnPath(), link);
    EXPECT_EQ(VersionOf(OwnPath()), "2.3.4.5");

    char cut[8];
    EXPECT_EQ(GetModuleFileName(nullptr, cut, sizeof cut), sizeof cut);
    EXPECT_EQ(std::string(cut), OwnPath().substr(0, 7));
    EXPECT_EQ(GetModuleFileName(reinterpret_cast<HMODULE>(1), cut, sizeof cut), 0u);
}

TEST_F(VersionInfo, FilesWithoutTheNoteHaveNoVersion) {
    const std::string own = ScratchFolder::Get(OwnPath());
    const std::string name("Tarnvault", 10);
    const auto elf = [&](uint32_t nameSize, const std::string& owner, uint32_t type,
                         uint32_t descriptorSize, uint32_t signature) {
        return ElfWithNotes(Note(nameSize, owner, type, descriptorSize, signature, 1, 1));
    };
    const std::string withNote = Note(10, name, kVersionNoteType, 52, 0xFEEF04BD, 0x70008, 0x90001);
    const std::string paths[] = {
        "/bin/true",
        folder_.path,
        folder_.path + "/missing",
        Write("empty", ""),
        Write("text.ini", "[Tarnvault]\nPassword=x\n"),
        Write("truncated before the note", own.substr(0, own.find(name))),
        Write("header only", own.substr(0, 64)),
        Write("32-bit", ElfWithNotes(withNote).replace(4, 1, "\x01")),
        Write("big-endian", ElfWithNotes(withNote).replace(5, 1, "\x02")),
        Write("wrong name", elf(10, "Tarnvaul_", kVersionNoteType, 52, 0xFEEF04BD)),
        Write("wrong type", elf(10, name, 1, 52, 0xFEEF04BD)),
        Write("wrong size", elf(10, name, kVersionNoteType, 48, 0xFEEF04BD)),
        Write("wrong signature", elf(10, name, kVersionNoteType, 52, 0xFEEF04BE)),
        Write("name overruns", elf(0xFFFFFFFF, "", kVersionNoteType, 52, 0xFEEF04BD)),
        Write("descriptor overruns", elf(10, name, kVersionNoteType, 0xFFFFFFF0, 0xFEEF04BD)),
        Write("notes cut short", ElfWithNotes(withNote).substr(0, 64 + 40)),
    };
    for (const std::string& path : paths) {
        EXPECT_EQ(VersionOf(path), "") << path;
        std::vector<uint8_t> block(sizeof(VS_FIXEDFILEINFO));
        EXPECT_EQ(GetFileVersionInfo(path.c_str(), 0, block.size(), block.data()), FALSE) << path;
    }
    // The builder itself makes readable files, so each case above fails for its own fault.
    EXPECT_EQ(VersionOf(Write("good", ElfWithNotes(withNote))), "7.8.9.1");
    EXPECT_EQ(VersionOf(Write("good segment", ElfWithNotes(withNote, true))), "7.8.9.1");
    const std::string afterOther =
        Note(4, "GNU", 3, 52, 0, 0, 0) + withNote;  // another owner's note comes first
    EXPECT_EQ(VersionOf(Write("second note", ElfWithNotes(afterOther))), "7.8.9.1");
}

TEST_F(VersionInfo, CorruptedProgramFilesNeverCrash) {
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
        EXPECT_NE(VersionOf(Write("corrupt", copy)), "failed");
    }
}

TEST_F(VersionInfo, QueryGivesOnlyTheRootOfAValidBlock) {
    VS_FIXEDFILEINFO block {};
    block.dwSignature = 0xFEEF04BD;
    void* info = nullptr;
    UINT length = 0;
    EXPECT_EQ(VerQueryValue(&block, "\\", &info, &length), TRUE);
    EXPECT_EQ(info, &block);
    EXPECT_EQ(VerQueryValue(&block, "\\StringFileInfo\\040904b0\\FileVersion", &info, &length), FALSE);
    EXPECT_EQ(VerQueryValue(&block, "", &info, &length), FALSE);
    block.dwSignature = 0;
    EXPECT_EQ(VerQueryValue(&block, "\\", &info, &length), FALSE);
    std::vector<uint8_t> small(sizeof block - 1);
    EXPECT_EQ(GetFileVersionInfo(OwnPath().c_str(), 0, small.size(), small.data()), FALSE);
}

}  // namespace
