// The class library's open-file dialog: its filter list, and picking files through the real
// Qt dialog on the offscreen platform.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QListView>
#include <QMessageBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "foundation/TextString.h"
#include "support/FileDialogUser.h"
#include "foundation/window/FileSelectionDialog.h"
#include "platform/Text1252.h"

namespace {

using Zarnel::CFileSpecSelection;
using Zarnel::CTextString;

// The object is large, as its buffers are: keep it off the test's stack.
std::unique_ptr<CFileSpecSelection> MakeSelection() {
    return std::make_unique<CFileSpecSelection>();
}

// As the program's callers set it up: only an existing file can be chosen.
void OnlyExistingFiles(CFileSpecSelection& selection) {
    selection.m_dwFlags &= ~(OFN_OVERWRITEPROMPT | OFN_CREATEPROMPT);
    selection.m_dwFlags |= OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
}

void SetInitialFolder(CFileSpecSelection& selection, const QString& folder) {
    const std::string bytes = ToWindows1252(folder);
    ASSERT_LT(bytes.size(), sizeof(selection.m_szInitialDir));
    std::memcpy(selection.m_szInitialDir, bytes.c_str(), bytes.size() + 1);
}

void MakeFile(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

std::string PathName(CFileSpecSelection& selection) {
    CTextString path;
    EXPECT_EQ(selection.GetPathName(path), 1);
    return path.m_pszText;
}

struct FilterCase {
    const char* what;
    int16_t position;
    std::string description;
    std::string pattern;
    bool added;
};

TEST(FileSpecSelectionTest, AddFilterTakesOnlyPairsThatFitWithTheClosingText) {
    const std::vector<FilterCase> cases = {
        {"the settings pair at the start", 0, "Settings", ".ini", true},
        {"the settings pair at its last place", 496, "Settings", ".ini", true},
        {"the settings pair one place further", 497, "Settings", ".ini", false},
        {"a position in front of the list", -1, "Settings", ".ini", false},
        {"the longest pair that fits", 0, std::string(504, 'd'), "*.ab", true},
        {"one character more", 0, std::string(505, 'd'), "*.ab", false},
        // 511 characters and their NUL fill the list: no room is left for the pattern.
        {"a description of 600 characters", 0, std::string(600, 'd'), "*", false},
    };
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto selection = MakeSelection();
        std::memset(selection->m_szFilter, 'x', sizeof(selection->m_szFilter));
        selection->m_nFilterPos = c.position;
        const std::string before(selection->m_szFilter, sizeof(selection->m_szFilter));

        ASSERT_EQ(selection->AddFilter(c.description.c_str(), c.pattern.c_str()),
                  c.added ? 1 : 0);
        const std::string after(selection->m_szFilter, sizeof(selection->m_szFilter));
        if (!c.added) {
            EXPECT_EQ(after, before);
            EXPECT_EQ(selection->m_nFilterPos, c.position);
            continue;
        }
        const std::string pair = c.description + '\0' + c.pattern + '\0';
        EXPECT_EQ(after.substr(c.position, pair.size()), pair);
        EXPECT_EQ(after.substr(0, c.position), before.substr(0, c.position));
        EXPECT_EQ(after.substr(c.position + pair.size()), before.substr(c.position + pair.size()));
        EXPECT_EQ(selection->m_nFilterPos, c.position + static_cast<int>(pair.size()));
    }
}

struct ChoiceCase {
    const char* what;
    QString folder;  // under the temporary folder
    QString name;
};

TEST(FileSpecSelectionTest, ChosenFileComesBackAsFolderNameAndFullPath) {
    const std::vector<ChoiceCase> cases = {
        {"a plain file", "", "name.tl"},
        {"a folder that ends in a blank", "with blank ", "notes.ini"},
        {"a Windows-1252 letter", "caf\u00e9", "r\u00e9sum\u00e9.tl"},
        {"a name longer than the title buffer", "", QString(40, QLatin1Char('n')) + ".tl"},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir temp;
        ASSERT_TRUE(temp.isValid());
        const QString folder = temp.path() + (c.folder.isEmpty() ? "" : "/" + c.folder);
        ASSERT_TRUE(QDir().mkpath(folder));
        MakeFile(folder + "/" + c.name);
        auto selection = MakeSelection();
        OnlyExistingFiles(*selection);
        SetInitialFolder(*selection, folder);
        std::strcpy(selection->m_szFile, "*");

        ChooseInNextDialog(c.name);
        ASSERT_EQ(selection->DoModal(), 1);

        const std::string folderBytes = ToWindows1252(folder);
        const std::string nameBytes = ToWindows1252(c.name);
        EXPECT_EQ(std::string(selection->m_szFile), folderBytes);
        EXPECT_EQ(selection->m_nFileOffset, folderBytes.size() + 1);
        EXPECT_EQ(std::string(selection->m_szFile + selection->m_nFileOffset), nameBytes);
        EXPECT_EQ(std::string(selection->m_szFileTitle), nameBytes.substr(0, 31));
        EXPECT_EQ(selection->m_bPathSplit & 1, 1u);
        EXPECT_EQ(selection->m_nFilterIndex, 0u);
        EXPECT_EQ(PathName(*selection), folderBytes + "/" + nameBytes);
    }
}

TEST(FileSpecSelectionTest, FileInTheRootKeepsItsBufferAndItsFullPath) {
    // Qt's dialog takes a new name when the file need not exist; "/" itself always does.
    const QString path = "/tarnvault-no-such-file.ext";
    ASSERT_FALSE(QFileInfo::exists(path));
    auto selection = MakeSelection();

    ChooseInNextDialog(path);
    ASSERT_EQ(selection->DoModal(), 1);

    EXPECT_STREQ(selection->m_szFile, "/tarnvault-no-such-file.ext");
    EXPECT_EQ(selection->m_nFileOffset, 1u);
    EXPECT_EQ(PathName(*selection), "/tarnvault-no-such-file.ext");
}

TEST(FileSpecSelectionTest, CancelLeavesTheCallersDataAsItWas) {
    QTemporaryDir temp;
    auto selection = MakeSelection();
    OnlyExistingFiles(*selection);
    SetInitialFolder(*selection, temp.path());
    std::strcpy(selection->m_szFile, "*.tl");
    std::strcpy(selection->m_szFileTitle, "title");
    selection->m_nFileOffset = 7;
    selection->m_nFilterIndex = 3;

    CancelNextDialog();
    EXPECT_EQ(selection->DoModal(), 0);

    EXPECT_STREQ(selection->m_szFile, "*.tl");
    EXPECT_STREQ(selection->m_szFileTitle, "title");
    EXPECT_EQ(selection->m_nFileOffset, 7u);
    EXPECT_EQ(selection->m_nFilterIndex, 3u);
}

TEST(FileSpecSelectionTest, NameThatDoesNotExistIsRefusedWhileTheDialogStaysOpen) {
    QTemporaryDir temp;
    auto selection = MakeSelection();
    OnlyExistingFiles(*selection);
    SetInitialFolder(*selection, temp.path());
    bool warned = false;
    bool stayedOpen = false;

    WhenModalOpens([&](QWidget* modal) {
        QFileDialog* dialog = AsFileDialog(modal);
        ASSERT_NE(dialog, nullptr);
        WhenModalOpens([&](QWidget* box) {
            warned = qobject_cast<QMessageBox*>(box) != nullptr;
            PressEscape(box);
        });
        TypeNameAndEnter(dialog, "missing.tl");
        stayedOpen = dialog->isVisible();
        PressEscape(dialog);
    });
    EXPECT_EQ(selection->DoModal(), 0);
    EXPECT_TRUE(warned);
    EXPECT_TRUE(stayedOpen);
}

struct ListingCase {
    const char* what;
    const char* initialName;
    bool settingsFilter;
    QStringList shownFilters;
    QStringList listed;
    uint32_t filterIndex;  // after choosing the first listed file
};

QStringList ListedNames(QFileDialog* dialog, int atLeast) {
    auto* list = dialog->findChild<QListView*>(QStringLiteral("listView"));
    EXPECT_NE(list, nullptr);
    if (list == nullptr) {
        return {};
    }
    // The folder is read in the background.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return list->model()->rowCount(list->rootIndex()) >= atLeast; }));
    QStringList names;
    for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row) {
        names << list->model()->index(row, 0, list->rootIndex()).data().toString();
    }
    names.sort();
    return names;
}

