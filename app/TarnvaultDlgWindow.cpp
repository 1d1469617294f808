// The main dialog's window handlers: the system menu's About entry, painting while minimised,
// the drag icon, and the path field that follows the window's width.
#include "app/AboutDlg.h"
#include "app/TarnvaultDlg.h"
#include "res/Resource.h"

void CTarnvaultDlg::OnSysCommand(UINT id, LPARAM) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal();
    } else {
        Default();
    }
}

void CTarnvaultDlg::OnPaint() {
    if (!IsIconic()) {
        CDialogEx::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int iconWidth = GetSystemMetrics(SM_CXICON);
    const int iconHeight = GetSystemMetrics(SM_CYICON);
    RECT client;
    GetClientRect(&client);
    const int x = (client.Width() - iconWidth + 1) / 2;
    const int y = (client.Height() - iconHeight + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CTarnvaultDlg::OnQueryDragIcon() {
    // The icon handle serves as the cursor while the minimised window is dragged.
    return reinterpret_cast<HCURSOR>(m_hIcon);
}

void CTarnvaultDlg::OnSizing(UINT, RECT*) {
    Default();
    RECT client;
    GetClientRect(&client);
    ClientToScreen(&client);

    CWnd* field = GetDlgItem(IDC_TIMELOCK_FILE);
    if (field == nullptr || !IsWindow(field->GetSafeHwnd()) || !field->IsWindowVisible()) return;
    RECT fieldRect;
    field->GetClientRect(&fieldRect);
    field->ClientToScreen(&fieldRect);

    int32_t right = client.right - 3;
    // Shrinking stops at a client width of 19 pixels; growing has no limit.
    if (fieldRect.right >= right && right < fieldRect.left + 19) right = fieldRect.left + 19;

    WINDOWPLACEMENT placement;
    field->GetWindowPlacement(&placement);
    placement.rcNormalPosition.right = placement.rcNormalPosition.left + (right - fieldRect.left) + 1;
    field->SetWindowPlacement(&placement);
}
