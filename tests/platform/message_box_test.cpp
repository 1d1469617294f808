// Message boxes: captioned with the executable's name, the icon and buttons of the box type, the
// button pressed as the result, and the text shown as it stands.
#include <QAbstractButton>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/MessageBox.h"
#include "res/Resource.h"
#include "support/WhenModalOpens.h"

namespace {

struct Seen {
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    Qt::TextFormat format = Qt::AutoText;
};

// Opens the box through show, notes what it shows, then answers with the key.
template <class Show>
int Answer(Show show, std::function<void(QMessageBox*)> press, Seen& seen) {
    WhenModalOpens([&](QWidget* widget) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(), box->textFormat()};
        press(box);
    });
    return show();
}

TEST(MessageBox, TypeGivesIconButtonsAndResult) {
    using Box = QMessageBox;
    const auto click = [](Box::StandardButton which) { return [which](Box* box) { box->button(which)->click(); }; };
    const auto key = [](Qt::Key k) { return [k](Box* box) { QTest::keyClick(box, k); }; };
    const Box::StandardButtons yesNo = Box::Yes | Box::No;
    const struct {
        const char* name;
        UINT type;
        std::function<void(Box*)> press;
        Box::Icon icon;
        Box::StandardButtons buttons;
        int result;
    } cases[] = {
        {"OK", MB_OK, click(Box::Ok), Box::Warning, Box::Ok, IDOK},
        {"OK by Escape", MB_OK, key(Qt::Key_Escape), Box::Warning, Box::Ok, IDOK},
        {"No", MB_YESNO, click(Box::No), Box::Question, yesNo, IDNO},
        {"Yes by Enter", MB_YESNO, key(Qt::Key_Return), Box::Question, yesNo, IDYES},
        {"closed is No", MB_YESNO, key(Qt::Key_Escape), Box::Question, yesNo, IDNO},
        {"named icon", MB_YESNO | MB_ICONEXCLAMATION, click(Box::Yes), Box::Warning, yesNo, IDYES},
    };
    const QString caption = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Seen seen;
        EXPECT_EQ(Answer([&] { return AfxMessageBox("<b>Failure</b> & more", c.type); }, c.press, seen), c.result);
        EXPECT_EQ(seen.caption, caption);
        EXPECT_EQ(seen.icon, c.icon);
        EXPECT_EQ(seen.buttons, c.buttons);
        EXPECT_EQ(seen.text, "<b>Failure</b> & more");
        EXPECT_EQ(seen.format, Qt::PlainText) << "a message is never read as markup";
    }
}

TEST(MessageBox, StringIdShowsTheTableTextAndTextCrossesAsWindows1252) {
    Seen seen;
    Answer([] { return AfxMessageBox(IDP_SOCKETS_INIT_FAILED); }, [](QMessageBox* b) { b->accept(); }, seen);
    EXPECT_EQ(seen.text, "Windows sockets initialization failed.");
    Answer([] { return AfxMessageBox("Caf\xE9 \x80"); }, [](QMessageBox* b) { b->accept(); }, seen);
    EXPECT_EQ(seen.text, QString::fromUtf8("Café €"));
    Answer([] { return AfxMessageBox(99999u); }, [](QMessageBox* b) { b->accept(); }, seen);
    EXPECT_EQ(seen.text, "");
}

}  // namespace