TEST(FileSpecSelectionTest, WildcardInTheInitialNameListsOnlyWhatItMatches) {
    const std::vector<ListingCase> cases = {
        {"the settings files, as the snapshot loader asks", "*.ini", true,
         {"Settings (*.ini)"}, {"a.ini", "b.ini"}, 1},
        {"everything", "*", false, {"*"}, {"a.ini", "b.ini", "c.txt"}, 0},
        {"a pattern of its own in front of the pairs", "*.txt", true,
         {"*.txt", "Settings (*.ini)"}, {"c.txt"}, 0},
    };
    for (const ListingCase& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir temp;
        for (const char* name : {"a.ini", "b.ini", "c.txt"}) {
            MakeFile(temp.filePath(name));
        }
        auto selection = MakeSelection();
        OnlyExistingFiles(*selection);
        SetInitialFolder(*selection, temp.path() + "/");
        std::strcpy(selection->m_szFile, c.initialName);
        if (c.settingsFilter) {
            ASSERT_EQ(selection->AddFilter("Settings", ".ini"), 1);
        }
        QStringList shown;
        QStringList listed;
        QString nameBox = "not read";

        WhenModalOpens([&](QWidget* modal) {
            QFileDialog* dialog = AsFileDialog(modal);
            ASSERT_NE(dialog, nullptr);
            shown = dialog->nameFilters();
            nameBox = NameBox(dialog)->text();
            listed = ListedNames(dialog, static_cast<int>(c.listed.size()));
            TypeNameAndEnter(dialog, c.listed.first());
        });
        ASSERT_EQ(selection->DoModal(), 1);

        EXPECT_EQ(shown, c.shownFilters);
        EXPECT_EQ(listed, c.listed);
        EXPECT_EQ(nameBox, "");
        EXPECT_EQ(selection->m_nFilterIndex, c.filterIndex);
    }
}

