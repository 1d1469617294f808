#pragma once
// Drives the next modal window from a test: the action runs once the next modal widget (a
// dialog's DoModal, a message box, a file dialog) is open, inside its own modal loop, so the
// code that opened it can run to the end while the test presses its keys or buttons.
#include <functional>
#include <memory>

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

// Polls for a modal widget other than the one open now; gives up with a test failure after
// timeoutMs. Chain a further WhenModalOpens inside the action for a box the first one opens.
inline void WhenModalOpens(std::function<void(QWidget*)> action, int timeoutMs = 10000) {
    QPointer<QWidget> before = QApplication::activeModalWidget();
    auto* poll = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(poll, &QTimer::timeout, poll, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal != before && modal->isVisible()) {
            poll->stop();
            poll->deleteLater();
            action(modal);
        } else if (clock->elapsed() > timeoutMs) {
            poll->stop();
            poll->deleteLater();
            ADD_FAILURE() << "no modal window opened within " << timeoutMs << " ms";
        }
    });
    poll->start(5);
}
