#pragma once
// A multi-line edit: shows "\r\n", "\n" and "\r" as line breaks and gives back the text as the
// program set it until the user edits it; after that, lines end in "\r\n".
#include <string>
#include <string_view>

#include <QPlainTextEdit>

class MultiLineEdit : public QPlainTextEdit {
public:
    explicit MultiLineEdit(QWidget* parent);
    // Windows-1252 text; raises no signal (the caller sends the change notification).
    void SetText(std::string_view text);
    std::string Text() const;

private:
    std::string m_asSet;
    bool m_edited = false;
};
