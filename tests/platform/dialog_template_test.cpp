// Templates built as widgets: every control's id, kind, text, order and pixel rectangle, the
// frame, the tab order and the first focus.
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "platform/Dialog.h"
#include "platform/DialogTemplate.h"
#include "platform/DialogUnits.h"
#include "res/Resource.h"

namespace {

enum Kind { kEdit, kLabel, kButton, kDefButton };
struct Expected {
    int id;
    Kind kind;
    int x, y, cx, cy;
    const char* text;
    bool right;  // right-aligned label
};

// The main dialog, in template order, as its design lists it.
const Expected kMain[] = {
    {1000, kEdit, 77, 23, 78, 12, "", false},    {1001, kEdit, 77, 37, 78, 12, "", false},
    {1002, kEdit, 77, 51, 262, 12, "", false},   {1003, kEdit, 77, 65, 262, 12, "", false},
    {1004, kEdit, 77, 79, 78, 12, "", false},    {1005, kEdit, 77, 93, 78, 12, "", false},
    {1006, kEdit, 77, 107, 78, 12, "", false},   {1009, kDefButton, 158, 163, 75, 19, "Open TimeLock", false},
    {-1, kLabel, 10, 24, 60, 8, "Block Number", true},    {-1, kLabel, 10, 38, 60, 8, "Block Version", true},
    {-1, kLabel, 10, 52, 60, 8, "Prev Block Hash", true}, {-1, kLabel, 10, 66, 60, 8, "Merkle Root", true},
    {-1, kLabel, 10, 80, 60, 8, "Time Stamp", true},      {-1, kLabel, 10, 94, 60, 8, "Bits", true},
    {-1, kLabel, 10, 108, 60, 8, "Nonce", true},          {-1, kLabel, 36, 131, 56, 8, "TimeLock File", false},
    {1007, kButton, 14, 141, 17, 8, "...", false},        {1008, kEdit, 34, 140, 350, 10, "", false},
    {1011, kLabel, 162, 25, 220, 8, "", false},  {1012, kLabel, 162, 39, 220, 8, "", false},
    {1013, kLabel, 162, 81, 220, 8, "", false},  {1014, kLabel, 162, 97, 220, 8, "", false},
    {1015, kLabel, 162, 109, 220, 8, "", false}, {1016, kLabel, 345, 53, 39, 8, "", false},
    {1017, kLabel, 345, 67, 39, 8, "", false},   {1010, kEdit, 77, 9, 262, 12, "", false},
    {-1, kLabel, 10, 10, 60, 8, "Password", true}, {1018, kLabel, 345, 11, 39, 8, "", false},
    {1019, kButton, 280, 168, 46, 13, "Save", false}, {1020, kButton, 328, 168, 46, 13, "Load", false},
};

// Pixels from the font's own metrics, computed here the long way.
struct Units {
    double avg, height;
    explicit Units(const QFont& font) {
        const QFontMetrics m(font);
        const int w = m.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        avg = (w / 26 + 1) / 2;
        height = m.height();
    }
    int X(int u) const { return static_cast<int>(std::floor(u * avg / 4 + 0.5)); }
    int Y(int u) const { return static_cast<int>(std::floor(u * height / 8 + 0.5)); }
};

QList<QWidget*> Controls(QWidget* window) {
    return window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
}

QString TextOf(QWidget* w) {
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* b = qobject_cast<QPushButton*>(w)) return b->text();
    return "?";
}

