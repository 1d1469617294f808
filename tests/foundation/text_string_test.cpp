#include "foundation/TextString.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Zarnel::CTextString;

// The result and the text afterwards, as "1 text".
std::string Shown(int32_t result, const CTextString& s) {
    return std::to_string(result) + " " + s.m_pszText;
}

// The source is read before the old buffer is released, so it may come from the string itself.
TEST(TextString, AssignKeepsTheBufferForTheSameOrAnEmptyTextAndMayReadItsOwn) {
    CTextString s;
    char* const buffer = s.Assign("abc").m_pszText;
    EXPECT_EQ(s.Assign("abc").m_pszText, buffer);
    EXPECT_EQ(s.Assign("").m_pszText, buffer);
    EXPECT_STREQ(s.m_pszText, "");
    EXPECT_STREQ(s.Assign("abcdef").m_pszText, "abcdef");
    EXPECT_STREQ(s.Assign(s.m_pszText + 2).m_pszText, "cdef");
    s.AssignLeft(s.m_pszText + 1, 2);
    s.Append(s.m_pszText);
    s.Prepend(s.m_pszText + 3);
    EXPECT_STREQ(s.m_pszText, "edede");
    s.JoinPath("/Data", s.m_pszText);
    EXPECT_STREQ(s.m_pszText, "/Data/edede");
    EXPECT_EQ(Shown(s.ChangeFolder(s.m_pszText), s), "1 /Data/edede/edede");
}

// Each row: 'L' AssignLeft(text, n), 'P' Prepend(text) or 'T' Trim of the string's own
// buffer, on a string that held `before`; and "result text" afterwards.
TEST(TextString, AssignLeftPrependAndTrimChangeTheTextOrRefuse) {
    const char unterminated[3] = {'x', 'y', 'z'};  // copying stops after n characters
    const struct { char op; const char* before; const char* text; int32_t n; const char* after; }
    cases[] = {
        {'L', "old", "abcdef", 2, "1 ab"}, {'L', "old", "abc", 100, "1 abc"},
        {'L', "old", "", 5, "1 "}, {'L', "old", "abc", 0, "0 old"},
        {'L', "old", nullptr, 3, "0 old"}, {'L', "old", unterminated, 2, "1 xy"},
        // Prepend drops trailing blanks (not tabs) only when the string is empty.
        {'P', ".ext", "*", 0, "1 *.ext"}, {'P', "", "abc  ", 0, "1 abc"},
        {'P', "", "ab\t ", 0, "1 ab\t"}, {'P', "", "   ", 0, "1 "}, {'P', "x", "a  ", 0, "1 a  x"},
        {'P', "x", "", 0, "1 x"}, {'T', "  /Data/folder  \r\n", "", 0, "1 /Data/folder"},
        {'T', " \t ", "", 0, "1 "}, {'T', "a\nb", "", 0, "1 a"}, {'T', "\tx y\t", "", 0, "1 x y"},
        {'T', "", "", 0, "1 "},
    };
    for (const auto& c : cases) {
        CTextString s;
        s.Assign(c.before);
        const int32_t result = c.op == 'L'   ? s.AssignLeft(c.text, c.n)
                               : c.op == 'P' ? s.Prepend(c.text)
                                             : CTextString::Trim(s.m_pszText);
        EXPECT_EQ(Shown(result, s), c.after) << c.op << " on \"" << c.before << '"';
    }
    CTextString locked;
    locked.m_bLocked = 1;  // stops appending only: a join keeps the trimmed folder
    EXPECT_EQ(Shown(locked.Append("ef"), locked), "0 ");
    EXPECT_EQ(Shown(locked.Prepend("*"), locked), "1 *");
    EXPECT_EQ(Shown(locked.JoinPath(" /Data ", "x"), locked), "1 /Data");
}

TEST(TextString, GetPathPartSelectsFolderNameAndExtension) {
    // The wanted parts as dir/name/ext digits; the string held "old" before.
    const struct { const char* path; int32_t want; const char* after; } cases[] = {
        {"/Data/name.ext", 100, "1 /Data/"}, {"/Data/name.ext", 110, "1 /Data/name"},
        {"/Data/name.ext", 111, "1 /Data/name.ext"}, {"/Data/name.ext", 10, "1 name"},
        {"/Data/name.ext", 11, "1 name.ext"}, {"/Data/name.ext", 1, "1 .ext"},
        {"name.ext", 100, "1 "}, {"/Data/name", 110, "1 /Data/name"}, {"/Data/name", 1, "0 old"},
        // A dot in a folder name ends the scan early.
        {"/a.b/c", 10, "0 old"}, {"a.b/c", 100, "1 "},
        {"/Data/archive.tar.gz", 10, "1 archive.tar"}, {"/Data/archive.tar.gz", 1, "1 .gz"},
        // Leading blanks are skipped, and a blank ends the path.
        {"  /Data/x.y z", 111, "1 /Data/x.y"}, {"  /Data/x.y z", 100, "1 /Data/"},
        {"  name.ext", 110, "1   name"}, {"C:name.ext", 10, "1 C:name"}, {"/Data/", 11, "0 old"},
        {" \t ", 111, "0 old"}, {nullptr, 100, "0 old"}, {"/Data/name.ext", 101, "0 old"},
        {"/Data/name.ext", 200, "0 old"},
    };
    for (const auto& c : cases) {
        CTextString s;
        s.Assign("old");
        EXPECT_EQ(Shown(s.GetPathPart(c.path, c.want / 100, c.want / 10 % 10, c.want % 10), s),
                  c.after) << (c.path != nullptr ? c.path : "(null)") << ' ' << c.want;
    }
}

TEST(TextString, JoinPathAndChangeFolderPutOneSeparatorBetween) {
    // Each row: the folder, the name (JoinPath) or text (ChangeFolder), and "result text".
    const struct { const char* folder; const char* name; const char* joined; const char* moved; }
    cases[] = {
        {"/Data/", "x", "1 /Data/x", "1 /Data/x"}, {"/Data", "x", "1 /Data/x", "1 /Data/x"},
        {" /Data \r\n", "x", "1 /Data/x", "1 /Data/x"}, {"", "x", "1 x", "1 x"},
        {nullptr, "/Old/x.ini", "1 /Old/x.ini", "1 x.ini"}, {"/", "x", "1 /x", "1 /x"},
        {"/Data", " x ", "1 /Data/ x ", "1 /Data/x "}, {"   ", nullptr, "1 ", nullptr},
        {"/Data", nullptr, "1 /Data/", nullptr},
        {"/New/", "/Old/x.ini", "1 /New//Old/x.ini", "1 /New/x.ini"},
        {"/New", "/Old/x.ini other", "1 /New//Old/x.ini other", "1 /New/x.ini"},
        {"/New", "/Old/", "1 /New//Old/", "0 /Old/"}, {"/New", "  ", "1 /New/  ", "0   "},
        {"/New", "", "1 /New/", "0 "},
    };
    for (const auto& c : cases) {
        CTextString joined, moved;
        joined.Assign("old");
        EXPECT_EQ(Shown(joined.JoinPath(c.folder, c.name), joined), c.joined) << c.name;
        if (c.moved == nullptr) continue;
        moved.Assign(c.name);
        EXPECT_EQ(Shown(moved.ChangeFolder(c.folder), moved), c.moved) << c.name;
    }
}

}  // namespace
