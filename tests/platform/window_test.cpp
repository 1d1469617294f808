// A window's rectangles, placement and states as the resize and paint handlers read them; the
// icon and the wait cursor.
#include <set>

#include <QApplication>
#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/Cursor.h"
#include "platform/MessageBox.h"
#include "platform/probe_dialog.h"
#include "support/WhenModalOpens.h"

namespace {

// (How a control's rectangles read is walked pixel for pixel by the main and result dialogs' sizing
// tests.) A placement moves the control; a width below nothing becomes nothing.
TEST(Window, PlacementSetsTheControlsWidthAndNoWidthTurnsNegative) {
    CDialog dialog(IDD_TARNVAULT_DIALOG);
    ASSERT_TRUE(dialog.Create());
    CWnd* path = dialog.GetDlgItem(IDC_TIMELOCK_FILE);
    QWidget* widget = path->GetSafeHwnd();
    const QRect g = widget->geometry();
    WINDOWPLACEMENT place;
    ASSERT_TRUE(path->GetWindowPlacement(&place));
    const struct {
        int width, controlWidth, clientWidth;
    } cases[] = {{40, 40, 38}, {-5, 0, 0}, {1, 1, 0}};
    for (const auto& c : cases) {
        place.rcNormalPosition.right = place.rcNormalPosition.left + c.width;
        ASSERT_TRUE(path->SetWindowPlacement(&place));
        EXPECT_EQ(widget->geometry(), QRect(g.left(), g.top(), c.controlWidth, g.height())) << c.width;
        RECT client;
        path->GetClientRect(&client);
        EXPECT_EQ(client.right, c.clientWidth) << c.width << ": never a negative client width";
    }
}

TEST(Window, StatesFollowTheWindowAndHandlesDieWithIt) {
    QWidget* edit = nullptr;
    QWidget* window = nullptr;
    {
        ProbeDialog dialog;
        ASSERT_TRUE(dialog.Create());
        EXPECT_FALSE(dialog.visibleDuringInit) << "the dialog shows after its initialisation";
        window = dialog.GetDialogWidget();
        edit = dialog.Widget(IDC_PASSWORD);
        EXPECT_TRUE(IsWindow(edit) && IsWindow(window));
        dialog.SendMessage(WM_SYSCOMMAND, SC_MINIMIZE);
        EXPECT_TRUE(dialog.IsIconic());
        dialog.SendMessage(WM_SYSCOMMAND, SC_RESTORE);
        EXPECT_FALSE(dialog.IsIconic());
    }
    EXPECT_FALSE(IsWindow(edit)) << "the controls go with the window";
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(nullptr));
}

TEST(Icon, MainIconHasTwoImagesOfAtMostSixteenColoursThatHandlersDrawAndSend) {
    const HICON icon = LoadIconW(AfxGetResourceHandle(), IDR_MAINFRAME);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconW(AfxGetResourceHandle(), 4711), nullptr);
    const QList<QSize> sizes = IconImages(icon)->availableSizes();
    EXPECT_EQ(std::set<int>({sizes.front().width(), sizes.back().width()}), std::set<int>({32, 128}));
    EXPECT_EQ(sizes.size(), 2);
    for (const QSize& size : sizes) {
        const QImage image = IconImages(icon)->pixmap(size).toImage();
        EXPECT_EQ(image.size(), size);
        std::set<QRgb> colours;
        for (int i = 0; i < image.width() * image.height(); ++i) {
            const QRgb pixel = image.pixel(i % image.width(), i / image.width());
            if (qAlpha(pixel) != 0) colours.insert(pixel);
        }
        EXPECT_LE(colours.size(), 16u);
    }

    // The paint handler draws it, and the dialog carries it once it is sent.
    ProbeDialog dialog(IDD_ABOUTBOX);
    ASSERT_TRUE(dialog.Create());
    const QImage shot = dialog.GetDialogWidget()->grab().toImage();
    EXPECT_TRUE(dialog.painted);
    EXPECT_EQ(shot.pixel(16, 24), IconImages(icon)->pixmap(32, 32).toImage().pixel(16, 24));

    dialog.painted = TRUE;
    dialog.SendMessage(WM_PAINT);  // outside a paint event there is nothing to paint on
    EXPECT_FALSE(dialog.painted);

    EXPECT_EQ(dialog.SendMessage(WM_QUERYDRAGICON), reinterpret_cast<LRESULT>(icon));
    EXPECT_TRUE(dialog.GetDialogWidget()->windowIcon().isNull());
    dialog.SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    EXPECT_FALSE(dialog.GetDialogWidget()->windowIcon().isNull());
}

TEST(WaitCursor, LastsUntilThePointerMovesOrAModalWindowOpens) {
    CDialog dialog(IDD_TARNVAULT_DIALOG);
    ASSERT_TRUE(dialog.Create());
    QWidget* window = dialog.GetDialogWidget();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));

    const HCURSOR wait = LoadCursor(nullptr, IDC_WAIT);
    SetCursor(wait);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EXPECT_EQ(SetCursor(wait), wait);
    QTest::qWait(20);
    EXPECT_NE(QApplication::overrideCursor(), nullptr) << "the event loop alone does not end it";
    QTest::mouseMove(window, QPoint(20, 20));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    SetCursor(wait);
    bool waitingInBox = true;
    WhenModalOpens([&](QWidget* box) {
        waitingInBox = QApplication::overrideCursor() != nullptr;
        QTest::keyClick(box, Qt::Key_Return);
    });
    AfxMessageBox("done");
    EXPECT_FALSE(waitingInBox);
}

}  // namespace
