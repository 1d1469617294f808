// The "Open TimeLock" button on the real dialog: each outcome of the request as the user sees
// it, the result dialog's text, the timing line on standard output, and the end of the
// process after a run that threw.
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/settings_fixture.h"
#include "res/Resource.h"
#include "support/HangWatchdog.h"
#include "support/RealisticTimeLock.h"

namespace {

bool IsTimingLine(const std::string& out) {
    const std::string prefix = "MCC elapsed_ms: ";
    return out.size() > prefix.size() + 1 && out.compare(0, prefix.size(), prefix) == 0 &&
           out.find_first_not_of("0123456789", prefix.size()) == out.size() - 1 && out.back() == '\n';
}

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
};

TEST_F(OpenHandler, EachOutcomeShowsWhatTheUserNeedsToKnow) {
    OpenDialog();
    const OpenTimeLockInputs right =
        realistic::SampleInputs(WriteTimeLock(realistic::RealisticTimeLock(realistic::SampleInputs(""))));

    // A field that fails validation: its line, and the file is not looked at.
    const std::string missing = (m_dir / "missing.tlk").string();
    OpenTimeLockInputs in = right;
    in.timeLockFile = missing;
    TypeInputs(in);
    SetText(IDC_BITS, "0x1d00ffff");
    testing::internal::CaptureStdout();
    Press(IDC_OPEN_TIMELOCK, {kOk});
    // Then the request's own message.
    TypeInputs(in);
    Press(IDC_OPEN_TIMELOCK, {kOk});
    // A wrong nonce: the program leaves the Merkle root as it was.
    in = right;
    in.nonce += 1;
    TypeInputs(in);
    Press(IDC_OPEN_TIMELOCK, {kOk});
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    // Opened: the text in the result dialog, then one timing line once it has closed; empty
    // number fields give the values their members still hold.
    TypeInputs(right);
    for (bool blank : {false, true}) {
        if (blank) SetText(IDC_NONCE, "");
        if (blank) SetText(IDC_BLOCK_VERSION, "");
        testing::internal::CaptureStdout();
        Press(IDC_OPEN_TIMELOCK, {kOk});
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(IsTimingLine(out)) << out;
    }
    const std::string opened = std::string("Decrypted Data: ") + realistic::kPlainText;
    EXPECT_EQ(m_seen, (std::vector<std::string>{"Invalid bits: 0x1d00ffff",
                                                "File does not exist: " + missing, "Failure",
                                                opened, opened}));
}

// The field holds the path as Windows-1252, the disk holds the name as UTF-8: picked, opened,
// and its snapshots saved and loaded in a folder named like it.
TEST_F(OpenHandler, AFileNamedWithWesternLettersOpensAndKeepsItsSnapshots) {
    OpenDialog();
    const std::vector<uint8_t> lock = realistic::RealisticTimeLock(realistic::SampleInputs(""));
    WriteFile(m_dir / "café.tlk", std::string(lock.begin(), lock.end()));
    const OpenTimeLockInputs in = realistic::SampleInputs(At("@/caf\xE9.tlk"));
    TypeInputs(in);
    SetText(IDC_TIMELOCK_FILE, "");
    Press(IDC_BROWSE_TIMELOCK, {Pick("@/café.tlk")});
    EXPECT_EQ(Text(IDC_TIMELOCK_FILE), in.timeLockFile);

    testing::internal::CaptureStdout();
    Press(IDC_OPEN_TIMELOCK, {kOk});
    testing::internal::GetCapturedStdout();
    Press(IDC_SAVE_SETTINGS);
    const std::string snapshot = "@/café/" + std::to_string(in.blockNumber) + ".ini";
    EXPECT_EQ(ReadFile(At(snapshot)), ReadFile(m_settings));
    SetText(IDC_PASSWORD, "changed");
    Press(IDC_LOAD_SETTINGS, {Pick(snapshot)});
    EXPECT_EQ(Text(IDC_PASSWORD), in.password);
    ASSERT_EQ(m_seen.size(), 3u);
    EXPECT_EQ(m_seen[1], std::string("Decrypted Data: ") + realistic::kPlainText);
    EXPECT_EQ(m_seen[2], "Select a settings file... in " + At("@/café listing Settings (*.ini)"));
}

// Only a regular file is read: a pipe, a socket or a device is refused at once, before the
// password stretch, and never waited on.
TEST_F(OpenHandler, APipeASocketOrADeviceCannotBeRead) {
    OpenDialog();
    const std::string pipe = At("@/pipe.tlk"), socketFile = At("@/socket.tlk");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const int listening = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketFile.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(bind(listening, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    const HangWatchdog watchdog(60);
    std::vector<std::string> expected;
    for (const std::string& path : {pipe, socketFile, std::string("/dev/zero")}) {
        TypeInputs(realistic::SampleInputs(path));
        Press(IDC_OPEN_TIMELOCK, {kOk});
        expected.push_back("Can't read file: " + path);
    }
    EXPECT_EQ(m_seen, expected);
    close(listening);
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
            ReportNextBox();
            Press(IDC_OPEN_TIMELOCK);
            std::fprintf(stderr, "still running\n");
            std::exit(0);
        },
        testing::ExitedWithCode(2), "box: Failure\n$");
}

}  // namespace
