// The main dialog as the program builds it: template 102's controls, their places and tab
// order, the system menu's About entry and the About box, and the path field that follows the
// window's width.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <string>
#include <vector>

#include "app/settings_fixture.h"
#include "platform/DialogUnits.h"
#include "platform/SystemMenu.h"
#include "res/Resource.h"
#include "support/WhenModalOpens.h"

namespace {

enum class Kind { Edit, Label, RightLabel, Button, DefaultButton };

struct Control {
    int id;
    Kind kind;
    int x, y, cx, cy;
    const char* text;
};

// Template 102 in template order.
const Control kControls[] = {
    {IDC_BLOCK_NUMBER, Kind::Edit, 77, 23, 78, 12, ""},
    {IDC_BLOCK_VERSION, Kind::Edit, 77, 37, 78, 12, ""},
    {IDC_PREV_BLOCK_HASH, Kind::Edit, 77, 51, 262, 12, ""},
    {IDC_MERKLE_ROOT, Kind::Edit, 77, 65, 262, 12, ""},
    {IDC_TIME_STAMP, Kind::Edit, 77, 79, 78, 12, ""},
    {IDC_BITS, Kind::Edit, 77, 93, 78, 12, ""},
    {IDC_NONCE, Kind::Edit, 77, 107, 78, 12, ""},
    {IDC_OPEN_TIMELOCK, Kind::DefaultButton, 158, 163, 75, 19, "Open TimeLock"},
    {IDC_STATIC, Kind::RightLabel, 10, 24, 60, 8, "Block Number"},
    {IDC_STATIC, Kind::RightLabel, 10, 38, 60, 8, "Block Version"},
    {IDC_STATIC, Kind::RightLabel, 10, 52, 60, 8, "Prev Block Hash"},
    {IDC_STATIC, Kind::RightLabel, 10, 66, 60, 8, "Merkle Root"},
    {IDC_STATIC, Kind::RightLabel, 10, 80, 60, 8, "Time Stamp"},
    {IDC_STATIC, Kind::RightLabel, 10, 94, 60, 8, "Bits"},
    {IDC_STATIC, Kind::RightLabel, 10, 108, 60, 8, "Nonce"},
    {IDC_STATIC, Kind::Label, 36, 131, 56, 8, "TimeLock File"},
    {IDC_BROWSE_TIMELOCK, Kind::Button, 14, 141, 17, 8, "..."},
    {IDC_TIMELOCK_FILE, Kind::Edit, 34, 140, 350, 10, ""},
    {IDC_BLOCK_NUMBER_STATUS, Kind::Label, 162, 25, 220, 8, ""},
    {IDC_BLOCK_VERSION_STATUS, Kind::Label, 162, 39, 220, 8, ""},
    {IDC_TIME_STAMP_STATUS, Kind::Label, 162, 81, 220, 8, "1970/01/01 00:00:00 UTC"},
    {IDC_BITS_STATUS, Kind::Label, 162, 97, 220, 8, ""},
    {IDC_NONCE_STATUS, Kind::Label, 162, 109, 220, 8, ""},
    {IDC_PREV_BLOCK_HASH_STATUS, Kind::Label, 345, 53, 39, 8, "Invalid"},
    {IDC_MERKLE_ROOT_STATUS, Kind::Label, 345, 67, 39, 8, "Invalid"},
    {IDC_PASSWORD, Kind::Edit, 77, 9, 262, 12, ""},
    {IDC_STATIC, Kind::RightLabel, 10, 10, 60, 8, "Password"},
    {IDC_PASSWORD_STATUS, Kind::Label, 345, 11, 39, 8, ""},
    {IDC_SAVE_SETTINGS, Kind::Button, 280, 168, 46, 13, "Save"},
    {IDC_LOAD_SETTINGS, Kind::Button, 328, 168, 46, 13, "Load"},
};

class MainDialog : public SettingsFixture {
protected:
    QWidget* Widget(int id) const { return m_dialog->GetDlgItem(id)->GetSafeHwnd(); }

