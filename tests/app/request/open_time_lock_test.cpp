// The Open TimeLock request end to end: TimeLock files written by the program writer, opened
// through OpenTimeLock with a password and the seven block-header fields.
#include "app/request/OpenTimeLock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "interpreter/keys/KeyStream.h"
#include "interpreter/keys/MurmurHash3.h"
#include "interpreter/natives/NativeArgs.h"
#include "interpreter/natives/Natives.h"
#include "interpreter/values/Value.h"
#include "programwriter/ProgramWriter.h"
#include "support/RealisticTimeLock.h"

namespace {

using namespace testprog;
namespace fs = std::filesystem;

using namespace realistic;
using namespace realistic::detail;  // the variable ids of the header fields

ProgramKey KeyOf(const std::string& password) {
  return StretchPassword(reinterpret_cast<const uint8_t*>(password.data()), password.size());
}

// Opens the outermost scope and declares the seven parameters. A nonce of another kind than
// its argument's makes the copy-out on closing fail at the last position, after the others.
ProgramWriter& TakeArguments(ProgramWriter& w, int32_t nonceKind = kKindUInt64) {
  return w.OpenScope()
      .Declare(kKindUInt64, kBlockNumber).Declare(kKindUInt64, kBlockVersion)
      .Declare(kKindString, kPrevHash).Declare(kKindString, kMerkleRoot)
      .Declare(kKindUInt64, kTimeStamp).Declare(kKindUInt64, kBits).Declare(nonceKind, kNonce);
}

class OpenTimeLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/tarnvault-open-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  // A file whose program sets argument 3 to text; with failAfterwards its run ends false
  // after argument 3 has been copied out.
  std::string WriteReplacing(const std::string& name, const std::string& text,
                             bool failAfterwards = false) {
    ProgramWriter w;
    TakeArguments(w, failAfterwards ? kKindInt : kKindUInt64)
        .Assign(Target(kMerkleRoot), MathOp::Assign, Imm::String(text))
        .CloseScope();
    return Write(name, w.Finish(KeyOf(kPassword)));
  }

  fs::path dir_;
};

TEST_F(OpenTimeLockTest, RealisticFileOpensOnlyWithItsPasswordAndHeader) {
  const OpenTimeLockInputs right = SampleInputs("");
  const std::string path = Write("lock.tlk", RealisticTimeLock(right));

  OpenTimeLockInputs in = SampleInputs(path);
  OpenTimeLockOutcome opened = OpenTimeLock(in);
  EXPECT_EQ(opened.kind, OpenTimeLockOutcome::Kind::Opened);
  EXPECT_EQ(opened.text, kPlainText);

  struct Change {
    const char* what;
    void (*apply)(OpenTimeLockInputs&);
  };
  const Change changes[] = {
      {"nonce", [](OpenTimeLockInputs& i) { i.nonce += 1; }},
      {"version", [](OpenTimeLockInputs& i) { i.blockVersion = 2; }},
      {"previous hash", [](OpenTimeLockInputs& i) { i.prevBlockHash[63] = '0'; }},
      {"Merkle root", [](OpenTimeLockInputs& i) { i.merkleRoot[0] = '3'; }},
      {"password", [](OpenTimeLockInputs& i) { i.password = "correct horse battery stapl"; }},
      {"password case", [](OpenTimeLockInputs& i) { i.password[0] = 'C'; }},
  };
  for (const Change& change : changes) {
    OpenTimeLockInputs wrong = SampleInputs(path);
    change.apply(wrong);
    EXPECT_EQ(OpenTimeLock(wrong).kind, OpenTimeLockOutcome::Kind::NotOpened) << change.what;
  }
}

TEST_F(OpenTimeLockTest, MessagesNamePathAndStopTheRequest) {
  const std::string missing = (dir_ / "missing.tlk").string();
  OpenTimeLockInputs noPassword = SampleInputs(missing);
  noPassword.password.clear();
  OpenTimeLockOutcome outcome = OpenTimeLock(noPassword);
  EXPECT_EQ(outcome.kind, OpenTimeLockOutcome::Kind::Message);
  EXPECT_EQ(outcome.text, "You must provide the correct password");

  outcome = OpenTimeLock(SampleInputs(missing));
  EXPECT_EQ(outcome.kind, OpenTimeLockOutcome::Kind::Message);
  EXPECT_EQ(outcome.text, "File does not exist: " + missing);

  // A folder exists but cannot be read as a file.
  outcome = OpenTimeLock(SampleInputs(dir_.string()));
  EXPECT_EQ(outcome.kind, OpenTimeLockOutcome::Kind::Message);
  EXPECT_EQ(outcome.text, "Can't read file: " + dir_.string());

  // A kernel file reports a size of a page but holds a few bytes: the read comes up short.
  const std::string shortRead = "/sys/devices/system/cpu/online";
  if (fs::exists(shortRead) && fs::file_size(shortRead) > 64) {
    outcome = OpenTimeLock(SampleInputs(shortRead));
    EXPECT_EQ(outcome.text, "Problem reading file: " + shortRead);
  }

  // A path with a per cent sign is put in as it is, not read as a format.
  const std::string oddName = (dir_ / "100%s%d.tlk").string();
  outcome = OpenTimeLock(SampleInputs(oddName));
  EXPECT_EQ(outcome.text, "File does not exist: " + oddName);
}

