// The file dialog under the selection class: what it refuses to hand back, and the folder
// rule of a name that need not exist.
#include <cstring>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/FileDialogUser.h"
#include "platform/FileDialog.h"
#include "platform/Text1252.h"

namespace {

struct ReturnCase {
    const char* what;
    QString name;
    int roomBeyondPath;  // bytes of lpstrFile beyond the path's own length
    INT_PTR result;
};

TEST(FileDialogTest, PathIsHandedBackWholeOrNotAtAll) {
    const std::vector<ReturnCase> cases = {
        {"a path and its NUL fill the buffer", "fits.tl", 1, IDOK},
        {"a path one byte too long", "long.tl", 0, IDCANCEL},
        {"a name without a Windows-1252 byte", "\u65e5\u672c.tl", 64, IDCANCEL},
    };
    for (const ReturnCase& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir temp;
        const QString path = QDir(temp.path()).absoluteFilePath(c.name);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const std::string pathBytes = ToWindows1252(path);
        std::vector<char> buffer(pathBytes.size() + c.roomBeyondPath, 'x');
        buffer.back() = '\0';
        const std::vector<char> before = buffer;
        const std::string folder = ToWindows1252(temp.path());
        char title[8] = "before";

        CFileDialog dialog(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST);
        dialog.m_ofn.lpstrFile = buffer.data();
        dialog.m_ofn.nMaxFile = static_cast<DWORD>(buffer.size());
        dialog.m_ofn.lpstrFileTitle = title;
        dialog.m_ofn.nMaxFileTitle = sizeof(title);
        dialog.m_ofn.lpstrInitialDir = folder.c_str();
        ChooseInNextDialog(c.name);
        ASSERT_EQ(dialog.DoModal(), c.result);

        if (c.result != IDOK) {
            EXPECT_EQ(buffer, before);
            EXPECT_STREQ(title, "before");
            continue;
        }
        EXPECT_EQ(std::string(buffer.data()), pathBytes);
        EXPECT_EQ(dialog.m_ofn.nFileOffset, folder.size() + 1);
        EXPECT_EQ(dialog.m_ofn.nFileExtension, pathBytes.size() - 2);
        EXPECT_STREQ(title, "fits.tl");
    }
}

TEST(FileDialogTest, NewNameInAMissingFolderIsRefusedWhenThePathMustExist) {
    QTemporaryDir temp;
    const std::string folder = ToWindows1252(temp.path());
    char file[256] = "";
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_PATHMUSTEXIST);
    dialog.m_ofn.lpstrFile = file;
    dialog.m_ofn.nMaxFile = sizeof(file);
    dialog.m_ofn.lpstrInitialDir = folder.c_str();
    bool warned = false;
    bool stayedOpen = false;

    WhenModalOpens([&](QWidget* modal) {
        QFileDialog* fileDialog = AsFileDialog(modal);
        ASSERT_NE(fileDialog, nullptr);
        WhenModalOpens([&](QWidget* box) {
            warned = qobject_cast<QMessageBox*>(box) != nullptr;
            PressEscape(box);
        });
        TypeNameAndEnter(fileDialog, "missing/new.tl");
        stayedOpen = fileDialog->isVisible();
        TypeNameAndEnter(fileDialog, "new.tl");
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);

    EXPECT_TRUE(warned);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(std::string(file), folder + "/new.tl");
}

}  // namespace
