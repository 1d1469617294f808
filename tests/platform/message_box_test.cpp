// Message boxes: captioned with the executable's name, the icon and buttons of the box type, the
// button pressed as the result, and the text shown as it stands.
#include <QAbstractButton>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/MessageBox.h"
#include "res/Resource.h"
#include "support/WhenModalOpens.h"

namespace {

using Step = std::function<void(QMessageBox*)>;

// Lets answer act on the box that show opens; gives show's result.
template <class Show>
int Answer(Show show, const Step& answer) {
    WhenModalOpens([&](QWidget* widget) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        ASSERT_NE(box, nullptr);
        answer(box);
    });
    return show();
}

TEST(MessageBox, TypeGivesIconButtonsAndResult) {
    using Box = QMessageBox;
    const auto click = [](Box::StandardButton b) { return [b](Box* box) { box->button(b)->click(); }; };
    const auto key = [](Qt::Key k) { return [k](Box* box) { QTest::keyClick(box, k); }; };
    const Box::StandardButtons yesNo = Box::Yes | Box::No;
    const struct {
        const char* name;
        UINT type;
        Step press;
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
        const auto answer = [&](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle(), caption);
            EXPECT_EQ(box->icon(), c.icon);
            EXPECT_EQ(box->standardButtons(), c.buttons);
            EXPECT_EQ(box->text(), QString::fromUtf8("<b>Café €</b> & more")) << "crossed as Windows-1252";
            EXPECT_EQ(box->textFormat(), Qt::PlainText) << "a message is never read as markup";
            c.press(box);
        };
        const auto show = [&] { return AfxMessageBox("<b>Caf\xE9 \x80</b> & more", c.type); };
        EXPECT_EQ(Answer(show, answer), c.result);
    }
}

TEST(MessageBox, StringIdShowsTheTableText) {
    const auto shows = [](const char* text) {
        return [text](QMessageBox* box) {
            EXPECT_EQ(box->text(), text);
            box->accept();
        };
    };
    Answer([] { return AfxMessageBox(IDP_SOCKETS_INIT_FAILED); },
           shows("Windows sockets initialization failed."));
    Answer([] { return AfxMessageBox(99999u); }, shows(""));
}

}  // namespace
