#pragma once
// Real Qt widgets from a dialog template: the frame's flags and size, and each control's
// widget, placed in pixels and styled as its template says.
#include <QWidget>

#include "platform/DialogTemplate.h"
#include "platform/DialogUnits.h"

class QDialog;

// The widget property holding a control's id.
inline constexpr char kControlIdProperty[] = "tarnvaultControlId";
// The widget property holding the width of a control's border (its client area lies inside).
inline constexpr char kBorderProperty[] = "tarnvaultBorder";

// Window kind, title bar, frame (resizable or fixed) and client size of the dialog.
void ApplyFrameTemplate(QDialog& dialog, const DialogTemplate& frame, const DialogUnits& units);

// The control's widget, a child of parent.
QWidget* BuildControl(const ControlTemplate& control, const DialogUnits& units, QWidget* parent);
