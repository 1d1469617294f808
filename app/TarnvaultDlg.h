#pragma once
// The main dialog: the password, the seven block-header fields and the TimeLock path, with the
// buttons that open the file and save or load a settings snapshot. Its handlers live in files
// named after what they do (TarnvaultDlg*.cpp).
#include <cstdint>
#include <string>

#include "platform/Dialog.h"
#include "platform/Icon.h"

class CTarnvaultDlg : public CDialogEx {
public:
    explicit CTarnvaultDlg(CWnd* parent = nullptr);
    ~CTarnvaultDlg() override;

    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;

    // Field validation: true when valid; errors gains one line per failing field.
    bool ValidateFields(std::string& errors);
    // Each field's error line starts with its own prefix, found by editId.
    bool ValidateNumberField(int editId, int statusId, uint32_t& member, std::string& errors);
    bool ValidateHashField(int editId, int statusId, std::string& errors);

    // The settings file: the nine edits to and from g_pszSettingsFile.
    bool SaveSettings();
    bool LoadSettings();

    // Handlers bound by the message map.
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnFieldChanged();
    void OnTimer(UINT_PTR id);
    void OnSizing(UINT edge, RECT* proposed);
    void OnSelectTimeLockFile();
    void OnOpenTimeLock();
    void OnSaveSettings();
    void OnLoadSettings();

    bool m_bLoading = false;
    uint32_t m_nBlockNumber = 0;
    uint32_t m_nBlockVersion = 0;
    uint32_t m_nTimeStamp = 0;
    uint32_t m_nBits = 0;
    uint32_t m_nNonce = 0;
    HICON m_hIcon;

private:
    // The control's text, read with the count of 1023 (at most 1022 characters); a missing
    // control gives the empty text.
    std::string ReadControlText(int id) const;
};
