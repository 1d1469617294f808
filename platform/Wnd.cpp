// CWnd: texts, children by id, visibility, client rectangles and placement of one widget.
#include "platform/Wnd.h"

#include <algorithm>
#include <cstring>
#include <string>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QWidget>

#include "platform/Dialog.h"
#include "platform/DialogBuilder.h"
#include "platform/DialogWindow.h"
#include "platform/LiveWidgets.h"
#include "platform/MultiLineEdit.h"
#include "platform/Text1252.h"

CWnd::CWnd(QWidget* widget) : m_widget(widget) {}
CWnd::~CWnd() = default;

namespace {

std::string TextOf(const QWidget* widget) {
    if (const auto* multi = dynamic_cast<const MultiLineEdit*>(widget)) return multi->Text();
    if (const auto* line = qobject_cast<const QLineEdit*>(widget)) return ToWindows1252(line->text());
    if (const auto* label = qobject_cast<const QLabel*>(widget)) return ToWindows1252(label->text());
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) return ToWindows1252(button->text());
    if (widget->isWindow()) return ToWindows1252(widget->windowTitle());
    return {};
}

// The client area of a control lies inside its border.
int BorderOf(const QWidget* widget) {
    return widget->isWindow() ? 0 : widget->property(kBorderProperty).toInt();
}

}  // namespace

int CWnd::GetWindowText(char* buffer, int count) const {
    if (buffer == nullptr || count < 1) return 0;
    const std::string text = m_widget != nullptr ? TextOf(m_widget) : std::string();
    const size_t copied = std::min(text.size(), static_cast<size_t>(count) - 1);
    std::memcpy(buffer, text.data(), copied);
    buffer[copied] = '\0';
    return static_cast<int>(copied);
}

void CWnd::SetWindowText(const char* text) {
    if (m_widget == nullptr) return;
    const std::string bytes = text != nullptr ? text : "";
    bool edit = true;
    if (auto* multi = dynamic_cast<MultiLineEdit*>(m_widget)) {
        multi->SetText(bytes);
    } else if (auto* line = qobject_cast<QLineEdit*>(m_widget)) {
        const QSignalBlocker quiet(line);
        line->setText(FromWindows1252(bytes));
    } else {
        edit = false;
        if (auto* label = qobject_cast<QLabel*>(m_widget)) {
            label->setText(FromWindows1252(bytes));
        } else if (auto* button = qobject_cast<QAbstractButton*>(m_widget)) {
            button->setText(FromWindows1252(bytes));
        } else if (m_widget->isWindow()) {
            m_widget->setWindowTitle(FromWindows1252(bytes));
        }
    }
    // An edit notifies its dialog of every text set, even one equal to the text it had.
    if (edit) {
        if (auto* window = dynamic_cast<CDialog::Window*>(m_widget->window())) {
            const int id = m_widget->property(kControlIdProperty).toInt();
            window->Owner().SendMessage(WM_COMMAND, MakeCommandParam(id, EN_CHANGE),
                                        reinterpret_cast<LPARAM>(m_widget));
        }
    }
}

CWnd* CWnd::GetDlgItem(int id) const {
    const auto* dialog = dynamic_cast<const CDialog*>(this);
    if (dialog == nullptr) return nullptr;
    const auto found = dialog->m_controlsById.find(id);
    return found != dialog->m_controlsById.end() ? found->second : nullptr;
}

BOOL CWnd::IsWindowVisible() const { return m_widget != nullptr && m_widget->isVisible() ? TRUE : FALSE; }

BOOL CWnd::IsIconic() const {
    return m_widget != nullptr && m_widget->isWindow() && m_widget->isMinimized() ? TRUE : FALSE;
}

void CWnd::GetClientRect(RECT* rect) const {
    if (rect == nullptr) return;
    *rect = RECT{};
    if (m_widget == nullptr) return;
    const int border = BorderOf(m_widget);
    rect->right = std::max(0, m_widget->width() - 2 * border);
    rect->bottom = std::max(0, m_widget->height() - 2 * border);
}

void CWnd::ClientToScreen(RECT* rect) const {
    if (rect == nullptr || m_widget == nullptr) return;
    const int border = BorderOf(m_widget);
    const QPoint origin = m_widget->mapToGlobal(QPoint(border, border));
    rect->left += origin.x();
    rect->right += origin.x();
    rect->top += origin.y();
    rect->bottom += origin.y();
}

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* placement) const {
    if (placement == nullptr || m_widget == nullptr) return FALSE;
    placement->flags = 0;
    placement->showCmd = m_widget->isMinimized()   ? SW_SHOWMINIMIZED
                         : m_widget->isMaximized() ? SW_SHOWMAXIMIZED
                                                   : SW_SHOWNORMAL;
    placement->ptMinPosition = POINT{-1, -1};
    placement->ptMaxPosition = POINT{-1, -1};
    const QRect normal = m_widget->isWindow() ? m_widget->normalGeometry() : m_widget->geometry();
    placement->rcNormalPosition =
        RECT{normal.left(), normal.top(), normal.left() + normal.width(), normal.top() + normal.height()};
    return TRUE;
}

BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* placement) {
    if (placement == nullptr || m_widget == nullptr) return FALSE;
    const RECT& r = placement->rcNormalPosition;
    m_widget->setGeometry(r.left, r.top, std::max(0, r.right - r.left), std::max(0, r.bottom - r.top));
    if (m_widget->isWindow()) {
        if (placement->showCmd == SW_SHOWMINIMIZED) m_widget->showMinimized();
        if (placement->showCmd == SW_SHOWMAXIMIZED) m_widget->showMaximized();
    }
    return TRUE;
}

void CWnd::ShowWindow(BOOL show) {
    if (m_widget != nullptr) m_widget->setVisible(show != FALSE);
}

BOOL IsWindow(const QWidget* widget) {
    return widget != nullptr && IsLiveWidget(widget) ? TRUE : FALSE;
}
