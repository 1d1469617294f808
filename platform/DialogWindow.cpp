// The Qt dialog behind a CDialog: events become messages, timers by id, the system menu.
#include "platform/DialogWindow.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPaintEvent>
#include <QResizeEvent>
#include <QShortcut>
#include <QTimer>

#include "platform/SystemMenu.h"
#include "platform/Text1252.h"

CDialog::Window::Window(CDialog& owner) : m_owner(owner) {
    auto* menuKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
    menuKey->setContext(Qt::WindowShortcut);
    connect(menuKey, &QShortcut::activated, this, [this] { ShowSystemMenu(mapToGlobal(QPoint(0, 0))); });
}

CDialog::Window::~Window() = default;

void CDialog::Window::StartTimer(UINT_PTR id, UINT elapse) {
    QTimer*& timer = m_timers[id];
    if (timer == nullptr) {
        timer = new QTimer(this);
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, [this, id] { m_owner.SendMessage(WM_TIMER, id, 0); });
    }
    timer->start(static_cast<int>(elapse < 10 ? 10 : (elapse > 0x7FFFFFFF ? 0x7FFFFFFF : elapse)));
}

bool CDialog::Window::StopTimer(UINT_PTR id) {
    const auto found = m_timers.find(id);
    if (found == m_timers.end()) return false;
    // The timer may be the one whose message is being handled: it goes once control is back
    // in the event loop.
    found->second->stop();
    found->second->deleteLater();
    m_timers.erase(found);
    return true;
}

void CDialog::Window::ShowSystemMenu(const QPoint& at) {
    QMenu menu(this);
    const CMenu* own = m_owner.m_systemMenu.get();
    if (own != nullptr) {
        for (const CMenu::Item& item : own->Items()) {
            if (item.flags & MF_SEPARATOR) {
                const QList<QAction*> shown = menu.actions();
                if (!shown.isEmpty() && !shown.back()->isSeparator()) menu.addSeparator();
            } else {
                menu.addAction(FromWindows1252(item.text))->setData(QVariant::fromValue<qulonglong>(item.id));
            }
        }
        if (!menu.actions().isEmpty() && !menu.actions().back()->isSeparator()) menu.addSeparator();
    }
    menu.addAction(QStringLiteral("Close"))->setData(QVariant::fromValue<qulonglong>(SC_CLOSE));
    const QAction* chosen = menu.exec(at);
    if (chosen != nullptr) {
        m_owner.SendMessage(WM_SYSCOMMAND, static_cast<WPARAM>(chosen->data().toULongLong()), 0);
    }
}

void CDialog::Window::BasePaint() {
    if (m_paint != nullptr) QDialog::paintEvent(m_paint);
}

void CDialog::Window::reject() { m_owner.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }

void CDialog::Window::closeEvent(QCloseEvent* event) {
    event->ignore();  // the dialog ends only through its own cancel handling
    m_owner.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void CDialog::Window::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_shown = true;
}

void CDialog::Window::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (!m_shown || !isVisible()) return;
    const QRect frame = frameGeometry();
    RECT proposed{frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
    m_owner.SendMessage(WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&proposed));
}

void CDialog::Window::paintEvent(QPaintEvent* event) {
    QPaintEvent* outer = m_paint;
    m_paint = event;
    m_owner.SendMessage(WM_PAINT, 0, 0);
    m_paint = outer;
}

void CDialog::Window::contextMenuEvent(QContextMenuEvent* event) {
    ShowSystemMenu(event->globalPos());
    event->accept();
}