TEST(DialogTemplate, MainDialogBuildsEveryControlInTemplateOrder) {
    CDialog dialog(IDD_TARNVAULT_DIALOG);
    ASSERT_TRUE(dialog.Create());
    QDialog* window = dialog.GetDialogWidget();
    const Units units(window->font());
    const QList<QWidget*> controls = Controls(window);
    ASSERT_EQ(controls.size(), static_cast<qsizetype>(std::size(kMain)));
    for (size_t i = 0; i < std::size(kMain); ++i) {
        const Expected& e = kMain[i];
        QWidget* w = controls[static_cast<qsizetype>(i)];
        SCOPED_TRACE(testing::Message() << "control #" << i + 1 << " id " << e.id);
        EXPECT_EQ(w->geometry(), QRect(units.X(e.x), units.Y(e.y), units.X(e.cx), units.Y(e.cy)));
        EXPECT_EQ(TextOf(w), QString(e.text));
        switch (e.kind) {
        case kEdit: EXPECT_NE(qobject_cast<QLineEdit*>(w), nullptr); break;
        case kLabel: {
            auto* label = qobject_cast<QLabel*>(w);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, e.right ? Qt::AlignRight : Qt::AlignLeft);
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
            break;
        }
        case kButton:
        case kDefButton: {
            auto* button = qobject_cast<QPushButton*>(w);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->isDefault(), e.kind == kDefButton);
            break;
        }
        }
        if (e.id != IDC_STATIC) {
            ASSERT_NE(dialog.GetDlgItem(e.id), nullptr);
            EXPECT_EQ(dialog.GetDlgItem(e.id)->GetSafeHwnd(), w);
        }
    }
    EXPECT_EQ(dialog.GetDlgItem(IDC_STATIC), nullptr);  // seven labels share it
    EXPECT_EQ(dialog.GetDlgItem(4242), nullptr);
    EXPECT_EQ(window->windowTitle(), "Tarnvault V1.0");
    EXPECT_EQ(window->size(), QSize(units.X(391), units.Y(190)));
}

TEST(DialogTemplate, TabOrderIsTheTemplateOrderOfTabStopsAndFocusStartsAtTheFirst) {
    CDialog dialog(IDD_TARNVAULT_DIALOG);
    ASSERT_TRUE(dialog.Create());
    QDialog* window = dialog.GetDialogWidget();
    ASSERT_NE(window->focusWidget(), nullptr);
    EXPECT_EQ(window->focusWidget(), dialog.GetDlgItem(IDC_BLOCK_NUMBER)->GetSafeHwnd());

    const int order[] = {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1009, 1007, 1008, 1010, 1019, 1020, 1000};
    QWidget* at = dialog.GetDlgItem(order[0])->GetSafeHwnd();
    for (size_t i = 1; i < std::size(order); ++i) {
        QWidget* next = at->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
        EXPECT_EQ(next, dialog.GetDlgItem(order[i])->GetSafeHwnd()) << "after " << order[i - 1];
        at = next;
    }
}

TEST(DialogTemplate, FrameStyleDecidesWhetherTheWindowCanBeResized) {
    CDialog main(IDD_TARNVAULT_DIALOG), result(IDD_DECRYPTED_DATA), about(IDD_ABOUTBOX);
    ASSERT_TRUE(main.Create() && result.Create() && about.Create());
    EXPECT_NE(main.GetDialogWidget()->minimumSize(), main.GetDialogWidget()->maximumSize());
    EXPECT_NE(result.GetDialogWidget()->minimumSize(), result.GetDialogWidget()->maximumSize());
    EXPECT_EQ(about.GetDialogWidget()->minimumSize(), about.GetDialogWidget()->maximumSize());
    EXPECT_EQ(main.GetDialogWidget()->windowType(), Qt::Window);  // a task-bar entry of its own
    EXPECT_EQ(about.GetDialogWidget()->windowType(), Qt::Dialog);
}

TEST(DialogTemplate, ResultDialogHasOneMultiLineEditWithoutScrollBars) {
    CDialog dialog(IDD_DECRYPTED_DATA);
    ASSERT_TRUE(dialog.Create());
    auto* edit = qobject_cast<QPlainTextEdit*>(dialog.GetDlgItem(IDC_DECRYPTED_TEXT)->GetSafeHwnd());
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_FALSE(edit->isReadOnly());
    EXPECT_EQ(dialog.GetDialogWidget()->windowTitle(), "Decrypted Data");
}

