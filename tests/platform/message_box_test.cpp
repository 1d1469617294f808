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
    const auto click = [](QMessageBox::StandardButton which) {
        return [which](QMessageBox* box) { box->button(which)->click(); };
    };
    const auto key = [](Qt::Key k) { return [k](QMessageBox* box) { QTest::keyClick(box, k); }; };
    const struct {
        const char* name;
        UINT type;
        std::function<void(QMessageBox*)> press;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        int result;
    } cases[] = {
        {"OK", MB_OK, click(QMessageBox::Ok), QMessageBox::Warning, QMessageBox::Ok, IDOK},
        {"OK by Escape", MB_OK, key(Qt::Key_Escape), QMessageBox::Warning, QMessageBox::Ok, IDOK},
        {"Yes", MB_YESNO, click(QMessageBox::Yes), QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, IDYES},
        {"No", MB_YESNO, click(QMessageBox::No), QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, IDNO},
        {"Yes by Enter", MB_YESNO, key(Qt::Key_Return), QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, IDYES},
        {"closed is No", MB_YESNO, key(Qt::Key_Escape), QMessageBox::Question, QMessageBox::Yes | QMessageBox::No, IDNO},
        {"named icon", MB_YESNO | MB_ICONEXCLAMATION, click(QMessageBox::Yes), QMessageBox::Warning,
         QMessageBox::Yes | QMessageBox::No, IDYES},
    };
    const QString caption = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    for (const auto& c : cases) {
        Seen seen;
        EXPECT_EQ(Answer([&] { return AfxMessageBox("<b>Failure</b> & more", c.type); }, c.press, seen), c.result)
            << c.name;
        EXPECT_EQ(seen.caption, caption) << c.name;
        EXPECT_EQ(seen.icon, c.icon) << c.name;
        EXPECT_EQ(seen.buttons, c.buttons) << c.name;
        EXPECT_EQ(seen.text, "<b>Failure</b> & more") << c.name;
        EXPECT_EQ(seen.format, Qt::PlainText) << c.name << ": a message is never read as markup";
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
