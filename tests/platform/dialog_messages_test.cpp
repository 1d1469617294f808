// Messages reach the handlers through a dialog's map: notifications of edits and buttons, timers
// by id; what the map does not name gets the default handling (Escape, the close box and IDCANCEL
// end the dialog with IDCANCEL). Window texts cross as Windows-1252.
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/MessageBox.h"
#include "platform/probe_dialog.h"
#include "support/WhenModalOpens.h"

namespace {

// An edit notifies every change, typed or set; Enter presses the default button unless the
// focus is on another push button. (WM_SIZING is reached by the main and result dialogs' tests.)
TEST(DialogMessages, EditChangesAndClicksReachTheirHandlers) {
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    QTest::keyClicks(dialog.Widget(IDC_PASSWORD), "ab");
    dialog.GetDlgItem(IDC_PASSWORD)->SetWindowText("xyz");
    dialog.GetDlgItem(IDC_PASSWORD)->SetWindowText("xyz");  // an equal text is a change too
    dialog.GetDlgItem(IDC_TIMELOCK_FILE)->SetWindowText("");
    QTest::keyClicks(dialog.Widget(IDC_BLOCK_NUMBER), "7");  // not in the map: nothing
    QTest::keyClick(dialog.Widget(IDC_PASSWORD), Qt::Key_Return);
    QTest::keyClick(dialog.Widget(IDC_TIMELOCK_FILE), Qt::Key_Enter);
    QTest::mouseClick(dialog.Widget(IDC_SAVE_SETTINGS), Qt::LeftButton);
    dialog.Widget(IDC_SAVE_SETTINGS)->setFocus();
    QTest::keyClick(dialog.Widget(IDC_SAVE_SETTINGS), Qt::Key_Return);
    EXPECT_EQ(dialog.log, (Log{"password a", "password ab", "password xyz", "password xyz", "path ", "open",
                               "open", "save", "save"}));
}

TEST(DialogMessages, EndingTheDialogGivesDoModalItsResult) {
    // Escape and the close box come as SC_CLOSE and end the dialog through the cancel handling;
    // the OK command through OnOK; EndDialog with any value.
    const struct {
        const char* how;
        std::function<void(CDialog&, QWidget*)> end;
        INT_PTR want;
    } cases[] = {
        {"Escape", [](CDialog&, QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }, IDCANCEL},
        {"close box", [](CDialog&, QWidget* w) { w->close(); }, IDCANCEL},
        {"IDOK", [](CDialog& d, QWidget*) { d.SendMessage(WM_COMMAND, MakeCommandParam(IDOK, BN_CLICKED)); },
         IDOK},
        {"EndDialog", [](CDialog& d, QWidget*) { d.EndDialog(42); }, 42},
    };
    for (const auto& c : cases) {
        ProbeDialog dialog;
        WhenModalOpens([&](QWidget* modal) {
            EXPECT_EQ(modal, dialog.GetDialogWidget());
            c.end(dialog, modal);
        });
        EXPECT_EQ(dialog.DoModal(), c.want) << c.how;
        EXPECT_EQ(dialog.GetDialogWidget(), nullptr) << "the window goes when the dialog ends";
        EXPECT_EQ(dialog.GetDlgItem(IDC_PASSWORD), nullptr) << "and its controls with it";
        const Log closed{"command " + std::to_string(SC_CLOSE)};
        EXPECT_EQ(dialog.log, c.want == IDCANCEL ? closed : Log{}) << c.how;
    }
}

// (That setting a timer again restarts it is timed by the settings tests' typing.)
TEST(DialogMessages, TimersArriveByIdAlsoUnderAMessageBoxUntilKilled) {
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(dialog.SetTimer(7, 10, nullptr), 7u);
    EXPECT_EQ(dialog.SetTimer(1000, 200, nullptr), 1000u);
    WhenModalOpens([&](QWidget* box) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.log.size() == 2; }, 5000));
        QTest::keyClick(box, Qt::Key_Return);
    });
    AfxMessageBox("waiting");
    EXPECT_EQ(dialog.log, (Log{"timer 7", "timer 1000"}));
    QTest::qWait(50);  // each handler killed its timer: no more messages
    EXPECT_EQ(dialog.log.size(), 2u);
    EXPECT_FALSE(dialog.KillTimer(1000));
    EXPECT_EQ(dialog.SetTimer(3, 10, reinterpret_cast<void*>(&dialog)), 0u) << "callbacks are not offered";
}

TEST(DialogMessages, WindowTextIsCutToTheCountCrossesAsWindows1252AndKeepsItsLineEnds) {
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    CWnd* edit = dialog.GetDlgItem(IDC_PASSWORD);
    const struct {
        size_t length;  // of the text set
        int count;
        int expected;
    } cases[] = {{1100, 1023, 1022}, {40000, 50000, 40000}, {5, 1, 0}, {5, 0, 0}};  // an edit has no limit
    for (const auto& c : cases) {
        edit->SetWindowText(std::string(c.length, 'k').c_str());
        std::vector<char> buffer(50000, '#');
        EXPECT_EQ(edit->GetWindowText(buffer.data(), c.count), c.expected) << c.length;
        const char end = c.count != 0 ? '\0' : '#';  // a count of 0 writes nothing
        EXPECT_EQ(std::string(buffer.data(), c.expected + 1), std::string(c.expected, 'k') + end);
    }

    // "é" is the byte 0xE9; "€" 0x80; a character outside the code page is '?'.
    auto* line = qobject_cast<QLineEdit*>(edit->GetSafeHwnd());
    line->setText(QString::fromUtf8("é€Ж"));
    char small[64];
    EXPECT_EQ(edit->GetWindowText(small, 8), 3);
    EXPECT_EQ(std::string(small), "\xE9\x80?");
    edit->SetWindowText("caf\xE9");
    EXPECT_EQ(line->text(), QString::fromUtf8("café"));

    // A multi-line edit shows every line end and gives the text back as set.
    CDialog result(IDD_DECRYPTED_DATA);
    ASSERT_TRUE(result.Create());
    edit = result.GetDlgItem(IDC_DECRYPTED_TEXT);
    edit->SetWindowText("one\r\ntwo\nthree\rfour");
    auto* widget = qobject_cast<QPlainTextEdit*>(edit->GetSafeHwnd());
    EXPECT_EQ(widget->blockCount(), 4);
    edit->GetWindowText(small, 64);
    EXPECT_EQ(std::string(small), "one\r\ntwo\nthree\rfour");
    QTest::keyClick(widget, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(widget, "!");
    edit->GetWindowText(small, 64);
    EXPECT_EQ(std::string(small), "one\r\ntwo\r\nthree\r\nfour!") << "typed line ends are the edit's own";
}

}  // namespace
