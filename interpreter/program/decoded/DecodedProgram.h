#pragma once
// The statements of one run decoded once, kept per key stream: a routine under another key
// reads other bits and gets statements of its own. A run and the routines it calls share one
// DecodedProgram; it lives as long as that run.
//
// Memory is bounded: all key streams together take at most a fixed multiple of the program's
// size (with a floor for small programs), their position tables and marks included. Past the
// bound no statement is decoded or entered any more, and the run reads the statements that
// have no decoded form bit by bit, as the step-by-step reference does, at the cost of one bit
// test each.
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "interpreter/program/decoded/DecodedStatement.h"
#include "interpreter/program/decoded/PositionTable.h"
#include "interpreter/program/decoded/StableStore.h"

class ProgramContext;
struct Decoding;

inline constexpr uint64_t kDecodedBytesPerProgramByte = 8;
inline constexpr uint64_t kDecodedBytesFloor = uint64_t{1} << 20;

class DecodedProgram;

// The decoded statements of one key stream, by bit position.
class DecodedStatements {
 public:
  // Statements of a program of bitLength bits; decodes nothing when the bound has no room for
  // its marks of the program's bytes.
  DecodedStatements(DecodedProgram& owner, uint64_t bitLength);
  DecodedStatements(const DecodedStatements&) = delete;
  DecodedStatements& operator=(const DecodedStatements&) = delete;

  // The statement at pos as reader's bits give it, decoded when it is reached for the second
  // time (or the first, as the owner says): a statement that runs once is read bit by bit,
  // which costs less than decoding it. Null before that, when its fields do not decode
  // completely (it fails where the step-by-step reading fails), or when the memory bound
  // leaves no room. Once the bound is reached, a position where no statement was decoded
  // costs one bit test.
  DecodedStatement* At(const ProgramContext& reader, uint64_t pos);

  size_t size() const { return statements_.size(); }

 private:
  // Each reads exactly the fields that the step-by-step statement reads, in its order.
  static bool Decode(const ProgramContext& reader, uint64_t pos, Decoding& d);
  static bool DecodeAssignment(const ProgramContext& reader, uint64_t& pos, Decoding& d);
  static bool DecodeOperand(const ProgramContext& reader, uint64_t& pos, Decoding& d,
                            size_t place);
  static bool DecodeArguments(const ProgramContext& reader, uint64_t& pos, Decoding& d);
  static bool DecodeJump(const ProgramContext& reader, uint64_t& pos, uint64_t& target);

  // The statement entered at pos, or decoded and entered there now.
  DecodedStatement* FindOrDecode(const ProgramContext& reader, uint64_t pos);
  DecodedStatement* DecodeAndKeep(const ProgramContext& reader, uint64_t pos);

  DecodedProgram& owner_;
  // One bit for each byte of the program: a statement starting in it was reached (seen_), the
  // position table holds one starting in it (entered_). Positions in bytes without an entry
  // are never looked up.
  uint64_t programBytes_ = 0;  // 0: nothing is decoded
  std::vector<uint64_t> seen_;
  std::vector<uint64_t> entered_;
  PositionTable positions_;
  StableStore<DecodedStatement> statements_;
  StableStore<StatementParts> parts_;
  StableStore<MoreStatementParts> moreParts_;
  StableStore<StatementExtras> extras_;
};

class DecodedProgram {
 public:
  // bound: bytes that the decoded forms of all key streams may take together. A statement is
  // decoded when it is reached for the decodeAtVisit-th time (1: at once; at most 2).
  explicit DecodedProgram(uint64_t bound, uint32_t decodeAtVisit = 2)
      : bound_(bound), decodeAtVisit_(decodeAtVisit) {}
  static uint64_t BoundFor(uint64_t programBytes);

  // The statements of keyStream (null: the program read as it stands) in a program of
  // bitLength bits; every run that shares this DecodedProgram runs the same program.
  DecodedStatements& ForKeyStream(const std::vector<uint8_t>* keyStream, uint64_t bitLength);

  // Takes bytes from the bound; false, taking nothing, when they do not fit. After the first
  // refusal the bound counts as reached: nothing more is decoded.
  bool Reserve(uint64_t bytes);
  bool Reached() const { return reached_; }
  uint64_t BytesUsed() const { return used_; }
  uint64_t Bound() const { return bound_; }
  uint32_t DecodeAtVisit() const { return decodeAtVisit_; }

 private:
  uint64_t bound_;
  uint32_t decodeAtVisit_;
  uint64_t used_ = 0;
  bool reached_ = false;
  std::unordered_map<const std::vector<uint8_t>*, std::unique_ptr<DecodedStatements>> byKey_;
};

// Inline, so that a run reading bit by bit pays no call for a position that has nothing to
// decode.
inline DecodedStatement* DecodedStatements::At(const ProgramContext& reader, uint64_t pos) {
  const uint64_t byte = pos / 8;
  if (byte >= programBytes_) return nullptr;
  const uint64_t bit = uint64_t{1} << (byte % 64);
  if ((entered_[byte / 64] & bit) == 0) {
    if (owner_.Reached()) return nullptr;
    uint64_t& seen = seen_[byte / 64];
    if ((seen & bit) == 0 && owner_.DecodeAtVisit() > 1) {
      seen |= bit;
      return nullptr;
    }
  }
  return FindOrDecode(reader, pos);
}
