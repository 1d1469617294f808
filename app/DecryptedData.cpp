// The result dialog: shows the opened text and keeps its edit 20 pixels inside the client
// area while the window is resized.
#include "app/DecryptedData.h"

#include <string_view>
#include <utility>

#include "app/LargeTextView.h"
#include "res/Resource.h"

DecryptedData::DecryptedData(CWnd* parent) : CDialogEx(IDD_DECRYPTED_DATA, parent) {}

DecryptedData::~DecryptedData() = default;

const MessageMap* DecryptedData::GetMessageMap() const {
    static const MessageMap map(CDialogEx::GetThisMessageMap(), {
        OnMessage(WM_SIZING, &DecryptedData::OnSizing),
    });
    return &map;
}

BOOL DecryptedData::OnInitDialog() {
    CDialogEx::OnInitDialog();
    CWnd* edit = GetDlgItem(IDC_DECRYPTED_TEXT);
    if (edit == nullptr) return TRUE;
    // A window text ends at its first NUL.
    const std::string_view shown(m_strText.c_str());
    if (LargeTextView::IsTooLargeForEdit(shown)) {
        // The edit would take minutes to lay such a text out: a light view over it shows it,
        // and takes the text over rather than holding a second copy of it.
        auto* view = new LargeTextView(edit->GetSafeHwnd());
        m_strText.resize(shown.size());
        view->SetText(std::move(m_strText));
        m_strText.clear();
        view->show();
    } else {
        edit->SetWindowText(m_strText.c_str());
    }
    return TRUE;
}

void DecryptedData::OnSizing(UINT, RECT*) {
    Default();
    CWnd* edit = GetDlgItem(IDC_DECRYPTED_TEXT);
    if (edit == nullptr || !IsWindow(edit->GetSafeHwnd()) || !edit->IsWindowVisible()) return;

    RECT client;
    GetClientRect(&client);
    ClientToScreen(&client);
    RECT editRect;
    edit->GetClientRect(&editRect);
    edit->ClientToScreen(&editRect);
    WINDOWPLACEMENT placement;
    edit->GetWindowPlacement(&placement);
    int32_t right = client.right - 20;
    if (right < editRect.left) right = editRect.left;
    placement.rcNormalPosition.right = placement.rcNormalPosition.left + (right - editRect.left) + 1;
    edit->SetWindowPlacement(&placement);

    GetClientRect(&client);
    ClientToScreen(&client);
    edit->GetClientRect(&editRect);
    edit->ClientToScreen(&editRect);
    int32_t bottom = client.bottom - 20;
    if (bottom < editRect.top) bottom = editRect.top;
    placement.rcNormalPosition.bottom = placement.rcNormalPosition.top + (bottom - editRect.top) + 1;
    edit->SetWindowPlacement(&placement);
}
