// The "Open TimeLock" button on the real dialog: each outcome of the request as the user sees
// it, the result dialog's text, the timing line on standard output, and the end of the
// process after a run that threw.
#include <QMessageBox>
#include <QPlainTextEdit>

#include <cstdio>
#include <regex>
#include <string>

#include "app/settings_fixture.h"
#include "res/Resource.h"
#include "support/RealisticTimeLock.h"
#include "support/WhenModalOpens.h"

namespace {

class OpenHandler : public SettingsFixture {
protected:
    std::string WriteTimeLock(const std::vector<uint8_t>& bytes) {
        const fs::path path = m_dir / "lock.tlk";
        WriteFile(path, std::string(bytes.begin(), bytes.end()));
        return path.string();
    }

    void TypeInputs(const OpenTimeLockInputs& in) {
        SetText(IDC_PASSWORD, in.password);
        SetText(IDC_BLOCK_NUMBER, std::to_string(in.blockNumber));
        SetText(IDC_BLOCK_VERSION, std::to_string(in.blockVersion));
        SetText(IDC_PREV_BLOCK_HASH, in.prevBlockHash);
        SetText(IDC_MERKLE_ROOT, in.merkleRoot);
        SetText(IDC_TIME_STAMP, std::to_string(in.timeStamp));
        SetText(IDC_BITS, std::to_string(in.bits));
        SetText(IDC_NONCE, std::to_string(in.nonce));
        SetText(IDC_TIMELOCK_FILE, in.timeLockFile);
    }

    // Presses "Open TimeLock" and closes the window it opens. Gives the message box's text, or
    // the result dialog's text after "result: ".
    std::string PressOpen() {
        std::string shown;
        WhenModalOpens([&](QWidget* modal) {
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                shown = box->text().toStdString();
            } else if (auto* edit = modal->findChild<QPlainTextEdit*>()) {
                EXPECT_EQ(modal->windowTitle(), "Decrypted Data");
                shown = "result: " + edit->toPlainText().toStdString();
            }
            QTest::keyClick(modal, Qt::Key_Escape);
        }, 120000);
        Click(IDC_OPEN_TIMELOCK);
        return shown;
    }
};

TEST_F(OpenHandler, EachOutcomeShowsWhatTheUserNeedsToKnow) {
    OpenDialog();
    const OpenTimeLockInputs right =
        realistic::SampleInputs(WriteTimeLock(realistic::RealisticTimeLock(realistic::SampleInputs(""))));
    const std::string opened = std::string("result: ") + realistic::kPlainText;
    const std::regex timingLine("MCC elapsed_ms: [0-9]+\n");

    // A field that fails validation: its line, and the file is not looked at.
    OpenTimeLockInputs in = right;
    in.timeLockFile = (m_dir / "missing.tlk").string();
    TypeInputs(in);
    SetText(IDC_BITS, "0x1d00ffff");
    testing::internal::CaptureStdout();
    EXPECT_EQ(PressOpen(), "Invalid bits: 0x1d00ffff");

    // The request's own message.
    TypeInputs(in);
    EXPECT_EQ(PressOpen(), "File does not exist: " + in.timeLockFile);

    // A wrong nonce: the program leaves the Merkle root as it was.
    in = right;
    in.nonce += 1;
    TypeInputs(in);
    EXPECT_EQ(PressOpen(), "Failure");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    // Opened: the text in the result dialog, then one timing line once it has closed.
    TypeInputs(right);
    testing::internal::CaptureStdout();
    EXPECT_EQ(PressOpen(), opened);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(std::regex_match(out, timingLine)) << out;

    // Empty number fields give the values their members still hold.
    SetText(IDC_NONCE, "");
    SetText(IDC_BLOCK_VERSION, "");
    testing::internal::CaptureStdout();
    EXPECT_EQ(PressOpen(), opened);
    out = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(std::regex_match(out, timingLine)) << out;
}

// A run that throws: "Failure", then the process ends with code 2 and no timing line.
TEST_F(OpenHandler, RunThatThrowsEndsTheProcessWithCodeTwo) {
    using namespace testprog;
    ProgramWriter w;
    w.OpenScope()
        .Declare(kKindString, 4).Assign(Target(4), MathOp::Assign, Imm::String("never shown"))
        .Declare(kKindBarray, 10).Declare(kKindInt, 11).Assign(Target(11), MathOp::Assign, Imm::Int(-1))
        .CallNative(kNativeNewByteArray, {10, 11})
        .CloseScope();
    OpenTimeLockInputs in = realistic::SampleInputs("");
    in.timeLockFile = WriteTimeLock(w.Finish(
        StretchPassword(reinterpret_cast<const uint8_t*>(in.password.data()), in.password.size())));
    EXPECT_EXIT(
        {
            OpenDialog();
            TypeInputs(in);
            WhenModalOpens([](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                std::fprintf(stderr, "box: %s\n", box ? box->text().toUtf8().constData() : "none");
                QTest::keyClick(modal, Qt::Key_Return);
            }, 120000);
            Click(IDC_OPEN_TIMELOCK);
            std::fprintf(stderr, "still running\n");
            std::exit(0);
        },
        testing::ExitedWithCode(2), "box: Failure\n$");
}

}  // namespace
