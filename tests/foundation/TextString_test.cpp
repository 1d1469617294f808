#include "foundation/TextString.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using Zarnel::CTextString;

TEST(TextString, AssignKeepsTheBufferForTheSameOrAnEmptyText) {
    CTextString s;
    s.Assign("abc");
    char* const buffer = s.m_pszText;
    EXPECT_EQ(s.Assign("abc").m_pszText, buffer);
    EXPECT_EQ(s.Assign("").m_pszText, buffer);
    EXPECT_STREQ(s.m_pszText, "");
    EXPECT_STREQ(s.Assign("longer text").m_pszText, "longer text");
}

TEST(TextString, AssignLeftTakesAtMostNCharacters) {
    const char unterminated[3] = {'x', 'y', 'z'};
    const struct { const char* text; int32_t n; int32_t result; const char* after; } cases[] = {
        {"abcdef", 2, 1, "ab"}, {"abc", 100, 1, "abc"}, {"", 5, 1, ""}, {"abc", 0, 0, "old"},
        {"abc", -1, 0, "old"}, {nullptr, 3, 0, "old"}, {unterminated, 2, 1, "xy"},
    };
    for (const auto& c : cases) {
        CTextString s;
        s.Assign("old");
        EXPECT_EQ(s.AssignLeft(c.text, c.n), c.result);
        EXPECT_STREQ(s.m_pszText, c.after);
    }
}

TEST(TextString, AppendHonoursTheLockAndPrependIgnoresIt) {
    CTextString s;
    s.m_bLocked = 1;
    EXPECT_EQ(s.Append("ef"), 0);
    EXPECT_EQ(s.Prepend("*"), 1);
    EXPECT_STREQ(s.m_pszText, "*");
}

TEST(TextString, PrependDropsTrailingBlanksOnlyIntoAnEmptyString) {
    const struct { const char* old; const char* text; const char* after; } cases[] = {
        {".ext", "*", "*.ext"}, {"", "abc  ", "abc"}, {"", "ab\t ", "ab\t"}, {"", "   ", ""},
        {"x", "a  ", "a  x"}, {"x", "", "x"},
    };
    for (const auto& c : cases) {
        CTextString s;
        s.Assign(c.old);
        EXPECT_EQ(s.Prepend(c.text), 1);
        EXPECT_STREQ(s.m_pszText, c.after) << '"' << c.text << "\" before \"" << c.old << '"';
    }
}

// The source is read before the old buffer is released, so it may come from the string itself.
TEST(TextString, SourceMayLieInsideTheStringsOwnBuffer) {
    CTextString s;
    s.Assign("abcdef");
    EXPECT_STREQ(s.Assign(s.m_pszText + 2).m_pszText, "cdef");
    s.AssignLeft(s.m_pszText + 1, 2);
    s.Append(s.m_pszText);
    s.Prepend(s.m_pszText + 3);
    EXPECT_STREQ(s.m_pszText, "edede");
}

TEST(TextString, TrimCutsAtALineBreakAndStripsBlanksAndTabs) {
    const struct { const char* in; const char* out; } cases[] = {
        {"  /Data/folder  \r\n", "/Data/folder"}, {" \t ", ""}, {"a\nb", "a"}, {"\tx y\t", "x y"},
        {"", ""}, {"\r\n  ", ""},
    };
    for (const auto& c : cases) {
        char text[32];
        std::strcpy(text, c.in);
        CTextString::Trim(text);
        EXPECT_STREQ(text, c.out);
    }
}

}  // namespace
