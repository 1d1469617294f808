// The multi-line edit's text in and out.
#include "platform/MultiLineEdit.h"

#include <QSignalBlocker>

#include "platform/Text1252.h"

MultiLineEdit::MultiLineEdit(QWidget* parent) : QPlainTextEdit(parent) {
    connect(this, &QPlainTextEdit::textChanged, this, [this] { m_edited = true; });
}

void MultiLineEdit::SetText(std::string_view text) {
    QString shown = FromWindows1252(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    {
        const QSignalBlocker quiet(this);
        setPlainText(shown);
    }
    m_asSet.assign(text);
    m_edited = false;
}

std::string MultiLineEdit::Text() const {
    if (!m_edited) return m_asSet;
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return ToWindows1252(text);
}
