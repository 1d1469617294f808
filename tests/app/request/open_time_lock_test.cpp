// The Open TimeLock request end to end: TimeLock files written by the program writer, opened
// through OpenTimeLock with a password and the seven block-header fields.
#include "app/request/OpenTimeLock.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "interpreter/keys/MurmurHash3.h"
#include "interpreter/natives/Natives.h"
#include "programwriter/ProgramWriter.h"
#include "support/RealisticTimeLock.h"

namespace {

using namespace testprog;
using namespace realistic;
using namespace realistic::detail;  // the variable ids of the header fields
namespace fs = std::filesystem;
using Kind = OpenTimeLockOutcome::Kind;
using Body = std::function<void(ProgramWriter&)>;

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

  // A program under the sample password that declares the seven parameters, runs body and
  // closes, its bytes padded with zeros to padTo. A nonce of another kind than its argument's
  // makes the copy-out on closing fail at the last position, after the others.
  std::string WriteProgram(const std::string& name, const Body& body, int32_t nonceKind, size_t padTo) {
    ProgramWriter w;
    w.OpenScope()
        .Declare(kKindUInt64, kBlockNumber).Declare(kKindUInt64, kBlockVersion)
        .Declare(kKindString, kPrevHash).Declare(kKindString, kMerkleRoot)
        .Declare(kKindUInt64, kTimeStamp).Declare(kKindUInt64, kBits).Declare(nonceKind, kNonce);
    body(w);
    const std::string password = kPassword;
    std::vector<uint8_t> bytes = w.CloseScope().Finish(
        StretchPassword(reinterpret_cast<const uint8_t*>(password.data()), password.size()));
    bytes.resize(std::max(bytes.size(), padTo));  // the tail is never reached
    return Write(name, bytes);
  }

  fs::path dir_;
};

TEST_F(OpenTimeLockTest, RealisticFileOpensOnlyWithItsPasswordAndHeader) {
  const std::string path = Write("lock.tlk", RealisticTimeLock(SampleInputs("")));
  OpenTimeLockOutcome opened = OpenTimeLock(SampleInputs(path));
  EXPECT_EQ(opened.kind, Kind::Opened);
  EXPECT_EQ(opened.text, kPlainText);
  const std::pair<const char*, void (*)(OpenTimeLockInputs&)> changes[] = {
      {"version", [](OpenTimeLockInputs& i) { i.blockVersion = 2; }},
      {"previous hash", [](OpenTimeLockInputs& i) { i.prevBlockHash[63] = '0'; }},
      {"Merkle root", [](OpenTimeLockInputs& i) { i.merkleRoot[0] = '3'; }},
      {"password", [](OpenTimeLockInputs& i) { i.password = "correct horse battery stapl"; }},
      {"password case", [](OpenTimeLockInputs& i) { i.password[0] = 'C'; }},
  };
  for (const auto& [what, change] : changes) {
    OpenTimeLockInputs wrong = SampleInputs(path);
    change(wrong);
    EXPECT_EQ(OpenTimeLock(wrong).kind, Kind::NotOpened) << what;
  }
}

TEST_F(OpenTimeLockTest, MessagesNamePathAndStopTheRequest) {
  const std::string missing = (dir_ / "missing.tlk").string();
  OpenTimeLockInputs noPassword = SampleInputs(missing);
  noPassword.password.clear();
  EXPECT_EQ(OpenTimeLock(noPassword).text, "You must provide the correct password");
  // A kernel file reports a size of a page but holds a few bytes: the read comes up short.
  const std::string shortRead = "/sys/devices/system/cpu/online";
  const std::pair<std::string, std::string> cases[] = {
      {missing, "File does not exist: "},
      {(dir_ / "100%s%d.tlk").string(), "File does not exist: "},  // not read as a format
      {dir_.string(), "Can't read file: "},  // exists, but cannot be read as a file
      {shortRead, "Problem reading file: "},
  };
  for (const auto& [path, message] : cases) {
    if (path == shortRead && !(fs::exists(path) && fs::file_size(path) > 64)) continue;
    const OpenTimeLockOutcome outcome = OpenTimeLock(SampleInputs(path));
    EXPECT_EQ(outcome.kind, Kind::Message) << path;
    EXPECT_EQ(outcome.text, message + path);
  }
}

