// AfxMessageBox over QMessageBox: caption, icon, buttons and the result as the program knows it.
#include "platform/MessageBox.h"

#include <string>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QMessageBox>
#include <QShortcut>

#include "platform/StringTable.h"
#include "platform/Text1252.h"

namespace {

QMessageBox::Icon IconFor(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONASTERISK: return QMessageBox::Information;
    default: return (type & MB_TYPEMASK) == MB_YESNO ? QMessageBox::Question : QMessageBox::Warning;
    }
}

// Ctrl+C copies the box as text (caption, message, buttons), as message boxes do on the
// original platform; Qt offers this on Windows only.
void CopyOnCtrlC(QMessageBox& box) {
    auto* copy = new QShortcut(QKeySequence::Copy, &box);
    QObject::connect(copy, &QShortcut::activated, &box, [&box] {
        const QString rule = QStringLiteral("---------------------------\n");
        QString text = rule + box.windowTitle() + QLatin1Char('\n') + rule + box.text() +
                       QLatin1Char('\n') + rule;
        for (QAbstractButton* button : box.buttons()) {
            text += button->text().remove(QLatin1Char('&')) + QLatin1Char(' ');
        }
        QGuiApplication::clipboard()->setText(text.trimmed() + QLatin1Char('\n') + rule);
    });
}

}  // namespace

int AfxMessageBox(const char* text, UINT type, UINT /*helpId*/) {
    return ShowMessageBox(FromWindows1252(text != nullptr ? text : ""), type);
}

int ShowMessageBox(const QString& text, UINT type) {
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr) owner = QApplication::activeWindow();
    QMessageBox box(owner);
    box.setWindowTitle(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    box.setTextFormat(Qt::PlainText);  // a message is shown as it stands, never as markup
    box.setText(text);
    box.setIcon(IconFor(type));
    CopyOnCtrlC(box);
    if ((type & MB_TYPEMASK) == MB_YESNO) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? IDYES : IDNO;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return IDOK;
}

int AfxMessageBox(UINT stringId, UINT type, UINT helpId) {
    std::string text;
    LoadString(text, stringId);
    return AfxMessageBox(text.c_str(), type, helpId);
}