TEST_F(OpenTimeLockTest, SizeLimitIsSixteenMebibytesInclusive) {
  const ProgramKey key = KeyOf(kPassword);
  ProgramWriter w;
  TakeArguments(w).Assign(Target(kMerkleRoot), MathOp::Assign, Imm::String("at the limit"))
      .CloseScope();
  std::vector<uint8_t> program = w.Finish(key);
  program.resize(16777216, 0);  // the tail is never reached: the program ends before it
  const std::string atLimit = Write("limit.tlk", program);
  OpenTimeLockOutcome outcome = OpenTimeLock(SampleInputs(atLimit));
  EXPECT_EQ(outcome.kind, OpenTimeLockOutcome::Kind::Opened);
  EXPECT_EQ(outcome.text, "at the limit");

  program.push_back(0);
  const std::string overLimit = Write("over.tlk", program);
  outcome = OpenTimeLock(SampleInputs(overLimit));
  EXPECT_EQ(outcome.kind, OpenTimeLockOutcome::Kind::Message);
  EXPECT_EQ(outcome.text, "File is too big: " + overLimit);
}

TEST_F(OpenTimeLockTest, OutcomeIsDecidedByArgumentThreeAlone) {
  struct Case {
    const char* name;
    std::string text;
    bool failAfterwards;
    OpenTimeLockOutcome::Kind expected;
  };
  const std::string merkle = SampleInputs("").merkleRoot;
  std::string upper = merkle;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const Case cases[] = {
      {"replaced", "opened text", false, OpenTimeLockOutcome::Kind::Opened},
      {"replaced, then the run fails", "still opened", true, OpenTimeLockOutcome::Kind::Opened},
      {"same text", merkle, false, OpenTimeLockOutcome::Kind::NotOpened},
      {"letter case only", upper, false, OpenTimeLockOutcome::Kind::NotOpened},
      {"a longer text", merkle + "0", false, OpenTimeLockOutcome::Kind::Opened},
      {"empty", "", false, OpenTimeLockOutcome::Kind::Opened},
  };
  for (const Case& c : cases) {
    const std::string path = WriteReplacing(std::string(c.name) + ".tlk", c.text, c.failAfterwards);
    OpenTimeLockOutcome outcome = OpenTimeLock(SampleInputs(path));
    EXPECT_EQ(outcome.kind, c.expected) << c.name;
    if (c.expected == OpenTimeLockOutcome::Kind::Opened) {
      EXPECT_EQ(outcome.text, c.text) << c.name;
    }
  }

  // An empty file is not run at all.
  OpenTimeLockOutcome outcome = OpenTimeLock(SampleInputs(Write("empty.tlk", {})));
  EXPECT_EQ(outcome.kind, OpenTimeLockOutcome::Kind::NotOpened);
}

TEST_F(OpenTimeLockTest, ExceptionInTheRunAbortsTheRequest) {
  ProgramWriter w;
  TakeArguments(w)
      .Assign(Target(kMerkleRoot), MathOp::Assign, Imm::String("never shown"))
      .Declare(kKindBarray, kHeader)
      .Declare(kKindInt, kFour).Assign(Target(kFour), MathOp::Assign, Imm::Int(-1))
      .CallNative(kNativeNewByteArray, {kHeader, kFour})
      .CloseScope();
  OpenTimeLockOutcome outcome = OpenTimeLock(SampleInputs(Write("throws.tlk", w.Finish(KeyOf(kPassword)))));
  EXPECT_EQ(outcome.kind, OpenTimeLockOutcome::Kind::RunAborted);
  EXPECT_TRUE(outcome.text.empty());
}

TEST_F(OpenTimeLockTest, NativesStayAtTheirIndicesAcrossRequests) {
  // Native 16 lies outside the table on every request: the run fails before argument 3 changes.
  ProgramWriter w;
  TakeArguments(w)
      .CallNative(kNativeCount, {kMerkleRoot})
      .Assign(Target(kMerkleRoot), MathOp::Assign, Imm::String("unreachable"))
      .CloseScope();
  const std::string path = Write("native16.tlk", w.Finish(KeyOf(kPassword)));
  for (int request = 0; request < 2; ++request) {
    EXPECT_EQ(OpenTimeLock(SampleInputs(path)).kind, OpenTimeLockOutcome::Kind::NotOpened);
    EXPECT_EQ(g_nativeTable.size(), kNativeCount);
  }
}

TEST_F(OpenTimeLockTest, NewKeyIsDerivedOnceAndSecondRequestDerivesNothing) {
  // The file's bytes do not matter here; the password is new to the process.
  OpenTimeLockInputs in = SampleInputs(Write("once.tlk", std::vector<uint8_t>(64, 0x5A)));
  in.password = "a password that only this test uses";
  const uint64_t before = KeyStreamDerivationCount();
  const OpenTimeLockOutcome first = OpenTimeLock(in);
  EXPECT_EQ(KeyStreamDerivationCount() - before, 1u);
  const OpenTimeLockOutcome second = OpenTimeLock(in);
  EXPECT_EQ(KeyStreamDerivationCount() - before, 1u);
  EXPECT_EQ(first.kind, second.kind);
}

TEST(StretchPassword, MatchesThePlainDefinition) {
  const std::string password = "pw";
  uint8_t key[16];
  MurmurHash3_x86_128(password.data(), static_cast<int32_t>(password.size()), 0, key);
  uint32_t seed = 0;
  for (uint32_t pass = 0; pass < 16777215; ++pass) {
    seed = MurmurHash3_x86_32(key, 16, seed);
    uint8_t next[16];
    MurmurHash3_x86_128(key, 16, seed, next);
    std::copy(next, next + 16, key);
  }
  const std::array<uint8_t, 16> stretched =
      StretchPassword(reinterpret_cast<const uint8_t*>(password.data()), password.size());
  EXPECT_TRUE(std::equal(stretched.begin(), stretched.end(), key));
}

}  // namespace
