// Messages reach the handlers through a dialog's map: notifications of edits and buttons,
// timers by id, resizing, painting, system commands; what the map does not name gets the
// default handling (Escape, the close box and IDCANCEL end the dialog with IDCANCEL).
#include <string>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/Dialog.h"
#include "platform/MessageBox.h"
#include "platform/Text1252.h"
#include "res/Resource.h"
#include "support/WhenModalOpens.h"

namespace {

class ProbeDialog : public CDialog {
public:
    ProbeDialog() : CDialog(IDD_TARNVAULT_DIALOG) {}

    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CDialog::GetThisMessageMap(), {
            OnNotify(EN_CHANGE, IDC_PASSWORD, &ProbeDialog::OnPasswordChanged),
            OnNotify(EN_CHANGE, IDC_TIMELOCK_FILE, &ProbeDialog::OnPathChanged),
            OnNotify(BN_CLICKED, IDC_SAVE_SETTINGS, &ProbeDialog::OnSave),
            OnMessage(WM_TIMER, &ProbeDialog::OnTimer),
            OnMessage(WM_SIZING, &ProbeDialog::OnSizing),
        });
        return &map;
    }

    void OnPasswordChanged() { log.push_back("password " + Text(IDC_PASSWORD)); }
    void OnPathChanged() { log.push_back("path " + Text(IDC_TIMELOCK_FILE)); }
    void OnSave() { log.push_back("save"); }
    void OnTimer(UINT_PTR id) {
        log.push_back("timer " + std::to_string(id));
        if (killOnTimer) KillTimer(id);
        Default();
    }
    void OnSizing(UINT edge, RECT* proposed) {
        RECT client;
        GetClientRect(&client);
        log.push_back("sizing " + std::to_string(edge) + " " + std::to_string(client.right) + " " +
                      std::to_string(proposed->Width() >= client.right));
    }

    std::string Text(int id) const {
        char buffer[1023];
        GetDlgItem(id)->GetWindowText(buffer, 1023);
        return buffer;
    }
    QWidget* Widget(int id) const { return GetDlgItem(id)->GetSafeHwnd(); }

    std::vector<std::string> log;
    bool killOnTimer = true;
};

using Log = std::vector<std::string>;

// Types characters that have no key of their own on a US keyboard, as an input method would.
void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

TEST(DialogMessages, EditChangesReachTheHandlerWhetherTypedOrSet) {
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    QTest::keyClicks(dialog.Widget(IDC_PASSWORD), "ab");
    dialog.GetDlgItem(IDC_PASSWORD)->SetWindowText("xyz");
    dialog.GetDlgItem(IDC_PASSWORD)->SetWindowText("xyz");  // an equal text is a change too
    dialog.GetDlgItem(IDC_TIMELOCK_FILE)->SetWindowText("");
    QTest::keyClicks(dialog.Widget(IDC_BLOCK_NUMBER), "7");  // not in the map: nothing
    EXPECT_EQ(dialog.log, (Log{"password a", "password ab", "password xyz", "password xyz", "path "}));
}

TEST(DialogMessages, ButtonClicksAndEnterReachTheirHandlers) {
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    QTest::mouseClick(dialog.Widget(IDC_SAVE_SETTINGS), Qt::LeftButton);
    // Enter on another push button presses that button, not the default one.
    dialog.Widget(IDC_SAVE_SETTINGS)->setFocus();
    QTest::keyClick(dialog.Widget(IDC_SAVE_SETTINGS), Qt::Key_Return);
    EXPECT_EQ(dialog.log, (Log{"save", "save"}));
}

TEST(DialogMessages, EnterInAnEditPressesTheDefaultButton) {
    struct Counting : CDialog {
        Counting() : CDialog(IDD_TARNVAULT_DIALOG) {}
        const MessageMap* GetMessageMap() const override {
            static const MessageMap map(CDialog::GetThisMessageMap(),
                                        {OnNotify(BN_CLICKED, IDC_OPEN_TIMELOCK, &Counting::OnOpen)});
            return &map;
        }
        void OnOpen() { ++opened; }
        int opened = 0;
    } dialog;
    ASSERT_TRUE(dialog.Create());
    QTest::keyClick(dialog.GetDlgItem(IDC_PASSWORD)->GetSafeHwnd(), Qt::Key_Return);
    QTest::keyClick(dialog.GetDlgItem(IDC_TIMELOCK_FILE)->GetSafeHwnd(), Qt::Key_Enter);
    EXPECT_EQ(dialog.opened, 2);
}

