// The open-file dialog and the class library's selection over it, driven through the real Qt
// dialog on the offscreen platform.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "foundation/TextString.h"
#include "foundation/window/FileSelectionDialog.h"
#include "platform/Text1252.h"
#include "support/FileDialogUser.h"

namespace {

using Zarnel::CFileSpecSelection;

constexpr uint32_t kOnlyExistingFiles = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;

// The object is large, as its buffers are: keep it off the test's stack. Set up as the
// program's callers do: no prompts, the flags given, and the initial folder.
std::unique_ptr<CFileSpecSelection> MakeSelection(const QString& folder,
                                                  uint32_t flags = kOnlyExistingFiles) {
    auto selection = std::make_unique<CFileSpecSelection>();
    selection->m_dwFlags &= ~(OFN_OVERWRITEPROMPT | OFN_CREATEPROMPT);
    selection->m_dwFlags |= flags;
    ToWindows1252(folder).copy(selection->m_szInitialDir, sizeof(selection->m_szInitialDir) - 1);
    return selection;
}

TEST(FileSpecSelectionTest, AddFilterTakesOnlyPairsThatFitWithTheClosingText) {
    const struct { const char* what; int16_t position; std::string description; bool added; }
    cases[] = {
        {"a pair ending at the last place", 496, "Settings", true},
        {"the same pair one place further", 497, "Settings", false},
        {"a position in front of the list", -1, "Settings", false},
        // 511 characters and their NUL fill the list: no room is left for the pattern.
        {"a description of 600 characters", 0, std::string(600, 'd'), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto selection = std::make_unique<CFileSpecSelection>();
        std::memset(selection->m_szFilter, 'x', sizeof(selection->m_szFilter));
        selection->m_nFilterPos = c.position;
        const std::string pair = c.description + '\0' + ".ini" + '\0';
        std::string expected(selection->m_szFilter, sizeof(selection->m_szFilter));
        if (c.added) {
            expected.replace(c.position, pair.size(), pair);
        }

        EXPECT_EQ(selection->AddFilter(c.description.c_str(), ".ini"), c.added ? 1 : 0);
        EXPECT_EQ(std::string(selection->m_szFilter, sizeof(selection->m_szFilter)), expected);
        EXPECT_EQ(selection->m_nFilterPos, c.position + (c.added ? int(pair.size()) : 0));
    }
}

TEST(FileSpecSelectionTest, ChosenFileComesBackAsFolderNameAndFullPath) {
    const struct { const char* what; QString folder; QString name; } cases[] = {
        {"a folder that ends in a blank", "<temp>/with blank ", "notes.ini"},
        {"a Windows-1252 letter", "<temp>/caf\u00e9", "r\u00e9sum\u00e9.tl"},
        {"a name longer than the title buffer", "<temp>", QString(40, 'n') + ".tl"},
        // A new name is taken where only the folder must exist, and "/" always does.
        {"a new file in the root", "/", "tarnvault-no-such-file.ext"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir temp;
        const QString folder = QString(c.folder).replace("<temp>", temp.path());
        const bool inRoot = folder == "/";
        if (!inRoot) {
            ASSERT_TRUE(QDir().mkpath(folder));
            ASSERT_TRUE(QFile(folder + "/" + c.name).open(QIODevice::WriteOnly));
        }
        auto selection = MakeSelection(folder, inRoot ? OFN_PATHMUSTEXIST : kOnlyExistingFiles);

        ChooseInNextDialog(c.name);
        ASSERT_EQ(selection->DoModal(), 1);

        const std::string name = ToWindows1252(c.name);
        const std::string path = ToWindows1252(QDir(folder).filePath(c.name));
        const size_t offset = path.size() - name.size();
        // The folder stays in front of the name, ended by a NUL unless it is the root.
        std::string buffer = path + '\0';
        buffer[offset - 1] = inRoot ? '/' : '\0';
        EXPECT_EQ(std::string(selection->m_szFile, buffer.size()), buffer);
        EXPECT_EQ(selection->m_nFileOffset, offset);
        EXPECT_EQ(std::string(selection->m_szFileTitle), name.substr(0, 31));
        Zarnel::CTextString joined;
        EXPECT_EQ(selection->GetPathName(joined), 1);
        EXPECT_EQ(std::string(joined.m_pszText), path);
    }
}

TEST(FileSpecSelectionTest, RefusedNameKeepsTheDialogOpenAndCancelKeepsTheCallersData) {
    const struct { const char* what; uint32_t flags; QString refused; } cases[] = {
        {"a file that must exist", kOnlyExistingFiles, "missing.tl"},
        {"a new name in a folder that must exist", OFN_PATHMUSTEXIST, "missing/new.tl"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir temp;
        auto selection = MakeSelection(temp.path(), c.flags);
        std::strcpy(selection->m_szFile, "*.tl");
        selection->m_nFileOffset = 7;
        selection->m_nFilterIndex = 3;
        bool warned = false;

        WhenModalOpens([&](QWidget* modal) {
            QFileDialog* dialog = AsFileDialog(modal);
            ASSERT_NE(dialog, nullptr);
            WhenModalOpens([&](QWidget* box) {
                warned = qobject_cast<QMessageBox*>(box) != nullptr;
                PressEscape(box);
            });
            TypeNameAndEnter(dialog, c.refused);
            EXPECT_TRUE(dialog->isVisible());
            PressEscape(dialog);
        });
        EXPECT_EQ(selection->DoModal(), 0);

        EXPECT_TRUE(warned);
        EXPECT_STREQ(selection->m_szFile, "*.tl");
        EXPECT_EQ(selection->m_nFileOffset, 7u);
        EXPECT_EQ(selection->m_nFilterIndex, 3u);
    }
}

TEST(FileSpecSelectionTest, DialogOpensWithTheTitleFolderAndFiltersAsked) {
    // The list has the settings pair. Where no name is chosen, the dialog opens in the current
    // folder and is cancelled.
    const struct { const char* what; std::string title; const char* folder; const char* initialName;
                   QStringList shownFilters; QString selectedFilter; QString chosen; uint32_t filterIndex; }
    cases[] = {
        {"the settings files, as the snapshot loader asks", "Select a settings file...", "<temp>/",
         "*.ini", {"Settings (*.ini)"}, "Settings (*.ini)", "a.ini", 1},
        {"a pattern of its own in front of the pairs", "Select the TimeLock file...", "<temp>",
         "*.txt", {"*.txt", "Settings (*.ini)"}, "*.txt", "c.txt", 0},
        {"no folder and no title", "", "", "*", {"*", "Settings (*.ini)"}, "*", "", 0},
        {"a folder that does not exist", "T", "<temp>/missing", "", {"Settings (*.ini)"},
         "Settings (*.ini)", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir temp;
        if (!c.chosen.isEmpty()) {
            ASSERT_TRUE(QFile(temp.filePath(c.chosen)).open(QIODevice::WriteOnly));
        }
        auto selection = MakeSelection(QString(c.folder).replace("<temp>", temp.path()));
        selection->m_strTitle = c.title;
        std::strcpy(selection->m_szFile, c.initialName);
        ASSERT_EQ(selection->AddFilter("Settings", ".ini"), 1);

        WhenModalOpens([&](QWidget* modal) {
            QFileDialog* dialog = AsFileDialog(modal);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), c.title.empty() ? "Open" : QString::fromStdString(c.title));
            EXPECT_EQ(dialog->directory().absolutePath(),
                      c.chosen.isEmpty() ? QDir::currentPath() : QDir(temp.path()).absolutePath());
            EXPECT_EQ(NameBox(dialog)->text(), "");
            EXPECT_EQ(dialog->nameFilters(), c.shownFilters);
            EXPECT_EQ(dialog->selectedNameFilter(), c.selectedFilter);
            if (c.chosen.isEmpty()) {
                PressEscape(dialog);
            } else {
                TypeNameAndEnter(dialog, c.chosen);
            }
        });
        ASSERT_EQ(selection->DoModal(), c.chosen.isEmpty() ? 0 : 1);
        EXPECT_EQ(selection->m_nFilterIndex, c.filterIndex);
    }
}

TEST(FileDialogTest, PathIsHandedBackWholeOrNotAtAll) {
    const struct { const char* what; QString name; size_t roomBeyondPath; bool handedBack; }
    cases[] = {
        {"a path and its NUL fill the buffer", "fits.tl", 1, true},
        {"a path one byte too long", "long.tl", 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir temp;
        ASSERT_TRUE(QFile(temp.filePath(c.name)).open(QIODevice::WriteOnly));
        const std::string path = ToWindows1252(temp.filePath(c.name));
        const std::string folder = ToWindows1252(temp.path());
        std::vector<char> buffer(path.size() + c.roomBeyondPath, 'x');
        buffer.back() = '\0';
        const std::vector<char> before = buffer;
        char title[8] = "before";
        CFileDialog dialog(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST);
        dialog.m_ofn.lpstrFile = buffer.data();
        dialog.m_ofn.nMaxFile = static_cast<DWORD>(buffer.size());
        dialog.m_ofn.lpstrFileTitle = title;
        dialog.m_ofn.nMaxFileTitle = sizeof(title);
        dialog.m_ofn.lpstrInitialDir = folder.c_str();

        ChooseInNextDialog(c.name);
        ASSERT_EQ(dialog.DoModal(), c.handedBack ? IDOK : IDCANCEL);

        if (!c.handedBack) {
            EXPECT_EQ(buffer, before);
            EXPECT_STREQ(title, "before");
            continue;
        }
        EXPECT_EQ(std::string(buffer.data()), path);
        EXPECT_EQ(dialog.m_ofn.nFileOffset, folder.size() + 1);
        EXPECT_EQ(dialog.m_ofn.nFileExtension, path.size() - 2);
        EXPECT_STREQ(title, "fits.tl");
    }
}

}  // namespace
