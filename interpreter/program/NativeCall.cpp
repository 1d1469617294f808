// The native call (opcode 7): hands variables of the caller to a native of the table.
#include <vector>

#include "interpreter/natives/NativeArgs.h"
#include "interpreter/natives/NativeTable.h"
#include "interpreter/program/ProgramContext.h"

namespace {

// The list borrows the caller's variables although it is flagged as owning them: it must let
// go of them before it is released, also when a native throws.
class DetachOnExit {
 public:
  explicit DetachOnExit(NativeArgs& args) : args_(args) {}
  DetachOnExit(const DetachOnExit&) = delete;
  DetachOnExit& operator=(const DetachOnExit&) = delete;
  ~DetachOnExit() { args_.DetachAll(); }

 private:
  NativeArgs& args_;
};

}  // namespace

bool ProgramContext::NativeCall(uint64_t& pos) {
  pos += 1;  // skip bit
  uint64_t native;
  if (!ReadVarWidth(pos, native)) return false;
  std::vector<Value*> arguments;
  if (!ReadCallArguments(pos, arguments)) return false;

  return CallNative(native, arguments);
}

bool ProgramContext::CallNative(uint64_t native, const std::vector<Value*>& arguments) {
  NativeArgs args(NativeArgs::OwnsValues | NativeArgs::KeepIdOrder);
  DetachOnExit detach(args);
  for (Value* argument : arguments) args.Add(argument);

  if (native >= g_nativeTable.size() || g_nativeTable[native] == nullptr) return false;
  return g_nativeTable[native](&args);
}

bool ProgramContext::Arguments(DecodedStatement& s, std::vector<Value*>& arguments) {
  arguments.reserve(s.arguments->size());
  for (VariableRef& reference : *s.arguments) {
    Value* argument = Resolve(reference);
    if (argument == nullptr) return false;
    arguments.push_back(argument);
  }
  return true;
}

bool ProgramContext::NativeCall(DecodedStatement& s) {
  std::vector<Value*> arguments;
  return Arguments(s, arguments) && CallNative(s.number, arguments);
}