TEST(DialogMessages, EndingTheDialogGivesDoModalItsResult) {
    // Escape, the close box and the cancel command end the dialog through the cancel handling;
    // the OK command through OnOK; EndDialog with any value.
    const struct {
        const char* how;
        std::function<void(CDialog&, QWidget*)> end;
        INT_PTR want;
    } cases[] = {
        {"Escape", [](CDialog&, QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }, IDCANCEL},
        {"close box", [](CDialog&, QWidget* w) { w->close(); }, IDCANCEL},
        {"SC_CLOSE", [](CDialog& d, QWidget*) { d.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL},
        {"IDOK", [](CDialog& d, QWidget*) { d.SendMessage(WM_COMMAND, MakeCommandParam(IDOK, BN_CLICKED)); }, IDOK},
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
        EXPECT_TRUE(dialog.log.empty()) << c.how;
    }
}

TEST(DialogMessages, TimerArrivesByIdAndRestartsWhenSetAgain) {
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    QElapsedTimer sinceStart;
    sinceStart.start();
    EXPECT_EQ(dialog.SetTimer(1000, 400, nullptr), 1000u);
    EXPECT_EQ(dialog.SetTimer(7, 10, nullptr), 7u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.log.empty(); }, 5000));
    if (sinceStart.elapsed() > 300) GTEST_SKIP() << "the machine was too busy to time the timers";
    QElapsedTimer sinceRestart;
    sinceRestart.start();
    dialog.SetTimer(1000, 400, nullptr);  // restarted: due 400 ms from now, not from the first call
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.log.size() == 2; }, 5000));
    EXPECT_GE(sinceRestart.elapsed(), 395);
    EXPECT_EQ(dialog.log, (Log{"timer 7", "timer 1000"}));
    QTest::qWait(50);  // each handler killed its timer: no more messages
    EXPECT_EQ(dialog.log.size(), 2u);
    EXPECT_FALSE(dialog.KillTimer(1000));
    EXPECT_EQ(dialog.SetTimer(3, 10, reinterpret_cast<void*>(&dialog)), 0u) << "callbacks are not offered";
}

TEST(DialogMessages, TimerIsDeliveredWhileAMessageBoxIsOpen) {
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.SetTimer(1000, 30, nullptr);
    WhenModalOpens([&](QWidget* box) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.log.empty(); }, 2000));
        QTest::keyClick(box, Qt::Key_Return);
    });
    AfxMessageBox("waiting");
    EXPECT_EQ(dialog.log, (Log{"timer 1000"}));
}

TEST(DialogMessages, ResizingAShownDialogSendsSizingWithTheNewClientSize) {
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    QDialog* window = dialog.GetDialogWidget();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    dialog.log.clear();
    window->resize(window->width() + 50, window->height());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.log.empty(); }, 2000));
    EXPECT_EQ(dialog.log.back(), "sizing 8 " + std::to_string(window->width()) + " 1");
}

TEST(DialogMessages, WindowTextIsCutToTheCountAndCrossesAsWindows1252) {
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Create());
    CWnd* edit = dialog.GetDlgItem(IDC_PASSWORD);
    const std::string long1100(1100, 'k');
    edit->SetWindowText(long1100.c_str());
    std::vector<char> buffer(2000, '#');
    EXPECT_EQ(edit->GetWindowText(buffer.data(), 1023), 1022);
    EXPECT_EQ(std::string(buffer.data()), std::string(1022, 'k'));
    const std::string long40000(40000, 'q');  // beyond the widget's usual limit: an edit has none
    edit->SetWindowText(long40000.c_str());
    std::vector<char> large(50000);
    EXPECT_EQ(edit->GetWindowText(large.data(), 50000), 40000);
    EXPECT_EQ(edit->GetWindowText(buffer.data(), 1), 0);
    EXPECT_EQ(buffer[0], '\0');
    buffer[0] = '#';
    EXPECT_EQ(edit->GetWindowText(buffer.data(), 0), 0);
    EXPECT_EQ(buffer[0], '#') << "a count of 0 writes nothing";

    // "é" typed is the byte 0xE9; "€" 0x80; a character outside the code page is '?'.
    auto* line = qobject_cast<QLineEdit*>(edit->GetSafeHwnd());
    line->clear();
    TypeText(line, QString::fromUtf8("é€Ж"));
    char small[8];
    EXPECT_EQ(edit->GetWindowText(small, 8), 3);
    EXPECT_EQ(std::string(small), "\xE9\x80?");
    edit->SetWindowText("caf\xE9");
    EXPECT_EQ(line->text(), QString::fromUtf8("café"));
}

TEST(DialogMessages, MultiLineEditShowsEveryLineEndAndGivesBackTheTextAsSet) {
    CDialog dialog(IDD_DECRYPTED_DATA);
    ASSERT_TRUE(dialog.Create());
    CWnd* edit = dialog.GetDlgItem(IDC_DECRYPTED_TEXT);
    edit->SetWindowText("one\r\ntwo\nthree\rfour");
    auto* widget = qobject_cast<QPlainTextEdit*>(edit->GetSafeHwnd());
    EXPECT_EQ(widget->blockCount(), 4);
    char buffer[64];
    edit->GetWindowText(buffer, 64);
    EXPECT_EQ(std::string(buffer), "one\r\ntwo\nthree\rfour");
    QTest::keyClick(widget, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(widget, "!");
    edit->GetWindowText(buffer, 64);
    EXPECT_EQ(std::string(buffer), "one\r\ntwo\r\nthree\r\nfour!") << "typed text has the edit's own line ends";
}

}  // namespace