struct StartCase {
    const char* what;
    std::string title;
    QString initialFolder;  // "<temp>" stands for the temporary folder
    QString expectedTitle;
    bool opensInTemp;
};

TEST(FileSpecSelectionTest, TitleAndInitialFolderReachTheDialog) {
    const std::vector<StartCase> cases = {
        {"a folder", "Select the TimeLock file...", "<temp>", "Select the TimeLock file...", true},
        {"a folder with its separator", "Select a settings file...", "<temp>/",
         "Select a settings file...", true},
        {"no folder and no title", "", "", "Open", false},
        {"a folder that does not exist", "T", "<temp>/missing", "T", false},
    };
    QTemporaryDir temp;
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto selection = MakeSelection();
        selection->m_strTitle = c.title;
        QString folder = c.initialFolder;
        SetInitialFolder(*selection, folder.replace("<temp>", temp.path()));
        QString title;
        QString opened;

        WhenModalOpens([&](QWidget* modal) {
            QFileDialog* dialog = AsFileDialog(modal);
            ASSERT_NE(dialog, nullptr);
            title = dialog->windowTitle();
            opened = dialog->directory().absolutePath();
            PressEscape(dialog);
        });
        EXPECT_EQ(selection->DoModal(), 0);

        EXPECT_EQ(title, c.expectedTitle);
        EXPECT_EQ(opened, c.opensInTemp ? QDir(temp.path()).absolutePath() : QDir::currentPath());
    }
}

}  // namespace
