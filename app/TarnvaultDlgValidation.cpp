// The main dialog's field validation: status labels, the five number members and one error
// line per failing field, in the order the fields are checked.
#include "app/FieldValidation.h"
#include "app/TarnvaultDlg.h"
#include "res/Resource.h"

namespace {

void SetStatus(CDialog& dialog, int statusId, const char* text) {
    if (CWnd* status = dialog.GetDlgItem(statusId)) status->SetWindowText(text);
}

void AppendErrorLine(std::string& errors, int editId, const std::string& text) {
    if (!errors.empty()) errors += '\n';
    errors += FieldErrorPrefix(editId);
    errors += text;
}

}  // namespace

bool CTarnvaultDlg::ValidateNumberField(int editId, int statusId, uint32_t& member,
                                        std::string& errors) {
    const std::string text = ReadControlText(editId);
    if (IsUnsignedDecimal(text.c_str(), member)) {
        SetStatus(*this, statusId, "");
        return true;
    }
    SetStatus(*this, statusId, "Invalid");
    AppendErrorLine(errors, editId, text);
    return false;
}

bool CTarnvaultDlg::ValidateHashField(int editId, int statusId, std::string& errors) {
    const std::string text = ReadControlText(editId);
    if (IsBlockHash(text)) {
        SetStatus(*this, statusId, "");
        return true;
    }
    SetStatus(*this, statusId, "Invalid");
    AppendErrorLine(errors, editId, text);
    return false;
}

bool CTarnvaultDlg::ValidateFields(std::string& errors) {
    errors.clear();
    ValidateNumberField(IDC_BLOCK_NUMBER, IDC_BLOCK_NUMBER_STATUS, m_nBlockNumber, errors);
    ValidateNumberField(IDC_BLOCK_VERSION, IDC_BLOCK_VERSION_STATUS, m_nBlockVersion, errors);
    if (ValidateNumberField(IDC_TIME_STAMP, IDC_TIME_STAMP_STATUS, m_nTimeStamp, errors)) {
        SetStatus(*this, IDC_TIME_STAMP_STATUS, UtcDateText(m_nTimeStamp).c_str());
    }
    ValidateNumberField(IDC_BITS, IDC_BITS_STATUS, m_nBits, errors);
    ValidateNumberField(IDC_NONCE, IDC_NONCE_STATUS, m_nNonce, errors);
    ValidateHashField(IDC_PREV_BLOCK_HASH, IDC_PREV_BLOCK_HASH_STATUS, errors);
    ValidateHashField(IDC_MERKLE_ROOT, IDC_MERKLE_ROOT_STATUS, errors);
    return errors.empty();
}
