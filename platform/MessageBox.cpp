// AfxMessageBox over QMessageBox: caption, icon, buttons and the result as the program knows it.
#include "platform/MessageBox.h"

#include <string>

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include "platform/StringTable.h"
#include "platform/Text1252.h"

namespace {

QMessageBox::Icon IconFor(UINT type) {
    switch (type & 0xF0) {
    case 0x10: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case 0x40: return QMessageBox::Information;
    default: return (type & 0x0F) == MB_YESNO ? QMessageBox::Question : QMessageBox::Warning;
    }
}

}  // namespace

int AfxMessageBox(const char* text, UINT type, UINT /*helpId*/) {
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr) owner = QApplication::activeWindow();
    QMessageBox box(owner);
    box.setWindowTitle(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    box.setTextFormat(Qt::PlainText);  // a message is shown as it stands, never as markup
    box.setText(FromWindows1252(text != nullptr ? text : ""));
    box.setIcon(IconFor(type));
    if ((type & 0x0F) == MB_YESNO) {
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
