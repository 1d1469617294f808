#pragma once
// The statements of one run decoded once, kept per key stream: a routine under another key
// reads other bits and gets statements of its own. A run and the routines it calls share one
// DecodedProgram; it lives as long as that run.
//
// Memory is bounded: all key streams together take at most a fixed multiple of the program's
// size (with a floor for small programs). Past the bound no statement is decoded any more and
// the run reads those statements bit by bit, as the step-by-step reference does.
#include <cstdint>
#include <deque>
#include <memory>
#include <unordered_map>
#include <vector>

#include "interpreter/program/decoded/DecodedStatement.h"
#include "interpreter/program/decoded/PositionTable.h"

class ProgramContext;
struct Decoding;

inline constexpr uint64_t kDecodedBytesPerProgramByte = 8;
inline constexpr uint64_t kDecodedBytesFloor = uint64_t{1} << 20;

class DecodedProgram;

// The decoded statements of one key stream, by bit position.
class DecodedStatements {
 public:
  explicit DecodedStatements(DecodedProgram& owner) : owner_(owner) {}
  DecodedStatements(const DecodedStatements&) = delete;
  DecodedStatements& operator=(const DecodedStatements&) = delete;

  // The statement at pos as reader's bits give it, decoded when it is reached for the
  // owner's DecodeAtVisit()-th time: a statement that runs once is read bit by bit, which
  // costs less than decoding it. Null before that, when its fields do not decode completely
  // (it fails where the step-by-step reading fails), or when the memory bound leaves no room.
  DecodedStatement* At(const ProgramContext& reader, uint64_t pos);

 private:
  // Each reads exactly the fields that the step-by-step statement reads, in its order.
  static bool Decode(const ProgramContext& reader, uint64_t pos, Decoding& d);
  static bool DecodeAssignment(const ProgramContext& reader, uint64_t& pos, Decoding& d);
  static bool DecodeOperand(const ProgramContext& reader, uint64_t& pos, Decoding& d,
                            size_t place);
  static bool DecodeArguments(const ProgramContext& reader, uint64_t& pos, Decoding& d);
  static bool DecodeJump(const ProgramContext& reader, uint64_t& pos, uint64_t& target);

  DecodedProgram& owner_;
  PositionTable positions_;
  // Deques keep every element in place as more are added: running statements point into them.
  std::deque<DecodedStatement> statements_;
  std::deque<StatementParts> parts_;
  std::deque<StatementExtras> extras_;
};

class DecodedProgram {
 public:
  // bound: bytes that the decoded forms of all key streams may take together. A statement is
  // decoded when it is reached for the decodeAtVisit-th time (1: at once).
  explicit DecodedProgram(uint64_t bound, uint32_t decodeAtVisit = 2)
      : bound_(bound), decodeAtVisit_(decodeAtVisit) {}
  static uint64_t BoundFor(uint64_t programBytes);

  // The statements of keyStream (null: the program read as it stands).
  DecodedStatements& ForKeyStream(const std::vector<uint8_t>* keyStream);

  // Takes bytes from the bound; false, taking nothing, once they no longer fit.
  bool Reserve(uint64_t bytes);
  uint64_t BytesUsed() const { return used_; }
  uint64_t Bound() const { return bound_; }
  uint32_t DecodeAtVisit() const { return decodeAtVisit_; }

 private:
  uint64_t bound_;
  uint32_t decodeAtVisit_;
  uint64_t used_ = 0;
  std::unordered_map<const std::vector<uint8_t>*, std::unique_ptr<DecodedStatements>> byKey_;
};
