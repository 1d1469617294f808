// Icons loaded from the resources, the system's icon size, and painting an icon on a dialog.
#include "platform/Icon.h"

#include <map>
#include <memory>

#include <QIcon>
#include <QPainter>
#include <QPaintEvent>
#include <QPixmap>

#include "platform/DialogWindow.h"
#include "platform/Wnd.h"

struct IconResource {
    QIcon images;
};

HINSTANCE AfxGetResourceHandle() {
    static int module = 0;
    return &module;
}

HICON LoadIconW(HINSTANCE /*instance*/, int iconId) {
    // Handles stay valid until the process ends.
    static auto* loaded = new std::map<int, std::unique_ptr<IconResource>>;
    auto& slot = (*loaded)[iconId];
    if (slot == nullptr) {
        const QStringList files = IconImageFiles(iconId);
        if (files.isEmpty()) {
            loaded->erase(iconId);
            return nullptr;
        }
        slot = std::make_unique<IconResource>();
        for (const QString& file : files) slot->images.addPixmap(QPixmap(file));
    }
    return slot.get();
}

const QIcon* IconImages(HICON icon) { return icon != nullptr ? &icon->images : nullptr; }

int GetSystemMetrics(int index) {
    return index == SM_CXICON || index == SM_CYICON ? 32 : 0;
}

CPaintDC::CPaintDC(CWnd* window) {
    // A painter exists only while the window handles its paint event.
    QWidget* widget = window != nullptr ? window->GetSafeHwnd() : nullptr;
    const auto* dialog = dynamic_cast<CDialog::Window*>(widget);
    if (dialog != nullptr && dialog->CurrentPaint() != nullptr) m_painter = std::make_unique<QPainter>(widget);
}

CPaintDC::~CPaintDC() = default;

HDC CPaintDC::GetSafeHdc() const { return m_painter.get(); }

BOOL CPaintDC::DrawIcon(int x, int y, HICON icon) {
    if (m_painter == nullptr || icon == nullptr) return FALSE;
    const int side = GetSystemMetrics(SM_CXICON);
    m_painter->drawPixmap(x, y, icon->images.pixmap(side, side));
    return TRUE;
}
