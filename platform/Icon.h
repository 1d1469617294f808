#pragma once
// Icons from the program's resources, and the painting a minimised dialog does with them.
#include <memory>

#include "platform/Cursor.h"
#include "platform/WinDefs.h"

class CWnd;
class QPainter;
class QIcon;

struct IconResource;
using HICON = const IconResource*;  // lives until the process ends
using HDC = QPainter*;

HINSTANCE AfxGetResourceHandle();
HICON LoadIconW(HINSTANCE instance, int iconId);  // null when there is no such icon
const QIcon* IconImages(HICON icon);              // the images behind a handle

// The system's icon size (SM_CXICON, SM_CYICON: 32); 0 for other indices.
int GetSystemMetrics(int index);

// A paint device for one WM_PAINT of a window.
class CPaintDC {
public:
    explicit CPaintDC(CWnd* window);
    ~CPaintDC();
    HDC GetSafeHdc() const;
    BOOL DrawIcon(int x, int y, HICON icon);

private:
    std::unique_ptr<QPainter> m_painter;
};

// The image files of an icon in the program's resources, largest first; empty for an unknown
// id (res/IconImages.cpp).
#include <QStringList>
QStringList IconImageFiles(int iconId);
