// Shows a dialog template by id (or a message box: "box", "yesno"), to look at it as a user
// would. Not a test: run it under a display and take a picture.
#include <cstdlib>
#include <string>

#include <QApplication>
#include <QDialog>

#include "platform/Dialog.h"
#include "platform/Icon.h"
#include "platform/MessageBox.h"
#include "res/Resource.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string what = argc > 1 ? argv[1] : "102";
    if (what == "box") return AfxMessageBox("Unable to create directory: /home/user/Documents/Quorvane");
    if (what == "yesno") return AfxMessageBox("The snapshot exists already. Overwrite it?", MB_YESNO);

    CDialog dialog(static_cast<UINT>(std::atoi(what.c_str())));
    if (!dialog.Create()) return 1;
    dialog.SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadIconW(AfxGetResourceHandle(), IDR_MAINFRAME)));
    if (CWnd* text = what == "129" ? dialog.GetDlgItem(IDC_DECRYPTED_TEXT) : nullptr) {
        text->SetWindowText("The opened text,\r\nwith a second line\nand a third.");
    }
    if (CWnd* version = what == "100" ? dialog.GetDlgItem(IDC_VERSION_TEXT) : nullptr) version->SetWindowText("1.0.0.0");
    if (CWnd* status = what == "102" ? dialog.GetDlgItem(IDC_TIME_STAMP_STATUS) : nullptr) status->SetWindowText("2024-01-01 00:00:00 UTC");
    if (CWnd* path = what == "102" ? dialog.GetDlgItem(IDC_TIMELOCK_FILE) : nullptr) path->SetWindowText("/home/user/Documents/lock.tlk");
    if (CWnd* password = what == "102" ? dialog.GetDlgItem(IDC_PASSWORD) : nullptr) password->SetWindowText("Typed password");
    return app.exec();
}
