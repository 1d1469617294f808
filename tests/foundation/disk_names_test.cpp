// Names crossing between the program's Windows-1252 and the file system's UTF-8.
#include "foundation/DiskNames.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using disk_names::FromDisk;
using disk_names::ToDisk;

TEST(DiskNames, EveryByteRoundTripsThroughTheDisksBytes) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    std::string back;
    ASSERT_TRUE(FromDisk(ToDisk(all), back));
    EXPECT_EQ(back, all);

    const struct {
        std::string program, disk;
    } cases[] = {
        {"/home/u/caf\xE9.tlk", "/home/u/caf\xC3\xA9.tlk"},
        {"\x7F", "\x7F"},
        {"\x80", "\xE2\x82\xAC"},  // the euro sign
        {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},  // unassigned: U+0081...
        {"\x9F", "\xC5\xB8"},
        {"\xA0\xFF", "\xC2\xA0\xC3\xBF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToDisk(c.program), c.disk);
        std::string program;
        EXPECT_TRUE(FromDisk(c.disk, program));
        EXPECT_EQ(program, c.program);
    }
}

TEST(DiskNames, NamesThatAreNotUtf8OrHaveNoByteAreRefused) {
    const char* const refused[] = {
        "\xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB.tlk",  // Cyrillic letters
        "\xC2\x80",                              // U+0080: its byte is the euro sign's
        "a\xF0\x9F\x98\x80",                     // outside the basic plane
        "caf\xE9",                               // a Windows-1252 byte, not UTF-8
        "\x80", "x\xC3", "\xE2\x82",             // a lone continuation, cut characters
        "\xC0\xAF", "\xE0\x80\xAF", "\xF0\x80\x80\xAF",  // overlong forms
        "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xC3\x28",
    };
    for (const char* name : refused) {
        std::string program = "untouched";
        EXPECT_FALSE(FromDisk(name, program)) << name;
        EXPECT_EQ(program, "untouched");
    }
}

}  // namespace
