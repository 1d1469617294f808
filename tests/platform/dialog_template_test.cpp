// Templates built as widgets: every control in template order with its id, kind, text and pixel
// rectangle, the frame and the first focus; no window for an unknown template. (The main dialog's
// tab order is walked with the Tab key in the main dialog's own test.)
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "platform/Dialog.h"
#include "platform/DialogTemplate.h"
#include "platform/DialogUnits.h"
#include "platform/Text1252.h"
#include "res/Resource.h"

namespace {

// Pixels from the font's own metrics, computed here the long way: the character width is the
// letters' average or the widest hex digit, whichever is wider.
struct Units {
    double avg, height;
    explicit Units(const QFont& font) {
        const QFontMetricsF m(font);
        avg = m.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 52;
        for (const char* digit = "0123456789ABCDEFabcdef"; *digit != '\0'; ++digit) {
            avg = std::max(avg, m.horizontalAdvance(QChar(*digit)));
        }
        height = QFontMetrics(font).height();
    }
    int X(int u) const { return static_cast<int>(std::floor(u * avg / 4 + 0.5)); }
    int Y(int u) const { return static_cast<int>(std::floor(u * height / 8 + 0.5)); }
    QRect Rect(int x, int y, int cx, int cy) const { return QRect(X(x), Y(y), X(cx), Y(cy)); }
};

// The text a label, button or edit shows.
QString TextOf(QWidget* w) {
    return w->property(qobject_cast<QPlainTextEdit*>(w) ? "plainText" : "text").toString();
}

TEST(DialogTemplate, EachTemplateBuildsItsFrameAndEveryControlInTemplateOrder) {
    const struct {
        int id;
        const char* caption;
        int cx, cy;  // dialog units
        int firstTabStop, defaultButton;  // 0: none
        bool resizable;
        Qt::WindowType type;
    } cases[] = {
        {IDD_TARNVAULT_DIALOG, "Tarnvault V1.0", 391, 190, IDC_BLOCK_NUMBER, IDC_OPEN_TIMELOCK, true,
         Qt::Window},
        {IDD_DECRYPTED_DATA, "Decrypted Data", 311, 89, IDC_DECRYPTED_TEXT, 0, true, Qt::Dialog},
        {IDD_ABOUTBOX, "About Tarnvault", 247, 63, IDOK, IDOK, false, Qt::Dialog},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        CDialog dialog(c.id);
        ASSERT_TRUE(dialog.Create());
        QDialog* window = dialog.GetDialogWidget();
        const Units units(window->font());
        EXPECT_EQ(window->windowTitle(), c.caption);
        EXPECT_EQ(window->size(), QSize(units.X(c.cx), units.Y(c.cy)));
        EXPECT_EQ(window->minimumSize() != window->maximumSize(), c.resizable);
        EXPECT_EQ(window->windowType(), c.type);  // only the main dialog has a task-bar entry
        EXPECT_EQ(window->focusWidget(), dialog.GetDlgItem(c.firstTabStop)->GetSafeHwnd());

        const std::span<const ControlTemplate> templ = FindDialogTemplate(c.id)->controls;
        const QList<QWidget*> controls = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        ASSERT_EQ(static_cast<size_t>(controls.size()), templ.size());
        for (size_t i = 0; i < templ.size(); ++i) {
            const ControlTemplate& t = templ[i];
            QWidget* w = controls[static_cast<qsizetype>(i)];
            SCOPED_TRACE(testing::Message() << "control #" << i + 1 << " id " << t.id);
            if (t.iconId == 0) {  // an icon takes its image's size
                EXPECT_EQ(w->geometry(), units.Rect(t.x, t.y, t.cx, t.cy));
                EXPECT_EQ(TextOf(w), FromWindows1252(t.text));
            } else {
                EXPECT_EQ(w->size(), QSize(32, 32));
            }
            if (auto* label = qobject_cast<QLabel*>(w)) {
                EXPECT_EQ(t.kind, ControlKind::Static);
                EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask,
                          (t.exStyle & WS_EX_RIGHT) ? Qt::AlignRight : Qt::AlignLeft);
                EXPECT_EQ(label->textFormat(), Qt::PlainText);
            } else if (auto* button = qobject_cast<QPushButton*>(w)) {
                EXPECT_EQ(t.kind, ControlKind::Button);
                EXPECT_EQ(button->isDefault(), t.id == c.defaultButton);
            } else if (auto* multi = qobject_cast<QPlainTextEdit*>(w)) {
                EXPECT_TRUE(t.kind == ControlKind::Edit && (t.style & ES_MULTILINE));
                EXPECT_EQ(multi->lineWrapMode(), QPlainTextEdit::NoWrap);
                EXPECT_EQ(multi->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
                EXPECT_FALSE(multi->isReadOnly());
            } else {
                EXPECT_TRUE(t.kind == ControlKind::Edit && qobject_cast<QLineEdit*>(w) != nullptr);
            }
            if (t.id != IDC_STATIC) {  // null when an id is not unique
                ASSERT_NE(dialog.GetDlgItem(t.id), nullptr);
                EXPECT_EQ(dialog.GetDlgItem(t.id)->GetSafeHwnd(), w);
            }
        }
        EXPECT_EQ(dialog.GetDlgItem(IDC_STATIC), nullptr);
        EXPECT_EQ(dialog.GetDlgItem(4242), nullptr);
    }
    CDialog unknown(4711);  // an unknown template makes no window
    EXPECT_EQ(unknown.DoModal(), -1);
    EXPECT_FALSE(unknown.Create());
    EXPECT_EQ(unknown.GetDialogWidget(), nullptr);
}

TEST(DialogUnits, MulDivRoundsHalvesAwayFromZero) {
    const struct {
        int a, b, c, want;
    } cases[] = {
        {6, 2, 4, 3},  {5, 2, 4, 3}, {3, 3, 4, 2}, {1, 1, 4, 0}, {-5, 2, 4, -3},
        {-3, 3, 4, -2}, {7, 1, 0, 0}, {0x7FFFFFFF, 2, 2, 0x7FFFFFFF},
    };
    for (const auto& c : cases) EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.want) << c.a << "*" << c.b << "/" << c.c;
}

}  // namespace