TEST(DialogTemplate, AboutBoxShowsTheIconTheFixedLineAndAnEmptyVersionField) {
    CDialog dialog(IDD_ABOUTBOX);
    ASSERT_TRUE(dialog.Create());
    const QList<QWidget*> controls = Controls(dialog.GetDialogWidget());
    ASSERT_EQ(controls.size(), 4);
    auto* icon = qobject_cast<QLabel*>(controls[0]);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->size(), QSize(32, 32));
    EXPECT_EQ(TextOf(controls[1]), "Tarnvault, Version 1.0");
    auto* ok = qobject_cast<QPushButton*>(dialog.GetDlgItem(IDOK)->GetSafeHwnd());
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(dialog.GetDialogWidget()->focusWidget(), ok);
    EXPECT_EQ(TextOf(dialog.GetDlgItem(IDC_VERSION_TEXT)->GetSafeHwnd()), "");
}

// The style words as the design gives them in hexadecimal, control by control.
TEST(DialogTemplate, StyleWordsAreThoseOfTheDesign) {
    constexpr DWORD edit = 0x50810080, label = 0x50020000, button = 0x50010000;
    const struct {
        int id;
        DWORD style, exStyle;
        int cx, cy;
        std::vector<std::pair<DWORD, DWORD>> controls;  // style, extended style
    } cases[] = {
        {IDD_TARNVAULT_DIALOG, 0x90CC0048, 0x00040000, 391, 190,
         {{edit, 0}, {edit, 0}, {edit, 0}, {edit, 0}, {edit, 0}, {edit, 0}, {edit, 0}, {button | 1, 0},
          {label, 0x1000}, {label, 0x1000}, {label, 0x1000}, {label, 0x1000}, {label, 0x1000}, {label, 0x1000},
          {label, 0x1000}, {label, 0}, {button | 0x800, 0}, {edit, 0}, {label, 0}, {label, 0}, {label, 0},
          {label, 0}, {label, 0}, {label, 0}, {label, 0}, {edit, 0}, {label, 0x1000}, {label, 0}, {button, 0},
          {button, 0}}},
        {IDD_DECRYPTED_DATA, 0x80CC0048, 0, 311, 89, {{0x50810084, 0}}},
        {IDD_ABOUTBOX, 0x80C800C8, 0, 247, 63,
         {{0x50000003, 0}, {label | 0x80, 0}, {button | 0x20000 | 1, 0}, {label, 0}}},
    };
    for (const auto& c : cases) {
        const DialogTemplate* frame = FindDialogTemplate(c.id);
        ASSERT_NE(frame, nullptr) << c.id;
        EXPECT_EQ(frame->style, c.style) << c.id;
        EXPECT_EQ(frame->exStyle, c.exStyle) << c.id;
        EXPECT_EQ(frame->cx, c.cx) << c.id;
        EXPECT_EQ(frame->cy, c.cy) << c.id;
        EXPECT_STREQ(frame->fontName, "MS Shell Dlg");
        EXPECT_EQ(frame->pointSize, 8);
        ASSERT_EQ(frame->controls.size(), c.controls.size()) << c.id;
        for (size_t i = 0; i < c.controls.size(); ++i) {
            EXPECT_EQ(frame->controls[i].style, c.controls[i].first) << c.id << " control #" << i + 1;
            EXPECT_EQ(frame->controls[i].exStyle, c.controls[i].second) << c.id << " control #" << i + 1;
        }
    }
}

TEST(DialogTemplate, UnknownTemplateMakesNoWindow) {
    CDialog dialog(4711);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_FALSE(dialog.Create());
    EXPECT_EQ(dialog.GetDialogWidget(), nullptr);
}

TEST(DialogUnits, MulDivRoundsHalvesAwayFromZero) {
    const struct { int a, b, c, want; } cases[] = {
        {6, 2, 4, 3}, {5, 2, 4, 3}, {3, 3, 4, 2}, {1, 1, 4, 0}, {-5, 2, 4, -3}, {-3, 3, 4, -2}, {7, 1, 0, 0},
        {0x7FFFFFFF, 2, 2, 0x7FFFFFFF},
    };
    for (const auto& c : cases) EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.want) << c.a << "*" << c.b << "/" << c.c;
}

}  // namespace
