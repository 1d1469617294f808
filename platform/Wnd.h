#pragma once
// CWnd: a window as the dialog code sees it, a thin handle over one QWidget. Texts cross as
// Windows-1252. Rectangles are pixels; client rectangles start at 0,0.
#include "platform/WinDefs.h"

class QWidget;
class CDialog;

class CWnd {
public:
    explicit CWnd(QWidget* widget = nullptr);
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    QWidget* GetSafeHwnd() const { return m_widget; }

    // Copies at most count - 1 characters and a NUL into buffer; returns the count copied.
    // A count below 1 copies nothing.
    int GetWindowText(char* buffer, int count) const;
    // Sets the text; an edit raises EN_CHANGE through its dialog's message map.
    void SetWindowText(const char* text);

    // The control with this id among this window's children, or null. The dialog owns it.
    CWnd* GetDlgItem(int id) const;

    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    void GetClientRect(RECT* rect) const;
    void ClientToScreen(RECT* rect) const;
    BOOL GetWindowPlacement(WINDOWPLACEMENT* placement) const;
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* placement);
    void ShowWindow(BOOL show);

protected:
    void Attach(QWidget* widget) { m_widget = widget; }
    QWidget* m_widget;
};

// Non-zero while widget is a live window.
BOOL IsWindow(const QWidget* widget);
