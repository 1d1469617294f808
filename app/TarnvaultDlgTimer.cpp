// The auto-save timer: every change of the nine edits restarts it, and one second after the
// last change the fields are written to the settings file.
#include "app/TarnvaultDlg.h"
#include "res/Resource.h"

void CTarnvaultDlg::OnFieldChanged() {
    KillTimer(IDT_AUTOSAVE);
    SetTimer(IDT_AUTOSAVE, 1000, nullptr);
}

void CTarnvaultDlg::OnTimer(UINT_PTR id) {
    if (id == IDT_AUTOSAVE) {
        KillTimer(IDT_AUTOSAVE);
        SaveSettings();
    }
    Default();
}
