#pragma once
// The result dialog: the text that an opened TimeLock file produced, in an edit that follows
// the window's size.
#include <string>

#include "platform/Dialog.h"

class DecryptedData : public CDialogEx {
public:
    explicit DecryptedData(CWnd* parent = nullptr);
    ~DecryptedData() override;

    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
    void OnSizing(UINT edge, RECT* proposed);

    // Set before the dialog runs; a text too large for the edit moves into the view that
    // shows it, leaving this empty.
    std::string m_strText;
};
