#pragma once
// The About box: the application's icon, its name with the fixed version line, and the version
// of the program file.
#include "platform/Dialog.h"

class CAboutDlg : public CDialogEx {
public:
    CAboutDlg();
    ~CAboutDlg() override;

    const MessageMap* GetMessageMap() const override;
    BOOL OnInitDialog() override;
};
