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

#include "app/DecryptedData.h"
#include "app/LargeTextView.h"
#include "platform/Text1252.h"
#include "res/Resource.h"

namespace {

QPlainTextEdit* EditOf(DecryptedData& dialog) {
    return qobject_cast<QPlainTextEdit*>(dialog.GetDlgItem(IDC_DECRYPTED_TEXT)->GetSafeHwnd());
}

TEST(ResultDialog, ShowsTheTextWhole) {
    std::string controls;
    for (int byte = 1; byte < 256; ++byte) {
        if (byte != '\r' && byte != '\n') controls += static_cast<char>(byte);
    }
    struct Case {
        const char* name;
        std::string text;
        std::string shown;  // as the edit's lines read, with '\n' between them
    };
    const Case cases[] = {
        {"empty", "", ""},
        {"lines", "first\r\nsecond\nthird", "first\nsecond\nthird"},
        {"every byte but the line ends", controls, controls},
        {"a long line", std::string(200'000, 'x') + "end", std::string(200'000, 'x') + "end"},
    };
    for (const Case& c : cases) {
        DecryptedData dialog;
        dialog.m_strText = c.text;
        ASSERT_TRUE(dialog.Create());
        EXPECT_EQ(dialog.GetDialogWidget()->windowTitle(), "Decrypted Data");
        // The document's own characters: toPlainText would turn no-break spaces into blanks.
        QString shown = EditOf(dialog)->document()->toRawText();
        shown.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        const QString expected = FromWindows1252(c.shown);
        const auto differ = std::mismatch(shown.begin(), shown.end(), expected.begin(), expected.end());
        EXPECT_TRUE(shown == expected)
            << c.name << ": differs at character " << differ.first - shown.begin();
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

// Texts that the edit would take minutes to lay out go to the light view, which copies them
// back exactly.
TEST(ResultDialog, HugeTextsShowInTheLightViewAndCopyWhole) {
    std::string controls(3'000'000, '\0');
    for (size_t i = 0; i < controls.size(); ++i) controls[i] = static_cast<char>(1 + i % 31);
    const std::string cases[] = {
        std::string(3'000'000, 'x'),
        std::string(100'000, '\n'),
        "\xE9t\xE9\r\n" + controls,
    };
    for (const std::string& text : cases) {
        DecryptedData dialog;
        dialog.m_strText = text;
        ASSERT_TRUE(dialog.Create());
        QWidget* edit = EditOf(dialog);
        auto* view = edit->findChild<LargeTextView*>();
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->geometry(), edit->contentsRect());
        EXPECT_EQ(edit->focusProxy(), view);  // the first tab stop gives it the focus
        QApplication::clipboard()->clear();
        QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        EXPECT_TRUE(QApplication::clipboard()->text() == FromWindows1252(text));
        // Rows break at the line ends and every kRowChars characters.
        if (text[0] == 'x') {
            EXPECT_EQ(view->RowCount(), 1500);
        } else if (text[0] == '\n') {
            EXPECT_EQ(view->RowCount(), 100'000);
        }

        dialog.GetDialogWidget()->resize(700, 500);
        QTest::qWait(20);
        EXPECT_EQ(view->geometry(), edit->contentsRect());
    }
}

}  // namespace
