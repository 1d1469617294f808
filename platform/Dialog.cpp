// CDialog: building from the template, the modal run, routing messages through the map, and
// the default handling of what the map does not name.
#include "platform/Dialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWindow>

#include "platform/DialogBuilder.h"
#include "platform/DialogTemplate.h"
#include "platform/DialogWindow.h"
#include "platform/Icon.h"
#include "platform/LiveWidgets.h"
#include "platform/SystemMenu.h"

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_parent(parent) {}

CDialog::~CDialog() { Teardown(); }

const MessageMap* CDialog::GetThisMessageMap() {
    static const MessageMap map(nullptr, {});
    return &map;
}

const MessageMap* CDialog::GetMessageMap() const { return GetThisMessageMap(); }

bool CDialog::Build() {
    const DialogTemplate* frame = FindDialogTemplate(static_cast<int>(m_templateId));
    if (frame == nullptr) return false;
    Teardown();
    m_style = frame->style;
    m_ended = false;
    m_endResult = 0;
    m_systemMenu = (frame->style & WS_SYSMENU) ? std::make_unique<CMenu>() : nullptr;

    m_window = std::make_unique<Window>(*this);
    const QFont font = DialogFont();
    m_window->setFont(font);
    const DialogUnits units = DialogUnits::ForFont(font);
    ApplyFrameTemplate(*m_window, *frame, units);
    Attach(m_window.get());
    TrackLiveWidget(m_window.get());

    QWidget* previousTabStop = nullptr;
    for (const ControlTemplate& control : frame->controls) {
        QWidget* widget = BuildControl(control, units, m_window.get());
        TrackLiveWidget(widget);
        m_controls.push_back(std::make_unique<CWnd>(widget));
        const auto [slot, added] = m_controlsById.emplace(control.id, m_controls.back().get());
        if (!added) slot->second = nullptr;  // an id shared by several controls finds none

        const int id = control.id;
        const LPARAM handle = reinterpret_cast<LPARAM>(widget);
        if (auto* line = qobject_cast<QLineEdit*>(widget)) {
            QObject::connect(line, &QLineEdit::textChanged, m_window.get(), [this, id, handle] {
                SendMessage(WM_COMMAND, MakeCommandParam(id, EN_CHANGE), handle);
            });
        } else if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) {
            QObject::connect(multi, &QPlainTextEdit::textChanged, m_window.get(), [this, id, handle] {
                SendMessage(WM_COMMAND, MakeCommandParam(id, EN_CHANGE), handle);
            });
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            QObject::connect(button, &QPushButton::clicked, m_window.get(), [this, id, handle] {
                SendMessage(WM_COMMAND, MakeCommandParam(id, BN_CLICKED), handle);
            });
        }
        if (control.style & WS_TABSTOP) {
            if (previousTabStop != nullptr) QWidget::setTabOrder(previousTabStop, widget);
            previousTabStop = widget;
        }
    }

    // A window with an owner stays above it; ownership of the widget stays with this object.
    QWidget* owner = m_parent != nullptr ? m_parent->GetSafeHwnd() : nullptr;
    if (owner == nullptr && !(frame->exStyle & WS_EX_APPWINDOW)) owner = QApplication::activeWindow();
    if (owner != nullptr && owner != m_window.get()) {
        m_window->winId();
        if (QWindow* ownerWindow = owner->window()->windowHandle()) {
            m_window->windowHandle()->setTransientParent(ownerWindow);
        }
    }
    return true;
}

void CDialog::Teardown() {
    Attach(nullptr);
    m_controlsById.clear();
    m_controls.clear();
    // Widgets being destroyed route nothing to handlers of a window that is going.
    m_tearingDown = true;
    m_window.reset();
    m_tearingDown = false;
}

namespace {

void FocusFirstTabStop(QWidget& window) {
    for (QWidget* widget = window.nextInFocusChain(); widget != &window; widget = widget->nextInFocusChain()) {
        if ((widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled() && !widget->isHidden()) {
            widget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

}  // namespace

INT_PTR CDialog::DoModal() {
    if (!Build()) return -1;
    if (OnInitDialog()) FocusFirstTabStop(*m_window);
    const INT_PTR result = m_ended ? m_endResult : m_window->exec();
    Teardown();
    return result;
}

BOOL CDialog::Create() {
    if (!Build()) return FALSE;
    if (OnInitDialog()) FocusFirstTabStop(*m_window);
    if (!m_ended) m_window->show();
    return TRUE;
}

void CDialog::EndDialog(int result) {
    m_ended = true;
    m_endResult = result;
    if (m_window != nullptr && m_window->isVisible()) m_window->done(result);
}

BOOL CDialog::OnInitDialog() { return TRUE; }
void CDialog::OnOK() { EndDialog(IDOK); }
void CDialog::OnCancel() { EndDialog(IDCANCEL); }

LRESULT CDialog::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_tearingDown) return 0;
    const Message routed{message, wParam, lParam};
    const Message* outer = m_current;
    m_current = &routed;
    const MessageMap::Entry* entry = GetMessageMap()->Find(routed);
    const LRESULT result = entry != nullptr ? entry->call(*this, routed) : DefaultFor(routed);
    m_current = outer;
    return result;
}

LRESULT CDialog::Default() { return m_current != nullptr ? DefaultFor(*m_current) : 0; }

LRESULT CDialog::DefaultFor(const Message& message) {
    switch (message.message) {
    case WM_COMMAND: {
        const UINT code = static_cast<UINT>((message.wParam >> 16) & 0xFFFF);
        const int id = static_cast<int16_t>(message.wParam & 0xFFFF);
        if (code == BN_CLICKED && id == IDOK) OnOK();
        if (code == BN_CLICKED && id == IDCANCEL) OnCancel();
        return 0;
    }
    case WM_SYSCOMMAND:
        switch (message.wParam & 0xFFF0) {
        case SC_CLOSE:
            // Closing a dialog is its cancel command.
            return SendMessage(WM_COMMAND, MakeCommandParam(IDCANCEL, BN_CLICKED), 0);
        case SC_MINIMIZE:
            if (m_window != nullptr) m_window->showMinimized();
            return 0;
        case SC_RESTORE:
            if (m_window != nullptr) m_window->showNormal();
            return 0;
        default: return 0;
        }
    case WM_PAINT:
        if (m_window != nullptr) m_window->BasePaint();
        return 0;
    case WM_SETICON: {
        const QIcon* images = IconImages(reinterpret_cast<HICON>(message.lParam));
        if (m_window != nullptr && images != nullptr) m_window->setWindowIcon(*images);
        return 0;
    }
    default: return 0;
    }
}

void CDialog::OnPaint() { Default(); }

UINT_PTR CDialog::SetTimer(UINT_PTR id, UINT elapse, void* callback) {
    if (m_window == nullptr || callback != nullptr) return 0;
    m_window->StartTimer(id, elapse);
    return id;
}

BOOL CDialog::KillTimer(UINT_PTR id) {
    return m_window != nullptr && m_window->StopTimer(id) ? TRUE : FALSE;
}

CMenu* CDialog::GetSystemMenu(BOOL revert) {
    if (!(m_style & WS_SYSMENU)) return nullptr;
    if (revert) {
        m_systemMenu = std::make_unique<CMenu>();
        return nullptr;
    }
    if (m_systemMenu == nullptr) m_systemMenu = std::make_unique<CMenu>();
    return m_systemMenu.get();
}

QDialog* CDialog::GetDialogWidget() const { return m_window.get(); }
