// The "Open TimeLock" button: validates the fields, runs the request on this thread and shows
// its outcome; an opened file's text goes to the result dialog, then the timing line to
// standard output.
#include <cstdio>
#include <utility>

#include "app/DecryptedData.h"
#include "app/TarnvaultDlg.h"
#include "app/request/OpenTimeLock.h"
#include "platform/Cursor.h"
#include "platform/MessageBox.h"
#include "platform/Process.h"
#include "res/Resource.h"

void CTarnvaultDlg::OnOpenTimeLock() {
    SetCursor(LoadCursor(nullptr, IDC_WAIT));

    std::string errors;
    if (!ValidateFields(errors)) {
        AfxMessageBox(errors.c_str(), MB_OK, 0);
        return;
    }

    OpenTimeLockInputs inputs;
    inputs.password = ReadControlText(IDC_PASSWORD);
    inputs.blockNumber = m_nBlockNumber;
    inputs.blockVersion = m_nBlockVersion;
    inputs.timeStamp = m_nTimeStamp;
    inputs.bits = m_nBits;
    inputs.nonce = m_nNonce;
    inputs.prevBlockHash = ReadControlText(IDC_PREV_BLOCK_HASH);
    inputs.merkleRoot = ReadControlText(IDC_MERKLE_ROOT);
    inputs.timeLockFile = ReadControlText(IDC_TIMELOCK_FILE);

    OpenTimeLockOutcome outcome = OpenTimeLock(inputs);
    switch (outcome.kind) {
        case OpenTimeLockOutcome::Kind::Message:
            AfxMessageBox(outcome.text.c_str(), MB_OK, 0);
            break;
        case OpenTimeLockOutcome::Kind::NotOpened:
            AfxMessageBox("Failure", MB_OK, 0);
            break;
        case OpenTimeLockOutcome::Kind::Opened: {
            DecryptedData result;
            result.m_strText = std::move(outcome.text);  // a result may be tens of megabytes
            result.DoModal();
            std::printf("MCC elapsed_ms: %llu\n", static_cast<unsigned long long>(outcome.elapsedMs));
            std::fflush(stdout);
            break;
        }
        case OpenTimeLockOutcome::Kind::RunAborted:
            AfxMessageBox("Failure", MB_OK, 0);
            ExitProcess(2);
    }
}
