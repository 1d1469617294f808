// The wait cursor: an override cursor over the application that lasts until the pointer next
// moves over one of its windows or a modal window opens.
#include "platform/Cursor.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QWidget>

struct CursorResource {
    int id;
    Qt::CursorShape shape;
};

namespace {

const CursorResource kArrow{IDC_ARROW, Qt::ArrowCursor};
const CursorResource kWait{IDC_WAIT, Qt::WaitCursor};

HCURSOR g_current = &kArrow;

// Takes the cursor back to the windows' own at the next move of the pointer or modal window.
class CursorReset : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        const bool moved = (type == QEvent::MouseMove || type == QEvent::HoverMove || type == QEvent::Enter) &&
                           event->spontaneous();
        const bool modal = type == QEvent::Show && watched->isWidgetType() &&
                           static_cast<QWidget*>(watched)->isWindow() &&
                           static_cast<QWidget*>(watched)->isModal();
        if (moved || modal) Reset();
        return false;
    }
    void Reset() {
        while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
        g_current = &kArrow;
        qApp->removeEventFilter(this);
    }
};

CursorReset& Resetter() {
    static CursorReset* resetter = new CursorReset;  // lives as long as the application
    return *resetter;
}

}  // namespace

HCURSOR LoadCursor(HINSTANCE /*instance*/, int cursorId) {
    switch (cursorId) {
    case IDC_ARROW: return &kArrow;
    case IDC_WAIT: return &kWait;
    default: return nullptr;
    }
}

HCURSOR SetCursor(HCURSOR cursor) {
    const HCURSOR previous = g_current;
    if (cursor == nullptr || cursor == &kArrow) {
        Resetter().Reset();
    } else if (cursor != g_current) {
        Resetter().Reset();
        QApplication::setOverrideCursor(QCursor(cursor->shape));
        qApp->installEventFilter(&Resetter());
    }
    g_current = cursor != nullptr ? cursor : &kArrow;
    return previous;
}
