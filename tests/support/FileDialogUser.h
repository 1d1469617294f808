#pragma once
// What a user does in the open-file dialog: type a name and press Enter, or press Escape.
#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QLineEdit>
#include <QString>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "support/WhenModalOpens.h"

inline QFileDialog* AsFileDialog(QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    EXPECT_NE(dialog, nullptr) << "the modal window is not the file dialog";
    return dialog;
}

inline QLineEdit* NameBox(QFileDialog* dialog) {
    return dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

inline void TypeNameAndEnter(QFileDialog* dialog, const QString& name) {
    QLineEdit* box = NameBox(dialog);
    ASSERT_NE(box, nullptr);
    box->setFocus();
    box->setText(name);
    // The name box's completer lists the folder as it is read in the background; when its list
    // is up, it takes the Enter key and the dialog stays open.
    if (QCompleter* completer = box->completer(); completer != nullptr && completer->popup() != nullptr) {
        completer->popup()->hide();
    }
    QTest::keyClick(box, Qt::Key_Return);
}

inline void PressEscape(QWidget* window) { QTest::keyClick(window, Qt::Key_Escape); }

// The next file dialog: choose the name (a path, or a name in the dialog's folder).
inline void ChooseInNextDialog(const QString& name) {
    WhenModalOpens([name](QWidget* modal) {
        if (QFileDialog* dialog = AsFileDialog(modal)) {
            TypeNameAndEnter(dialog, name);
        }
    });
}
