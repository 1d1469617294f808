// The dialog's own system menu: the appended entries, then "Close"; it opens on Alt+Space and on
// a right click on the background, and a chosen entry arrives as WM_SYSCOMMAND with its id.
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/probe_dialog.h"
#include "support/WhenModalOpens.h"

namespace {

// Opens the menu the given way, then chooses the entry with this text; gives the entries shown,
// "-" for a separator.
Log OpenAndChoose(ProbeDialog& dialog, const std::function<void(QWidget*)>& open, const char* choice) {
    Log shown;
    WhenPopupOpens([&](QWidget* popup) {
        auto* menu = qobject_cast<QMenu*>(popup);
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            shown.push_back(action->isSeparator() ? "-" : action->text().toStdString());
            if (action->text() == choice) menu->setActiveAction(action);
        }
        QTest::keyClick(menu, Qt::Key_Return);
    });
    open(dialog.GetDialogWidget());
    return shown;
}

TEST(SystemMenu, OpensOnAltSpaceAndOnARightClickWithTheAppendedEntriesThenClose) {
    // A right click as the platform reports it to the widget under the pointer.
    const auto rightClick = [](QWidget* widget, QPoint at) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
        QApplication::sendEvent(widget, &event);
    };
    const struct {
        const char* how;
        std::function<void(QWidget*)> open;
    } ways[] = {
        {"Alt+Space", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Space, Qt::AltModifier); }},
        {"right click on the background", [&](QWidget* w) { rightClick(w, QPoint(3, w->height() - 3)); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        ProbeDialog dialog;
        ASSERT_TRUE(dialog.Create());
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.GetDialogWidget()));
        EXPECT_EQ(OpenAndChoose(dialog, way.open, "&About Tarnvault..."),
                  (Log{"&About Tarnvault...", "-", "Close"}));
        EXPECT_EQ(dialog.log, Log{"command " + std::to_string(IDM_ABOUTBOX)});
        EXPECT_TRUE(dialog.GetDialogWidget()->isVisible()) << "other commands' default handling keeps it";
    }
}

// Reverting drops the appended entries; "Close" ends the dialog through the cancel handling.
TEST(SystemMenu, RevertedMenuHoldsOnlyCloseWhichEndsTheDialog) {
    ProbeDialog dialog;
    Log shown;
    WhenModalOpens([&](QWidget* window) {
        if (!QTest::qWaitForWindowActive(window)) ADD_FAILURE() << "the dialog never became active";
        EXPECT_EQ(dialog.GetSystemMenu(TRUE), nullptr);
        EXPECT_TRUE(dialog.GetSystemMenu(FALSE)->Items().empty());
        shown = OpenAndChoose(dialog, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Space, Qt::AltModifier); },
                              "Close");
        if (window->isVisible()) dialog.EndDialog(-1);  // a test that failed must not hang
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(shown, Log{"Close"});
    EXPECT_EQ(dialog.log, Log{"command " + std::to_string(SC_CLOSE)});

    ASSERT_TRUE(dialog.Create());  // a new window starts with a new menu: no entry twice
    EXPECT_EQ(dialog.GetSystemMenu(FALSE)->Items().size(), 2u);
    CMenu menu;
    EXPECT_FALSE(menu.AppendMenu(MF_STRING, 5, nullptr));
    EXPECT_TRUE(menu.Items().empty());
}

}  // namespace