    QLabel* LabelWithText(const char* text) const {
        for (QLabel* label : m_dialog->GetDialogWidget()->findChildren<QLabel*>()) {
            if (label->text() == QString::fromLatin1(text)) return label;
        }
        return nullptr;
    }
};

// A first start: empty fields, so the statuses are those of empty fields (the empty hashes
// are invalid, the empty time stamp shows the date of 0).
TEST_F(MainDialog, BuildsEveryControlOfItsTemplateInPlace) {
    OpenDialog();
    QDialog* window = m_dialog->GetDialogWidget();
    EXPECT_EQ(window->windowTitle(), "Tarnvault V1.0");
    const DialogUnits units = DialogUnits::ForFont(window->font());

    for (const Control& c : kControls) {
        SCOPED_TRACE(c.text[0] != '\0' ? c.text : std::to_string(c.id).c_str());
        QWidget* widget = c.id == IDC_STATIC ? LabelWithText(c.text) : Widget(c.id);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), units.Rect(c.x, c.y, c.cx, c.cy));
        switch (c.kind) {
            case Kind::Edit: {
                auto* edit = qobject_cast<QLineEdit*>(widget);
                ASSERT_NE(edit, nullptr);
                EXPECT_EQ(edit->echoMode(), QLineEdit::Normal);  // the password shows as typed
                EXPECT_EQ(edit->text(), c.text);
                break;
            }
            case Kind::Label:
            case Kind::RightLabel: {
                auto* label = qobject_cast<QLabel*>(widget);
                ASSERT_NE(label, nullptr);
                EXPECT_EQ(label->text(), c.text);
                EXPECT_EQ(bool(label->alignment() & Qt::AlignRight), c.kind == Kind::RightLabel);
                break;
            }
            case Kind::Button:
            case Kind::DefaultButton: {
                auto* button = qobject_cast<QPushButton*>(widget);
                ASSERT_NE(button, nullptr);
                EXPECT_EQ(button->text(), c.text);
                EXPECT_EQ(button->isDefault(), c.kind == Kind::DefaultButton);
                break;
            }
        }
    }
}

TEST_F(MainDialog, TabOrderIsTheTemplateOrderOfItsTabStops) {
    OpenDialog();
    QDialog* window = m_dialog->GetDialogWidget();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    const std::vector<int> expected = {IDC_BLOCK_NUMBER, IDC_BLOCK_VERSION, IDC_PREV_BLOCK_HASH,
                                       IDC_MERKLE_ROOT, IDC_TIME_STAMP, IDC_BITS, IDC_NONCE,
                                       IDC_OPEN_TIMELOCK, IDC_BROWSE_TIMELOCK, IDC_TIMELOCK_FILE,
                                       IDC_PASSWORD, IDC_SAVE_SETTINGS, IDC_LOAD_SETTINGS,
                                       IDC_BLOCK_NUMBER};
    for (size_t step = 0; step < expected.size(); ++step) {
        EXPECT_EQ(QApplication::focusWidget(), Widget(expected[step])) << "step " << step;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

TEST_F(MainDialog, SystemMenuOpensTheAboutBoxWithTheVersionText) {
    OpenDialog();
    const std::vector<CMenu::Item>& items = m_dialog->GetSystemMenu(FALSE)->Items();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].flags, MF_SEPARATOR);
    EXPECT_EQ(items[1].id, static_cast<UINT_PTR>(IDM_ABOUTBOX));
    EXPECT_EQ(items[1].text, "&About Tarnvault...");

    theApp.m_strVersion = "2.3.4.5";
    QStringList shown;
    WhenModalOpens([&](QWidget* about) {
        EXPECT_EQ(about->windowTitle(), "About Tarnvault");
        for (QLabel* label : about->findChildren<QLabel*>()) shown << label->text();
        QTest::keyClick(about, Qt::Key_Escape);
    });
    m_dialog->SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX | 0x000F, 0);  // the low bits do not count
    EXPECT_TRUE(shown.contains("Tarnvault, Version 1.0"));
    EXPECT_TRUE(shown.contains("2.3.4.5"));
    EXPECT_TRUE(m_dialog->IsWindowVisible());
}

// The field's right edge keeps 3 pixels inside the client area, and it shrinks no further
// than a width of 20 pixels.
TEST_F(MainDialog, PathFieldFollowsTheWindowWidth) {
    OpenDialog();
    QDialog* window = m_dialog->GetDialogWidget();
    QWidget* field = Widget(IDC_TIMELOCK_FILE);
    const QRect start = field->geometry();
    const int height = window->height();
    for (int width : {window->width() + 300, window->width() - 40, 10}) {
        SCOPED_TRACE(width);
        window->resize(width, height);
        QTest::qWait(20);
        const int actual = window->width();
        const QRect now = field->geometry();
        EXPECT_EQ(now.left(), start.left());
        EXPECT_EQ(now.top(), start.top());
        EXPECT_EQ(now.height(), start.height());
        EXPECT_EQ(now.width(), std::max(actual - 3 - start.left(), 20));
    }
}

}  // namespace
