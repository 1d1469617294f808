// The main dialog's construction, its message map and its initialisation.
#include "app/TarnvaultDlg.h"

#include "platform/StringTable.h"
#include "platform/SystemMenu.h"
#include "res/Resource.h"

CTarnvaultDlg::CTarnvaultDlg(CWnd* parent)
    : CDialogEx(IDD_TARNVAULT_DIALOG, parent),
      m_hIcon(LoadIconW(AfxGetResourceHandle(), IDR_MAINFRAME)) {}

CTarnvaultDlg::~CTarnvaultDlg() = default;

const MessageMap* CTarnvaultDlg::GetMessageMap() const {
    static const MessageMap map(CDialogEx::GetThisMessageMap(), {
        OnMessage(WM_SYSCOMMAND, &CTarnvaultDlg::OnSysCommand),
        OnMessage(WM_PAINT, &CTarnvaultDlg::OnPaint),
        OnMessage(WM_QUERYDRAGICON, &CTarnvaultDlg::OnQueryDragIcon),
        OnNotify(EN_CHANGE, IDC_BLOCK_NUMBER, &CTarnvaultDlg::OnFieldChanged),
        OnNotify(EN_CHANGE, IDC_BLOCK_VERSION, &CTarnvaultDlg::OnFieldChanged),
        OnNotify(EN_CHANGE, IDC_PREV_BLOCK_HASH, &CTarnvaultDlg::OnFieldChanged),
        OnNotify(EN_CHANGE, IDC_MERKLE_ROOT, &CTarnvaultDlg::OnFieldChanged),
        OnNotify(EN_CHANGE, IDC_TIME_STAMP, &CTarnvaultDlg::OnFieldChanged),
        OnNotify(EN_CHANGE, IDC_BITS, &CTarnvaultDlg::OnFieldChanged),
        OnNotify(EN_CHANGE, IDC_NONCE, &CTarnvaultDlg::OnFieldChanged),
        OnNotify(BN_CLICKED, IDC_BROWSE_TIMELOCK, &CTarnvaultDlg::OnSelectTimeLockFile),
        OnNotify(BN_CLICKED, IDC_OPEN_TIMELOCK, &CTarnvaultDlg::OnOpenTimeLock),
        OnMessage(WM_SIZING, &CTarnvaultDlg::OnSizing),
        OnMessage(WM_TIMER, &CTarnvaultDlg::OnTimer),
        OnNotify(EN_CHANGE, IDC_PASSWORD, &CTarnvaultDlg::OnFieldChanged),
        OnNotify(EN_CHANGE, IDC_TIMELOCK_FILE, &CTarnvaultDlg::OnFieldChanged),
        OnNotify(BN_CLICKED, IDC_LOAD_SETTINGS, &CTarnvaultDlg::OnLoadSettings),
        OnNotify(BN_CLICKED, IDC_SAVE_SETTINGS, &CTarnvaultDlg::OnSaveSettings),
    });
    return &map;
}

BOOL CTarnvaultDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();

    if (CMenu* systemMenu = GetSystemMenu(FALSE)) {
        std::string aboutText;
        LoadString(aboutText, IDS_ABOUTBOX);
        if (!aboutText.empty()) {
            systemMenu->AppendMenu(MF_SEPARATOR);
            systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, aboutText.c_str());
        }
    }

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    LoadSettings();
    return TRUE;
}

std::string CTarnvaultDlg::ReadControlText(int id) const {
    const CWnd* control = GetDlgItem(id);
    if (control == nullptr) return {};
    char text[1023];
    const int length = control->GetWindowText(text, static_cast<int>(sizeof text));
    return std::string(text, static_cast<size_t>(length > 0 ? length : 0));
}