// The outcome follows argument 3 alone (a run that fails after setting it still opens), within
// the 16 MiB size limit; an exception aborts the request. For a message the text is followed by
// the path.
TEST_F(OpenTimeLockTest, OutcomeIsDecidedByArgumentThreeAloneWithinTheSizeLimit) {
  const std::string merkle = SampleInputs("").merkleRoot;
  std::string upper = merkle;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const auto set = [](const std::string& text) -> Body {
    return [=](ProgramWriter& w) { w.Assign(Target(kMerkleRoot), MathOp::Assign, Imm::String(text)); };
  };
  const Body throws = [](ProgramWriter& w) {
    w.Assign(Target(kMerkleRoot), MathOp::Assign, Imm::String("never shown"))
        .Declare(kKindBarray, kHeader)
        .Declare(kKindInt, kFour).Assign(Target(kFour), MathOp::Assign, Imm::Int(-1))
        .CallNative(kNativeNewByteArray, {kHeader, kFour});
  };
  const Body native16 = [](ProgramWriter& w) {  // outside the table: fails before the change
    w.CallNative(kNativeCount, {kMerkleRoot});
    w.Assign(Target(kMerkleRoot), MathOp::Assign, Imm::String("x"));
  };
  const size_t limit = 16777216;
  const struct { Body body; int32_t nonceKind; size_t padTo; Kind kind; std::string text; } cases[] = {
      {set("opened text"), kKindUInt64, 0, Kind::Opened, "opened text"},
      {set("still opened"), kKindInt, 0, Kind::Opened, "still opened"},
      {set(merkle), kKindUInt64, 0, Kind::NotOpened, ""},
      {set(upper), kKindUInt64, 0, Kind::NotOpened, ""},
      {set(merkle + "0"), kKindUInt64, 0, Kind::Opened, merkle + "0"},
      {set(""), kKindUInt64, 0, Kind::Opened, ""},
      {set("at the limit"), kKindUInt64, limit, Kind::Opened, "at the limit"},
      {set("over"), kKindUInt64, limit + 1, Kind::Message, "File is too big: "},
      {throws, kKindUInt64, 0, Kind::RunAborted, ""},
      {native16, kKindUInt64, 0, Kind::NotOpened, ""},
      {native16, kKindUInt64, 0, Kind::NotOpened, ""},  // in the next request too
      {nullptr, kKindUInt64, 0, Kind::NotOpened, ""},   // an empty file is not run at all
  };
  for (const auto& c : cases) {
    const std::string name = std::to_string(&c - cases) + ".tlk";
    const std::string path = c.body ? WriteProgram(name, c.body, c.nonceKind, c.padTo) : Write(name, {});
    const OpenTimeLockOutcome outcome = OpenTimeLock(SampleInputs(path));
    EXPECT_EQ(outcome.kind, c.kind) << name;
    if (c.kind != Kind::NotOpened) {
      EXPECT_EQ(outcome.text, c.kind == Kind::Message ? c.text + path : c.text) << name;
    }
  }
  EXPECT_EQ(g_nativeTable.size(), kNativeCount);  // registered once, whatever the requests
}

TEST(StretchPassword, MatchesThePlainDefinition) {
  uint8_t key[16], next[16];
  MurmurHash3_x86_128("pw", 2, 0, key);
  for (uint32_t pass = 0, seed = 0; pass < 16777215; ++pass) {
    seed = MurmurHash3_x86_32(key, 16, seed);
    MurmurHash3_x86_128(key, 16, seed, next);
    std::copy(next, next + 16, key);
  }
  const std::array<uint8_t, 16> stretched = StretchPassword(reinterpret_cast<const uint8_t*>("pw"), 2);
  EXPECT_TRUE(std::equal(stretched.begin(), stretched.end(), key));
}

}  // namespace
