// Building the frame and the controls of a dialog template as Qt widgets.
#include "platform/DialogBuilder.h"

#include <climits>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/Icon.h"
#include "platform/MultiLineEdit.h"
#include "platform/Text1252.h"

void ApplyFrameTemplate(QDialog& dialog, const DialogTemplate& frame, const DialogUnits& units) {
    Qt::WindowFlags flags = (frame.exStyle & WS_EX_APPWINDOW) ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint;
    if ((frame.style & WS_CAPTION) == WS_CAPTION) flags |= Qt::WindowTitleHint;
    if (frame.style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (frame.style & WS_MINIMIZEBOX) flags |= Qt::WindowMinimizeButtonHint;
    if (frame.style & WS_MAXIMIZEBOX) flags |= Qt::WindowMaximizeButtonHint;
    dialog.setWindowFlags(flags);
    dialog.setWindowTitle(FromWindows1252(frame.caption != nullptr ? frame.caption : ""));

    const QSize client(units.X(frame.cx), units.Y(frame.cy));
    if (frame.style & WS_THICKFRAME) {
        dialog.resize(client);
    } else {
        dialog.setFixedSize(client);
    }
}

namespace {

Qt::FocusPolicy FocusFor(DWORD style) {
    return (style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus;
}

QWidget* BuildEdit(const ControlTemplate& control, QWidget* parent) {
    const bool border = (control.style & WS_BORDER) != 0;
    if (control.style & ES_MULTILINE) {
        auto* edit = new MultiLineEdit(parent);
        edit->setFrameShape(border ? QFrame::Box : QFrame::NoFrame);
        edit->setLineWrapMode((control.style & ES_AUTOHSCROLL) ? QPlainTextEdit::NoWrap
                                                               : QPlainTextEdit::WidgetWidth);
        edit->setVerticalScrollBarPolicy((control.style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded
                                                                      : Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy((control.style & WS_HSCROLL) ? Qt::ScrollBarAsNeeded
                                                                        : Qt::ScrollBarAlwaysOff);
        edit->setTabChangesFocus(true);
        edit->SetText(control.text != nullptr ? control.text : "");
        return edit;
    }
    auto* edit = new QLineEdit(parent);
    edit->setFrame(border);
    edit->setMaxLength(INT_MAX);  // an edit has no text limit of its own
    edit->setText(FromWindows1252(control.text != nullptr ? control.text : ""));
    return edit;
}

QWidget* BuildStatic(const ControlTemplate& control, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);  // a text shown is never markup
    if ((control.style & SS_TYPEMASK) == SS_ICON) {
        if (const QIcon* icon = IconImages(LoadIconW(AfxGetResourceHandle(), control.iconId))) {
            const int side = GetSystemMetrics(SM_CXICON);
            label->setPixmap(icon->pixmap(side, side));
        }
        return label;
    }
    Qt::Alignment align = Qt::AlignLeft;
    if ((control.style & SS_TYPEMASK) == SS_CENTER) align = Qt::AlignHCenter;
    if ((control.style & SS_TYPEMASK) == SS_RIGHT || (control.exStyle & WS_EX_RIGHT)) align = Qt::AlignRight;
    label->setAlignment(align | Qt::AlignTop);
    label->setWordWrap(true);
    label->setText(FromWindows1252(control.text != nullptr ? control.text : ""));
    return label;
}

QWidget* BuildButton(const ControlTemplate& control, QWidget* parent) {
    auto* button = new QPushButton(FromWindows1252(control.text != nullptr ? control.text : ""), parent);
    button->setAutoDefault(true);
    button->setDefault((control.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
    return button;
}

}  // namespace

QWidget* BuildControl(const ControlTemplate& control, const DialogUnits& units, QWidget* parent) {
    QWidget* widget = nullptr;
    switch (control.kind) {
    case ControlKind::Edit: widget = BuildEdit(control, parent); break;
    case ControlKind::Static: widget = BuildStatic(control, parent); break;
    case ControlKind::Button: widget = BuildButton(control, parent); break;
    }
    widget->setProperty(kControlIdProperty, control.id);
    widget->setProperty(kBorderProperty, (control.style & WS_BORDER) ? 1 : 0);
    QRect place = units.Rect(control.x, control.y, control.cx, control.cy);
    if (control.kind == ControlKind::Static && (control.style & SS_TYPEMASK) == SS_ICON) {
        // An icon static takes the size of the icon it shows.
        place.setSize(QSize(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)));
    }
    widget->setGeometry(place);
    widget->setFocusPolicy(control.kind == ControlKind::Static ? Qt::NoFocus : FocusFor(control.style));
    widget->setEnabled((control.style & WS_DISABLED) == 0);
    widget->setVisible((control.style & WS_VISIBLE) != 0);
    return widget;
}
