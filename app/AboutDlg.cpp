// The About box, with the version text that the application object read from the program file.
#include "app/AboutDlg.h"

#include "app/TarnvaultApp.h"
#include "res/Resource.h"

CAboutDlg::CAboutDlg() : CDialogEx(IDD_ABOUTBOX) {}

CAboutDlg::~CAboutDlg() = default;

const MessageMap* CAboutDlg::GetMessageMap() const {
    static const MessageMap map(CDialogEx::GetThisMessageMap(), {});
    return &map;
}

BOOL CAboutDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    if (CWnd* version = GetDlgItem(IDC_VERSION_TEXT)) {
        version->SetWindowText(theApp.m_strVersion.c_str());
    }
    return TRUE;
}
