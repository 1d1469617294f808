#pragma once
// A dialog whose message map logs what reaches its handlers, for the window layer's tests.
#include <string>
#include <vector>

#include "platform/Dialog.h"
#include "platform/Icon.h"
#include "platform/SystemMenu.h"
#include "res/Resource.h"

using Log = std::vector<std::string>;

class ProbeDialog : public CDialog {
public:
    explicit ProbeDialog(UINT templateId = IDD_TARNVAULT_DIALOG) : CDialog(templateId) {}

    const MessageMap* GetMessageMap() const override {
        static const MessageMap map(CDialog::GetThisMessageMap(), {
            OnNotify(EN_CHANGE, IDC_PASSWORD, &ProbeDialog::OnPasswordChanged),
            OnNotify(EN_CHANGE, IDC_TIMELOCK_FILE, &ProbeDialog::OnPathChanged),
            OnNotify(BN_CLICKED, IDC_SAVE_SETTINGS, &ProbeDialog::OnSave),
            OnNotify(BN_CLICKED, IDC_OPEN_TIMELOCK, &ProbeDialog::OnOpen),
            OnMessage(WM_TIMER, &ProbeDialog::OnTimer),
            OnMessage(WM_SYSCOMMAND, &ProbeDialog::OnSysCommand),
            OnMessage(WM_PAINT, &ProbeDialog::OnPaint),
            OnMessage(WM_QUERYDRAGICON, &ProbeDialog::OnQueryDragIcon),
        });
        return &map;
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        visibleDuringInit = IsWindowVisible();
        if (CMenu* menu = GetSystemMenu(FALSE); menu != nullptr) {
            menu->AppendMenu(MF_SEPARATOR);
            menu->AppendMenu(MF_STRING, IDM_ABOUTBOX, "&About Tarnvault...");
        }
        return TRUE;
    }

    void OnPasswordChanged() { log.push_back("password " + Text(IDC_PASSWORD)); }
    void OnPathChanged() { log.push_back("path " + Text(IDC_TIMELOCK_FILE)); }
    void OnSave() { log.push_back("save"); }
    void OnOpen() { log.push_back("open"); }
    void OnTimer(UINT_PTR id) {
        log.push_back("timer " + std::to_string(id));
        KillTimer(id);
        Default();
    }
    void OnSysCommand(UINT id, LPARAM) {
        log.push_back("command " + std::to_string(id));
        Default();
    }
    void OnPaint() {
        CPaintDC dc(this);
        painted = dc.DrawIcon(0, 0, icon);
    }
    HCURSOR OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(icon); }

    std::string Text(int id) const {
        char buffer[1023];
        GetDlgItem(id)->GetWindowText(buffer, 1023);
        return buffer;
    }
    QWidget* Widget(int id) const { return GetDlgItem(id)->GetSafeHwnd(); }

    const HICON icon = LoadIconW(AfxGetResourceHandle(), IDR_MAINFRAME);
    Log log;
    BOOL visibleDuringInit = TRUE;
    BOOL painted = FALSE;
};
