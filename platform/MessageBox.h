#pragma once
// AfxMessageBox: a modal QMessageBox captioned with the executable's base name. MB_OK boxes
// get the warning (exclamation) icon, MB_YESNO boxes the question icon, unless the type names
// an icon. The result is the button pressed: IDOK, IDYES or IDNO (closing a Yes/No box is No).
#include "platform/WinDefs.h"

class QString;

int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
// A string-table message.
int AfxMessageBox(UINT stringId, UINT type = MB_OK, UINT helpId = 0);
// A box whose text Windows-1252 may not hold, such as a name from the file system.
int ShowMessageBox(const QString& text, UINT type = MB_OK);
