// The main dialog as the program builds it: its template and tab order, the system menu's About
// entry and the About box, the path field that follows the window's width, and the "..." button
// with the file dialog driven.
#include <QDialog>
#include <QLabel>
#include <QLineEdit>

#include <string>
#include <vector>

#include "app/settings_fixture.h"
#include "platform/SystemMenu.h"
#include "res/Resource.h"

namespace {

using MainDialog = SettingsFixture;

// The template's controls (whose places the template tests check), with Tab through the tab
// stops in template order.
TEST_F(MainDialog, ShowsItsTemplateAndTabsInTemplateOrder) {
    OpenDialog();
    QDialog* window = m_dialog->GetDialogWidget();
    EXPECT_EQ(qobject_cast<QLineEdit*>(Widget(IDC_PASSWORD))->echoMode(), QLineEdit::Normal);

    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    const int order[] = {IDC_BLOCK_NUMBER, IDC_BLOCK_VERSION, IDC_PREV_BLOCK_HASH, IDC_MERKLE_ROOT,
                         IDC_TIME_STAMP, IDC_BITS, IDC_NONCE, IDC_OPEN_TIMELOCK, IDC_BROWSE_TIMELOCK,
                         IDC_TIMELOCK_FILE, IDC_PASSWORD, IDC_SAVE_SETTINGS, IDC_LOAD_SETTINGS,
                         IDC_BLOCK_NUMBER};
    for (size_t step = 0; step < std::size(order); ++step) {
        EXPECT_EQ(QApplication::focusWidget(), Widget(order[step])) << "step " << step;
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
        const QRect now = field->geometry();
        EXPECT_EQ(now.topLeft(), start.topLeft());
        EXPECT_EQ(now.height(), start.height());
        EXPECT_EQ(now.width(), std::max(window->width() - 3 - start.left(), 20));
    }
}

// A hash of 64 of the font's widest hex digit shows whole in both hash fields: with the cursor
// at the end the text has not scrolled, before and after the window is resized. The dialog
// still fits a 1280 x 800 screen.
TEST_F(MainDialog, HashFieldsShowAllSixtyFourOfTheWidestDigits) {
    OpenDialog();
    QDialog* window = m_dialog->GetDialogWidget();
    EXPECT_TRUE(QRect(0, 0, 1280, 800).contains(QRect(QPoint(0, 0), window->size())));
    const auto cursorX = [](QLineEdit* field) {
        field->grab();  // painting is where the edit scrolls to its cursor
        return field->inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
    };
    for (int width : {window->width(), window->width() + 300, window->width() - 40}) {
        window->resize(width, window->height());
        QTest::qWait(20);
        for (int id : {IDC_PREV_BLOCK_HASH, IDC_MERKLE_ROOT}) {
            SCOPED_TRACE(testing::Message() << "field " << id << ", window width " << width);
            auto* field = qobject_cast<QLineEdit*>(Widget(id));
            const QFontMetrics metrics = field->fontMetrics();
            QChar widest = '0';
            for (QChar digit : QStringLiteral("0123456789ABCDEFabcdef")) {
                if (metrics.horizontalAdvance(digit) > metrics.horizontalAdvance(widest)) widest = digit;
            }
            const QString hash(64, widest);
            field->setText(hash);
            field->home(false);
            const int start = cursorX(field);
            field->end(false);
            EXPECT_GE(cursorX(field) - start, metrics.horizontalAdvance(hash)) << "widest digit " << widest.toLatin1();
        }
    }
}

TEST_F(MainDialog, BrowseStartsFromThePathAndWritesTheChoiceBack) {
    OpenDialog();
    const std::string lock = At("@/locks/block.tlk"), plain = At("@/locks/README");
    fs::create_directory(m_dir / "locks");
    WriteFile(lock, "x");
    WriteFile(plain, "x");
    const std::string title = "Select the TimeLock file... in ";
    // An empty field: "*" in the process's folder.
    Press(IDC_BROWSE_TIMELOCK, {Pick(lock)});
    EXPECT_EQ(Text(IDC_TIMELOCK_FILE), lock);
    // A path with an extension: its folder, listed by it.
    Press(IDC_BROWSE_TIMELOCK, {Pick(plain)});
    EXPECT_EQ(Text(IDC_TIMELOCK_FILE), plain);
    // A name without one: "*" in its folder. Cancelling changes nothing.
    Press(IDC_BROWSE_TIMELOCK, {kCancel});
    EXPECT_EQ(Text(IDC_TIMELOCK_FILE), plain);
    EXPECT_EQ(m_seen, (std::vector<std::string>{title + QDir::currentPath().toStdString() + " listing *",
                                                title + At("@/locks listing *.tlk"),
                                                title + At("@/locks listing *")}));
    // The choice is saved with the other fields a second later.
    EXPECT_TRUE(SavedSoon("TimeLockFile=" + plain));
}

// A file whose name Windows-1252 cannot hold, chosen for "..." or Load: the user is told why,
// may choose again, and the fields and the settings file stay as they were.
TEST_F(MainDialog, ANameThatCannotBeHeldIsExplainedAndChangesNothing) {
    OpenDialog();
    fs::create_directories(m_dir / "tl");
    WriteFile(m_dir / "tl.dat", "x");
    for (const std::string name : {"@/файл.tlk", "@/tl/файл.ini"}) WriteFile(At(name), "x");
    SetText(IDC_TIMELOCK_FILE, At("@/tl.dat"));
    m_dialog->SaveSettings();
    m_dialog->KillTimer(IDT_AUTOSAVE);
    const std::string settings = ReadFile(m_settings);
    Press(IDC_BROWSE_TIMELOCK, {Pick("@/файл.tlk"), kOk, kCancel});
    Press(IDC_LOAD_SETTINGS, {Pick("@/tl/файл.ini"), kOk, kCancel});
    EXPECT_EQ(Text(IDC_TIMELOCK_FILE), At("@/tl.dat"));
    EXPECT_EQ(ReadFile(m_settings), settings);
    ASSERT_EQ(m_seen.size(), 6u);
    for (const std::string name : {"@/файл.tlk", "@/tl/файл.ini"}) {
        const size_t box = name == "@/файл.tlk" ? 1 : 4;
        EXPECT_EQ(m_seen[box], "The name of this file cannot be used:\n" + At(name) +
                                   "\n\nTarnvault keeps the names of files and folders in the Windows-1252 "
                                   "(Western European) character set, and this name has characters outside "
                                   "it. Rename the file or its folder, or choose a file whose path uses only "
                                   "those characters.");
        EXPECT_EQ(m_seen[box + 1], m_seen[box - 1]) << "the file dialog stays open";
    }
}

}  // namespace
