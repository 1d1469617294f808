#pragma once
// Drives the next modal window (or popup menu) from a test: the action runs once the window is
// open, inside its own loop, so the code that opened it can run to the end while the test
// presses its keys or buttons.
#include <functional>
#include <memory>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace when_opens {
// A window that an action left open (a failed assertion, a key that went astray) would hang
// the test in its modal loop: it fails the test and is closed, the innermost window first.
inline void CloseWhenStuck(QPointer<QWidget> open, int afterMs, bool reported = false) {
    QTimer::singleShot(afterMs, qApp, [open, reported] {
        if (open.isNull() || !open->isVisible()) return;
        if (!reported) ADD_FAILURE() << "a modal window stayed open: " << open->windowTitle().toStdString();
        QWidget* top = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : open.data();
        if (auto* dialog = qobject_cast<QDialog*>(top)) {
            dialog->reject();
        } else {
            top->close();
        }
        CloseWhenStuck(open, 100, true);
    });
}

inline void Poll(std::function<QWidget*()> find, std::function<void(QWidget*)> action, int timeoutMs,
                 const char* what) {
    QPointer<QWidget> before = find();
    auto* poll = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(poll, &QTimer::timeout, poll, [=] {
        QWidget* open = find();
        if (open != nullptr && open != before && open->isVisible()) {
            poll->stop();
            poll->deleteLater();
            CloseWhenStuck(open, 30000);
            action(open);
        } else if (clock->elapsed() > timeoutMs) {
            poll->stop();
            poll->deleteLater();
            ADD_FAILURE() << "no " << what << " opened within " << timeoutMs << " ms";
        }
    });
    poll->start(5);
}
}  // namespace when_opens

// The next modal widget: a dialog's DoModal, a message box, a file dialog. Chain a further
// WhenModalOpens inside the action for a box that the first one opens.
inline void WhenModalOpens(std::function<void(QWidget*)> action, int timeoutMs = 10000) {
    when_opens::Poll([] { return QApplication::activeModalWidget(); }, std::move(action), timeoutMs,
                     "modal window");
}

// The next popup, such as a dialog's system menu.
inline void WhenPopupOpens(std::function<void(QWidget*)> action, int timeoutMs = 10000) {
    when_opens::Poll([] { return QApplication::activePopupWidget(); }, std::move(action), timeoutMs, "popup");
}
