// The result dialog: the opened text shown whole, whatever bytes it holds, and its edit kept
// inside the window while it is resized, never with a negative size.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTest>

#include <algorithm>
#include <string>
#include <vector>

#include "app/DecryptedData.h"
#include "app/LargeTextView.h"
#include "platform/Text1252.h"
#include "res/Resource.h"

namespace {

QPlainTextEdit* EditOf(DecryptedData& dialog) {
    return qobject_cast<QPlainTextEdit*>(dialog.GetDlgItem(IDC_DECRYPTED_TEXT)->GetSafeHwnd());
}

// Texts that the edit would take minutes to lay out go to the light view, which copies them
// back exactly.
TEST(ResultDialog, ShowsTheTextWhole) {
    std::string bytes;  // every byte but the line ends
    for (int byte = 1; byte < 256; ++byte) {
        if (byte != '\r' && byte != '\n') bytes += static_cast<char>(byte);
    }
    std::string controls(3'000'000, '\0');
    for (size_t i = 0; i < controls.size(); ++i) controls[i] = static_cast<char>(1 + i % 31);
    struct Case {
        const char* name;
        std::string text;
        std::string shown;  // in the edit, its lines with '\n' between them
        int rows;           // in the light view (-1: not counted); 0: in the edit
    };
    const Case cases[] = {
        {"empty", "", "", 0},
        {"lines", "first\r\nsecond\nthird", "first\nsecond\nthird", 0},
        {"every byte but the line ends", bytes, bytes, 0},
        {"a huge line", std::string(3'000'000, 'x'), "", 1500},
        {"many line ends", std::string(100'000, '\n'), "", 100'000},
        {"huge, with control bytes", "\xE9t\xE9\r\n" + controls, "", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DecryptedData dialog;
        dialog.m_strText = c.text;
        ASSERT_TRUE(dialog.Create());
        QPlainTextEdit* edit = EditOf(dialog);
        auto* view = edit->findChild<LargeTextView*>();
        ASSERT_EQ(view != nullptr, c.rows != 0);
        if (view == nullptr) {
            // The document's own characters: toPlainText would turn no-break spaces into blanks.
            QString shown = edit->document()->toRawText();
            shown.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
            EXPECT_EQ(shown.toStdString(), FromWindows1252(c.shown).toStdString());
            continue;
        }
        EXPECT_EQ(edit->focusProxy(), view);  // the first tab stop gives it the focus
        if (c.rows > 0) {
            EXPECT_EQ(view->RowCount(), c.rows);  // broken at the line ends and every kRowChars
        }
        QApplication::clipboard()->clear();
        QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        EXPECT_TRUE(QApplication::clipboard()->text() == FromWindows1252(c.text));
        dialog.GetDialogWidget()->resize(700, 500);
        QTest::qWait(20);
        EXPECT_EQ(view->geometry(), edit->contentsRect());
    }
}

// The edit's right and bottom edges stay 20 pixels inside the client area; a window smaller
// than that leaves a 1-pixel edit.
TEST(ResultDialog, EditFollowsTheWindowAndNeverTurnsNegative) {
    DecryptedData dialog;
    ASSERT_TRUE(dialog.Create());
    QDialog* window = dialog.GetDialogWidget();
    QPlainTextEdit* edit = EditOf(dialog);
    const QPoint origin = edit->pos();
    for (QSize size : {QSize(900, 600), QSize(300, 200), QSize(5, 5)}) {
        SCOPED_TRACE(size.width());
        window->resize(size);
        QTest::qWait(20);
        const QSize actual = window->size();
        EXPECT_EQ(edit->pos(), origin);
        EXPECT_EQ(edit->width(), std::max(actual.width() - 20 - origin.x(), 1));
        EXPECT_EQ(edit->height(), std::max(actual.height() - 20 - origin.y(), 1));
    }
}

// The light view keeps the bytes and converts the rows it paints: each row shows its own
// characters, broken as the edit's lines and every kRowChars characters. A NUL ends the text
// shown, and the dialog hands its text over rather than keeping a copy.
TEST(ResultDialog, LightViewRowsShowTheirOwnCharacters) {
    const std::string row(LargeTextView::kRowChars, 'b');
    struct Case {
        std::string text;
        std::vector<QString> rows;
    };
    const Case cases[] = {
        {"a\r\n\r\nb\rc\n\xE9\x80\x01\x7F", {"a", "", "b", "c", QString::fromUtf8("é€␁␡")}},
        {row + "\r\n" + row.substr(1) + "\r\nx", {QString::fromStdString(row), "", QString::fromStdString(row.substr(1)), "x"}},
        {row + row + "\n", {QString::fromStdString(row), QString::fromStdString(row), ""}},
    };
    QWidget parent;
    for (const Case& c : cases) {
        auto* view = new LargeTextView(&parent);
        view->SetText(c.text);
        std::vector<QString> rows;
        for (int64_t r = 0; r < view->RowCount(); ++r) rows.push_back(view->RowText(r));
        EXPECT_EQ(rows, c.rows) << c.text.substr(0, 8);
    }

    std::string huge(3'000'000, 'y');
    huge[2'500'000] = '\0';
    DecryptedData dialog;
    dialog.m_strText = huge;
    ASSERT_TRUE(dialog.Create());
    auto* view = EditOf(dialog)->findChild<LargeTextView*>();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(dialog.m_strText.empty());
    EXPECT_EQ(view->RowCount(), 1250);
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QApplication::clipboard()->text() == QString(2'500'000, QLatin1Char('y')));
}

}  // namespace
