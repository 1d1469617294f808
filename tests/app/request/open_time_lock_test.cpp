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

namespace {

using namespace testprog;
namespace fs = std::filesystem;

constexpr char kPassword[] = "correct horse battery staple";
constexpr char kPlainText[] = "The treasure lies under the old oak, three steps north.";
constexpr uint64_t kWorkHashes = 5000;

// Variable ids of the program: the seven header fields first, as the request passes them.
enum : uint64_t {
  kBlockNumber = 1, kBlockVersion, kPrevHash, kMerkleRoot, kTimeStamp, kBits, kNonce,
  kHeader = 10, kFour = 20, kZero, kOne, kEight, kSeed = 30, kWork, kUnit, kSeedBytes = 40,
  kCheck, kCipher = 50, kCipherHex,
};

OpenTimeLockInputs SampleInputs(const std::string& file) {
  OpenTimeLockInputs in;
  in.password = kPassword;
  in.blockNumber = 125552;
  in.blockVersion = 1;
  in.prevBlockHash = "00000000000008a3a41b85b8b29ad444def299fee21793cd8b9e567eab02cd81";
  in.merkleRoot = "2b12fcf1b09288fcaff797d71e950e71ae42b91e8bdb2304758dfcffc2b620e3";
  in.timeStamp = 1305998791;
  in.bits = 440711666;
  in.nonce = 2504433986;
  in.timeLockFile = file;
  return in;
}

void AppendHexReversed(std::vector<uint8_t>& bytes, const std::string& hex) {
  for (size_t i = hex.size(); i >= 2; i -= 2) {
    bytes.push_back(static_cast<uint8_t>(std::stoul(hex.substr(i - 2, 2), nullptr, 16)));
  }
}

void AppendLE32(std::vector<uint8_t>& bytes, uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// The 80-byte block header and the work chain over it, computed here independently of the
// natives that the program uses for the same.
uint64_t SeedFromHeader(const OpenTimeLockInputs& in) {
  std::vector<uint8_t> header;
  AppendLE32(header, in.blockVersion);
  AppendHexReversed(header, in.prevBlockHash);
  AppendHexReversed(header, in.merkleRoot);
  AppendLE32(header, in.timeStamp);
  AppendLE32(header, in.bits);
  AppendLE32(header, in.nonce);
  uint8_t h[16];
  MurmurHash3_x64_128(header.data(), static_cast<int32_t>(header.size()),
                      static_cast<uint32_t>(kWorkHashes), h);
  for (uint64_t i = 1; i < kWorkHashes; ++i) {
    uint8_t next[16];
    MurmurHash3_x64_128(h, 16, static_cast<uint32_t>(i), next);
    std::copy(next, next + 16, h);
  }
  return LoadLE64(h);
}

uint64_t CheckOfSeed(uint64_t seed) {
  uint8_t bytes[8];
  StoreLE64(bytes, seed);
  uint8_t h[16];
  MurmurHash3_x64_128(bytes, 8, 1, h);
  return LoadLE64(h);
}

std::vector<uint8_t> LockText(uint64_t seed, const std::string& text) {
  Value seedValue, textValue, bytesValue;
  seedValue.AssignUInt64Array(1, nullptr);
  seedValue.SetUInt64(0, seed);
  textValue.AssignStringArray(1, nullptr);
  textValue.SetString(0, text.c_str());
  NativeArgs args(NativeArgs::KeepIdOrder);
  args.Add(&seedValue);
  args.Add(&textValue);
  args.Add(&bytesValue);
  EXPECT_TRUE(TimeLockTextToBytes(&args));
  return bytesValue.GetBytes(0);
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string hex;
  for (uint8_t b : bytes) {
    hex += digits[b >> 4];
    hex += digits[b & 15];
  }
  return hex;
}

ProgramKey KeyOf(const std::string& password) {
  return StretchPassword(reinterpret_cast<const uint8_t*>(password.data()), password.size());
}

// A program in the shape of a real TimeLock file: it builds the block header from its seven
// arguments, spends work on a hash chain over it, checks the chain's end against the value
// the file was made for, and only then opens the embedded bytes into argument 3.
std::vector<uint8_t> RealisticTimeLock(const OpenTimeLockInputs& in) {
  const uint64_t seed = SeedFromHeader(in);
  ProgramWriter w;
  Label end = w.NewLabel();
  w.OpenScope()
      .Declare(kKindUInt64, kBlockNumber).Declare(kKindUInt64, kBlockVersion)
      .Declare(kKindString, kPrevHash).Declare(kKindString, kMerkleRoot)
      .Declare(kKindUInt64, kTimeStamp).Declare(kKindUInt64, kBits).Declare(kKindUInt64, kNonce)
      .Declare(kKindBarray, kHeader)
      .Declare(kKindInt, kFour).Assign(Target(kFour), MathOp::Assign, Imm::Int(4))
      .Declare(kKindInt, kZero)
      .Declare(kKindInt, kOne).Assign(Target(kOne), MathOp::Assign, Imm::Int(1))
      .Declare(kKindInt, kEight).Assign(Target(kEight), MathOp::Assign, Imm::Int(8))
      .CallNative(kNativeAppendIntegerBytes, {kHeader, kBlockVersion, kFour, kZero})
      .CallNative(kNativeAppendHexBytes, {kHeader, kPrevHash, kOne})
      .CallNative(kNativeAppendHexBytes, {kHeader, kMerkleRoot, kOne})
      .CallNative(kNativeAppendIntegerBytes, {kHeader, kTimeStamp, kFour, kZero})
      .CallNative(kNativeAppendIntegerBytes, {kHeader, kBits, kFour, kZero})
      .CallNative(kNativeAppendIntegerBytes, {kHeader, kNonce, kFour, kZero})
      .Declare(kKindUInt64, kSeed)
      .Declare(kKindUInt64, kWork).Assign(Target(kWork), MathOp::Assign, Imm::UInt64(kWorkHashes))
      .CallNative(kNativeHashBytes, {kSeed, kHeader, kWork})
      .Declare(kKindBarray, kSeedBytes)
      .CallNative(kNativeAppendIntegerBytes, {kSeedBytes, kSeed, kEight, kZero})
      .Declare(kKindUInt64, kUnit).Assign(Target(kUnit), MathOp::Assign, Imm::UInt64(1))
      .Declare(kKindUInt64, kCheck)
      .CallNative(kNativeHashBytes, {kCheck, kSeedBytes, kUnit})
      .JumpUnless(Relation::Equal, Opnd::Var(kCheck), Imm::UInt64(CheckOfSeed(seed)), end)
      .Declare(kKindBarray, kCipher)
      .Declare(kKindString, kCipherHex)
      .Assign(Target(kCipherHex), MathOp::Assign, Imm::String(Hex(LockText(seed, kPlainText))))
      .CallNative(kNativeAppendHexBytes, {kCipher, kCipherHex, kZero})
      .CallNative(kNativeTimeLockBytesToText, {kSeed, kCipher, kMerkleRoot})
      .Bind(end)
      .CloseScope();
  return w.Finish(KeyOf(kPassword));
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
