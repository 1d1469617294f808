#pragma once
// One run of a program: the program bytes, their length in bits, the key stream that
// deciphers them, and the stack of variable scopes that the statements open, fill and close.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "interpreter/keys/KeyStream.h"
#include "interpreter/natives/NativeArgs.h"
#include "interpreter/program/ProgramBits.h"
#include "interpreter/program/decoded/DecodedStatement.h"
#include "interpreter/values/Value.h"

struct StatementOperand;
class DecodedProgram;
class DecodedStatements;

// A newly opened scope has this many slots; a full scope grows to (slots div 2) times 3.
inline constexpr size_t kInitialScopeSlots = 100;

// Deepest routine nesting; a call beyond it counts as a routine that failed, so no program
// can exhaust the stack.
inline constexpr uint32_t kMaxRoutineDepth = 256;

class ProgramContext {
 public:
  ProgramContext() = default;
  ProgramContext(const ProgramContext&) = delete;
  ProgramContext& operator=(const ProgramContext&) = delete;
  ~ProgramContext();

  // Binds the program (owned by the caller) and the key stream of key, found in or added to
  // the context key-stream cache. Always true.
  bool Init(const std::vector<uint8_t>* programBytes, uint64_t programBitLength,
            const uint8_t key[16]);

  // Runs from startBit with the caller's Values as the outermost scope's parameters. True
  // when the program ended normally, false when a statement failed. Each statement is decoded
  // once into decodedProgram (or into one made for this run when it is null) and run from its
  // decoded form after that; stepByStep reads every statement bit by bit instead.
  bool Run(const std::vector<Value*>& callerValues, uint64_t startBit);

  // Reads an n-bit field (1 to 64) at pos and advances pos; false when it would pass the end.
  bool ReadBits(uint64_t& pos, uint32_t n, uint64_t& value) const {
    return program_bits::ReadField(program, bitLength, keyStream, pos, n, value);
  }
  // A 3-bit width code, then a field of that width (8 to 63 bits).
  bool ReadVarWidth(uint64_t& pos, uint64_t& value) const;
  // An element index: a bit that says whether the number is the index itself or an index
  // variable's id, a skip bit, then the number at its width.
  bool ReadElementIndex(uint64_t& pos, bool& immediate, uint64_t& number) const;

  // Reads a declaration at pos and adds the variable to the innermost scope.
  bool DeclareVariable(uint64_t& pos);
  // The variable with this id in the open scopes, innermost first; null when none holds it.
  Value* FindValue(uint64_t id);
  // Reads the rest of an assignment to target at pos and applies it.
  bool ExecuteAssignment(Value& target, uint64_t& pos);
  // Reads one operand of an assignment or a conditional jump; an immediate or an element
  // copy is written into scratch, which the caller keeps for the statement.
  bool ReadOperand(uint64_t& pos, StatementOperand& operand, Value& scratch);

  size_t ScopeDepth() const { return scopeCounts.size(); }

  const std::vector<uint8_t>* program = nullptr;
  uint64_t bitLength = 0;
  // 65,536 bytes owned by a key-stream cache; null reads the bytes as they stand. The caller
  // may point it at another copy of the same stream after Init.
  const std::vector<uint8_t>* keyStream = nullptr;
  std::vector<std::vector<Value>> scopeValues;   // slots of each open scope, outermost first
  std::vector<std::vector<int32_t>> scopeIndex;  // slot positions by ascending id
  std::vector<int32_t> scopeCounts;              // declared variables of each scope
  uint32_t callDepth = 0;  // 0 for a program's own run, n for a routine nested n deep
  // The reference reading: every statement read field by field from the bits each time it
  // runs. Routines run the way their caller runs.
  bool stepByStep = false;
  // Statements decoded by the run that called this routine, shared with it; null for a run of
  // its own, which decodes into a DecodedProgram that lasts as long as the run.
  DecodedProgram* decodedProgram = nullptr;

 private:
  enum class StepEnd { Next, RunEnds, RunFails };

  Value operandScratch_[2];  // temporaries of operands A and B; always id 0, count 1

  // Calls keep what they need from one call to the next, so that a call allocates nothing
  // once it has run: its argument pointers, the native's list, the routine's context (which
  // keeps its own for the routines it calls), and the storage of the routine's parameters.
  // Each holds pointers only while its call runs.
  std::vector<Value*> callArguments_;
  NativeArgs nativeArgs_{NativeArgs::OwnsValues | NativeArgs::KeepIdOrder};
  std::unique_ptr<ProgramContext> routine_;
  // The slots and index of a scope this context closed, for the next one it opens.
  std::vector<Value> spareSlots_;
  std::vector<int32_t> spareIndex_;
  // Numeric storage of the outermost scope's parameters when it closed, for the next run's
  // parameters of the same kind and count.
  std::vector<Value> parameterStorage_;
  // What this context was last bound to as a routine, within one program run (runs are
  // numbered): a routine called again under the same key skips the key-stream lookup, and its
  // decoded statements are found without a search. No cache entry goes while a program runs.
  struct Binding {
    uint64_t programRun = 0;  // 0: bound to nothing
    ProgramKey key{};
    const std::vector<uint8_t>* keyStream = nullptr;
    DecodedProgram* decoded = nullptr;
    DecodedStatements* statements = nullptr;
    uint64_t startBit = 0;
    DecodedStatement* first = nullptr;  // the statement at startBit once it is decoded
  } binding_;

