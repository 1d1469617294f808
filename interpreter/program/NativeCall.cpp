// The native call (opcode 7): hands variables of the caller to a native of the table.
#include <vector>

#include "interpreter/natives/NativeArgs.h"
#include "interpreter/natives/NativeTable.h"
#include "interpreter/program/CallArguments.h"
#include "interpreter/program/ProgramContext.h"

bool ProgramContext::NativeCall(uint64_t& pos) {
  pos += 1;  // skip bit
  uint64_t native;
  if (!ReadVarWidth(pos, native)) return false;
  const ClearOnExit clear(callArguments_);
  if (!ReadCallArguments(pos, callArguments_)) return false;

  const DetachOnExit detach(nativeArgs_);
  for (Value* argument : callArguments_) nativeArgs_.Add(argument);
  return CallNative(native);
}

bool ProgramContext::CallNative(uint64_t native) {
  if (native >= g_nativeTable.size() || g_nativeTable[native] == nullptr) return false;
  return g_nativeTable[native](&nativeArgs_);
}

bool ProgramContext::Arguments(DecodedStatement& s, std::vector<Value*>& arguments) {
  for (VariableRef& reference : s.Extras()->arguments) {
    Value* argument = Resolve(reference);
    if (argument == nullptr) return false;
    arguments.push_back(argument);
  }
  return true;
}

bool ProgramContext::NativeCall(DecodedStatement& s) {
  // Straight into the list: it has room for the arguments after the first call.
  const DetachOnExit detach(nativeArgs_);
  for (VariableRef& reference : s.Extras()->arguments) {
    Value* argument = Resolve(reference);
    if (argument == nullptr) return false;
    nativeArgs_.Add(argument);
  }
  return CallNative(s.number);
}
