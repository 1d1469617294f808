#include "app/request/OpenTimeLock.h"

#include <memory>
#include <vector>

#include "app/request/FileTimeClock.h"
#include "app/request/RequestMessages.h"
#include "app/request/ResultTest.h"
#include "app/request/TimeLockFile.h"
#include "interpreter/keys/KeyStream.h"
#include "interpreter/natives/Natives.h"
#include "interpreter/program/ProgramContext.h"
#include "interpreter/values/Value.h"

namespace {

constexpr size_t kArgumentCount = 7;
constexpr size_t kMerkleRootArgument = 3;

OpenTimeLockOutcome MessageOutcome(std::string text) {
  return {OpenTimeLockOutcome::Kind::Message, std::move(text), 0};
}

void MakeNumberArgument(Value& arg, uint32_t number) {
  arg.AssignUInt64Array(1, nullptr);
  arg.SetUInt64(0, number);
}

void MakeTextArgument(Value& arg, const std::string& text) {
  arg.AssignStringArray(1, nullptr);
  arg.SetString(0, text.c_str());
}

// Block number, block version, previous block hash, Merkle root, time stamp, bits, nonce.
void MakeArguments(const OpenTimeLockInputs& in, std::vector<Value>& args) {
  MakeNumberArgument(args[0], in.blockNumber);
  MakeNumberArgument(args[1], in.blockVersion);
  MakeTextArgument(args[2], in.prevBlockHash);
  MakeTextArgument(args[kMerkleRootArgument], in.merkleRoot);
  MakeNumberArgument(args[4], in.timeStamp);
  MakeNumberArgument(args[5], in.bits);
  MakeNumberArgument(args[6], in.nonce);
}

}  // namespace

OpenTimeLockOutcome OpenTimeLock(const OpenTimeLockInputs& inputs) {
  if (inputs.password.empty()) return MessageOutcome(kMsgNoPassword);

  std::vector<Value> args(kArgumentCount);
  MakeArguments(inputs, args);
  // The text is kept apart from argument 3, which the program may replace.
  const std::string typedMerkleRoot = inputs.merkleRoot;

  std::vector<uint8_t> programBytes;
  switch (ReadTimeLockFile(inputs.timeLockFile, programBytes)) {
    case TimeLockFileStatus::Read: break;
    case TimeLockFileStatus::Missing:
      return MessageOutcome(FormatPathMessage(kMsgFileMissing, inputs.timeLockFile));
    case TimeLockFileStatus::CantOpen:
      return MessageOutcome(FormatPathMessage(kMsgCantRead, inputs.timeLockFile));
    case TimeLockFileStatus::TooBig:
      return MessageOutcome(FormatPathMessage(kMsgTooBig, inputs.timeLockFile));
    case TimeLockFileStatus::ReadProblem:
      return MessageOutcome(FormatPathMessage(kMsgReadProblem, inputs.timeLockFile));
  }

  const std::array<uint8_t, 16> key = StretchPassword(
      reinterpret_cast<const uint8_t*>(inputs.password.data()), inputs.password.size());
  const uint64_t bitLength = static_cast<uint64_t>(programBytes.size()) * 8;

  ProgramContext context;
  context.Init(&programBytes, bitLength, key.data());
  RegisterStandardNatives();

  const uint64_t start = MillisecondsSince1601();
  // The stream of the second cache is the one the run reads; a key that the first cache
  // already holds is copied across, not derived again.
  context.keyStream = &GetCachedKeyStream(key.data())->stream;

  if (bitLength != 0) {
    std::vector<Value*> argPointers;
    for (Value& arg : args) argPointers.push_back(&arg);
    try {
      context.Run(argPointers, 0);
    } catch (...) {
      return {OpenTimeLockOutcome::Kind::RunAborted, {}, 0};
    }
  }

  const Value& result = args[kMerkleRootArgument];
  // A program that leaves argument 3 without a text has produced nothing to show.
  if (result.kind != kKindString || result.TextCount() == 0) {
    return {OpenTimeLockOutcome::Kind::NotOpened, {}, 0};
  }
  const std::string& resultText = result.GetText(0);
  if (SameTextIgnoringLetterCase(resultText, typedMerkleRoot)) {
    return {OpenTimeLockOutcome::Kind::NotOpened, {}, 0};
  }
  const uint64_t end = MillisecondsSince1601();
  return {OpenTimeLockOutcome::Kind::Opened, resultText.substr(0, resultText.find('\0')),
          end - start};
}