  void BindRoutine(const std::vector<uint8_t>* programBytes, uint64_t programBitLength,
                   const ProgramKey& key);
  DecodedStatements& StatementsOfRun();
  DecodedStatement* FirstStatementOfRun(DecodedStatements& statements, uint64_t startBit);
  // A program's own run begins (not a routine's): bindings of earlier runs no longer hold.
  static void BeginProgramRun();
  // Changes whenever the scopes change (a declaration, a scope opened or closed), so that a
  // decoded variable reference knows when to look its variable up again.
  uint64_t scopeEpoch_ = 0;

  void NewScopeEpoch();
  bool RunStepByStep(const std::vector<Value*>& callerValues, uint64_t pos);
  // One statement read field by field at pos and carried out, with the loop's end tests.
  StepEnd Step(const std::vector<Value*>& callerValues, uint64_t& pos);
  // Statements read bit by bit from pos until one has a decoded form, s (Next), or the run
  // ends. Beside the step-by-step run, so that the two read statements alike.
  StepEnd StepToDecoded(DecodedStatements& statements, const std::vector<Value*>& callerValues,
                        uint64_t& pos, DecodedStatement*& s);
  bool RunDecoded(const std::vector<Value*>& callerValues, uint64_t pos);
  DecodedStatement* Following(DecodedStatements& statements, DecodedStatement& s, bool jumped,
                              uint64_t& pos);

  // The declaration's scope work and binding, once its fields are read.
  bool AddVariable(uint64_t kind, uint64_t id, uint64_t count);
  bool BindParameter(const std::vector<Value*>& callerValues);
  // Closing a scope once flag F and its offset are read: the outermost copies out.
  bool CloseScopeAfterFields(const std::vector<Value*>& callerValues);
  void CloseCountedScopes(uint64_t count);

  // The decoded statements, one per opcode, each named after its statement.
  Value* Resolve(VariableRef& ref) {
    if (ref.epoch != scopeEpoch_) {
      ref.value = FindValue(ref.id);
      ref.epoch = scopeEpoch_;
    }
    return ref.value;
  }
  // The variables and index variables of s as the open scopes hold them now, looked up again
  // only when the scopes changed since s last ran here.
  void Resolve(DecodedStatement& s) {
    if (s.epoch != scopeEpoch_) [[unlikely]] LookUpVariables(s);
  }
  void LookUpVariables(DecodedStatement& s);
  // The variable that an element operand of s names (place 0: a conditional jump's A; 1: the
  // operand), and the element; null where the statement fails.
  const Value* ElementOperand(DecodedStatement& s, size_t place, uint32_t& element);
  const Value* OperandValue(DecodedStatement& s, size_t place, Value& scratch);
  bool Assignment(DecodedStatement& s);
  bool NumberStatement(DecodedStatement& s, bool& jumped);
  bool Declaration(const std::vector<Value*>& callerValues, const DecodedStatement& s);
  bool ConditionalJump(DecodedStatement& s, bool& holds);
  bool RoutineCall(DecodedStatement& s);
  bool NativeCall(DecodedStatement& s);
  bool Arguments(DecodedStatement& s, std::vector<Value*>& arguments);
  // Runs the routine at startBit with callArguments_ as its caller Values.
  void RunRoutine(const ProgramKey& key, uint64_t startBit);
  // Calls native with nativeArgs_.
  bool CallNative(uint64_t native);
  void KeepParameterStorage(size_t parameters);
  void ReuseParameterStorage(Value& parameter, const Value& argument);

  // The statements, one per opcode; each reads its fields after the opcode at pos.
  void OpenScope();
  bool CloseScope(const std::vector<Value*>& callerValues, uint64_t& pos);
  bool Assignment(uint64_t& pos);
  bool Declaration(const std::vector<Value*>& callerValues, uint64_t& pos);
  bool ConditionalJump(uint64_t& pos);
  bool RoutineCall(uint64_t& pos);
  bool NativeCall(uint64_t& pos);
  bool CloseScopesAndJump(uint64_t& pos);

  // A skip bit, a count N and N references (skip bit and id each) to variables in scope.
  bool ReadCallArguments(uint64_t& pos, std::vector<Value*>& arguments);

  void CloseInnermostScope();
  void ReleaseScope(size_t s) noexcept;
  void CloseAllScopes();
  // Reads a signed 32-bit offset and moves pos by it (modulo 2^64).
  bool ReadJump(uint64_t& pos);
};
