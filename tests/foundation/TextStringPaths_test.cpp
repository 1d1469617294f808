#include <gtest/gtest.h>

#include "foundation/TextString.h"

namespace {

using Zarnel::CTextString;

TEST(TextStringPaths, GetPathPartSelectsFolderNameAndExtension) {
    // wanted parts as dir/name/ext digits; the string held "old" before
    const struct { const char* path; int32_t want; int32_t result; const char* after; } cases[] = {
        {"/Data/name.ext", 100, 1, "/Data/"}, {"/Data/name.ext", 110, 1, "/Data/name"},
        {"/Data/name.ext", 111, 1, "/Data/name.ext"}, {"/Data/name.ext", 10, 1, "name"},
        {"/Data/name.ext", 11, 1, "name.ext"}, {"/Data/name.ext", 1, 1, ".ext"},
        {"name.ext", 100, 1, ""}, {"/Data/name", 110, 1, "/Data/name"}, {"/Data/name", 1, 0, "old"},
        {"/a.b/c", 10, 0, "old"}, {"/a.b/c", 11, 1, "c"}, {"a.b/c", 100, 1, ""},
        {"/Data/archive.tar.gz", 10, 1, "archive.tar"}, {"/Data/archive.tar.gz", 1, 1, ".gz"},
        {"  /Data/x.y z", 111, 1, "/Data/x.y"}, {"  /Data/x.y z", 100, 1, "/Data/"},
        {"  name.ext", 110, 1, "  name"}, {"C:name.ext", 100, 1, ""},
        {"C:name.ext", 10, 1, "C:name"},
        {"/Data/", 11, 0, "old"}, {" \t ", 111, 0, "old"}, {"", 10, 0, "old"},
        {nullptr, 100, 0, "old"}, {"/Data/name.ext", 101, 0, "old"},
        {"/Data/name.ext", 0, 0, "old"}, {"/Data/name.ext", 200, 0, "old"},
    };
    for (const auto& c : cases) {
        CTextString s;
        s.Assign("old");
        const char* shown = c.path != nullptr ? c.path : "(null)";
        EXPECT_EQ(s.GetPathPart(c.path, c.want / 100, c.want / 10 % 10, c.want % 10), c.result)
            << shown << ' ' << c.want;
        EXPECT_STREQ(s.m_pszText, c.after) << shown << ' ' << c.want;
    }
}

TEST(TextStringPaths, JoinPathPutsOneSeparatorBetween) {
    const struct { const char* folder; const char* name; const char* after; } cases[] = {
        {"/Data/", "x", "/Data/x"}, {"/Data", "x", "/Data/x"}, {" /Data \r\n", "x", "/Data/x"},
        {"", "x", "x"}, {nullptr, "x", "x"}, {"   ", nullptr, ""}, {"/Data", nullptr, "/Data/"},
        {"/", "x", "/x"}, {"/Data", " x ", "/Data/ x "},
    };
    for (const auto& c : cases) {
        CTextString s;
        s.Assign("old");
        EXPECT_EQ(s.JoinPath(c.folder, c.name), 1);
        EXPECT_STREQ(s.m_pszText, c.after);
    }
    CTextString locked;
    locked.m_bLocked = 1;
    locked.JoinPath(" /Data ", "x");
    EXPECT_STREQ(locked.m_pszText, "/Data");
    CTextString self;
    self.Assign("name");
    self.JoinPath("/Data", self.m_pszText);
    EXPECT_STREQ(self.m_pszText, "/Data/name");
}

TEST(TextStringPaths, ChangeFolderMovesTheFileNameUnderAnotherFolder) {
    const struct { const char* text; const char* folder; int32_t result; const char* after; }
    cases[] = {
        {"123.ini", "/Snap/name", 1, "/Snap/name/123.ini"},
        {"/Old/x.ini", "/New/", 1, "/New/x.ini"},
        {"/Old/x.ini", nullptr, 1, "x.ini"}, {"/Old/x.ini other", "/New", 1, "/New/x.ini"},
        {"/Old/", "/New", 0, "/Old/"}, {"  ", "/New", 0, "  "}, {"", "/New", 0, ""},
    };
    for (const auto& c : cases) {
        CTextString s;
        s.Assign(c.text);
        EXPECT_EQ(s.ChangeFolder(c.folder), c.result) << c.text;
        EXPECT_STREQ(s.m_pszText, c.after) << c.text;
    }
    CTextString self;
    self.Assign("/Old/x.ini");
    EXPECT_EQ(self.ChangeFolder(self.m_pszText), 1);
    EXPECT_STREQ(self.m_pszText, "/Old/x.ini/x.ini");
}

}  // namespace
