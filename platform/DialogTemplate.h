#pragma once
// A dialog template as data: the frame and every control in template order, in dialog units.
// The tab order is the template order of the controls that carry WS_TABSTOP.
#include <cstdint>
#include <span>

#include "platform/WinDefs.h"

enum class ControlKind { Edit, Static, Button };

struct ControlTemplate {
    int id;            // IDC_STATIC (-1) for a label no code reads
    ControlKind kind;
    int16_t x, y, cx, cy;
    const char* text;  // Windows-1252; for an SS_ICON static, unused (see iconId)
    DWORD style;
    DWORD exStyle;
    int iconId = 0;    // the icon resource an SS_ICON static shows
};

struct DialogTemplate {
    int id;
    int16_t x, y, cx, cy;
    DWORD style;
    DWORD exStyle;
    const char* caption;
    const char* fontName;
    int pointSize;
    std::span<const ControlTemplate> controls;
};

// The template with this id from the program's resources, or null.
const DialogTemplate* FindDialogTemplate(int templateId);
