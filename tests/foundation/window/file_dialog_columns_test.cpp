// The open-file dialog opens wide enough to read its listing: the detail view's size, type and
// date columns show an ordinary file's entry and their headers whole, and the dialog stays
// within the screen.
#include <memory>

#include <QDateTime>
#include <QFile>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTreeView>
#include <gtest/gtest.h>

#include "foundation/window/FileSelectionDialog.h"
#include "platform/Text1252.h"
#include "support/FileDialogUser.h"

namespace {

TEST(FileDialogColumnsTest, SizeTypeAndDateOfAnOrdinaryFileReadWhole) {
    // Enough files that the listing scrolls: "341 bytes", "plain text document", a late date.
    QTemporaryDir temp;
    for (int i = 10; i < 40; ++i) {
        QFile file(temp.filePath(QStringLiteral("readme%1.txt").arg(i)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(QByteArray(341, 'a')), 341);
        ASSERT_TRUE(file.flush());
        ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2025, 9, 28), QTime(23, 58, 58)),
                                     QFileDevice::FileModificationTime));
    }

    auto selection = std::make_unique<Zarnel::CFileSpecSelection>();
    ToWindows1252(temp.path()).copy(selection->m_szInitialDir, sizeof(selection->m_szInitialDir) - 1);
    selection->m_szFile[0] = '*';
    WhenModalOpens([](QWidget* modal) {
        QFileDialog* dialog = AsFileDialog(modal);
        ASSERT_NE(dialog, nullptr);
        auto* view = dialog->findChild<QTreeView*>();
        ASSERT_NE(view, nullptr);
        // The listing is read in the background: wait for the entry's texts.
        const auto text = [view](int column) {
            return view->model()->index(0, column, view->rootIndex()).data().toString();
        };
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return view->model()->rowCount(view->rootIndex()) == 30 && !text(1).isEmpty() &&
                   !text(2).isEmpty() && !text(3).isEmpty() && view->verticalScrollBar()->isVisible();
        }));
        for (int column = 1; column <= 3; ++column) {
            SCOPED_TRACE(text(column).toStdString());
            const QAbstractItemView* items = view;  // the view's widest cell in the column
            const QHeaderView* header = view->header();
            const int needed = std::max(items->sizeHintForColumn(column), header->sectionSizeHint(column));
            EXPECT_GE(header->sectionSize(column), needed) << "column " << column;
            EXPECT_LE(header->sectionViewportPosition(column) + header->sectionSize(column),
                      view->viewport()->width()) << "column " << column << " ends in view";
        }
        EXPECT_TRUE(dialog->screen()->availableGeometry().contains(dialog->geometry()));
        PressEscape(dialog);
    });
    EXPECT_EQ(selection->DoModal(), 0);
}

}  // namespace
