// Writes the seed corpus of the fuzz targets: small valid programs that between them reach
// every statement and every native (fuzz/corpus/program/), and Value scripts over every kind
// and operation (fuzz/corpus/value/). With --check it runs each program and prints whether it
// ended normally, so that a seed that stops early is noticed.
//
//   make_corpus <corpus folder> [--check]
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/FuzzKeys.h"
#include "fuzz/ProgramInput.h"
#include "fuzz/ValueScript.h"
#include "interpreter/natives/Natives.h"
#include "interpreter/program/ProgramContext.h"
#include "programwriter/ProgramWriter.h"

namespace {

using namespace testprog;
using valuescript::Step;

// The seven header arguments arrive as variables 1 to 7; variable 4 is the Merkle root text
// that a program replaces to show its result.
constexpr uint64_t kMerkleRoot = 4;

ProgramWriter& DeclareHeader(ProgramWriter& w) {
  w.OpenScope();
  const int32_t kinds[] = {kKindUInt64, kKindUInt64, kKindString, kKindString,
                           kKindUInt64, kKindUInt64, kKindUInt64};
  for (uint64_t i = 0; i < 7; ++i) w.Declare(kinds[i], i + 1);
  return w;
}

// Declares variable id of kind and gives element 0 a value.
ProgramWriter& Let(ProgramWriter& w, int32_t kind, uint64_t id, const Operand& value) {
  return w.Declare(kind, id).Assign(Target(id), MathOp::Assign, value);
}

// Appends variable id's text to the Merkle root and ends the program.
ProgramWriter& ShowAndClose(ProgramWriter& w, uint64_t id) {
  return w.CallNative(kNativeAppendText, {kMerkleRoot, id}).CloseScope();
}

struct Seed {
  std::string name;
  ProgramWriter program;
  bool alsoClear = false;     // also written to be read without a key stream
  bool alsoNearWrap = false;  // also laid out across the key stream's wrap (no absolute positions)
};

// The program enciphered as if it lay at byte kNearWrapOffset.
std::vector<uint8_t> NearWrap(const ProgramWriter& w) {
  std::vector<uint8_t> bytes = w.Plain();
  const std::vector<uint8_t>& stream = GetCachedKeyStream(fuzzkeys::kMainKey.data())->stream;
  for (size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] ^= stream[(fuzzinput::kNearWrapOffset + i) % stream.size()];
  }
  return bytes;
}

ProgramWriter& Bytes(ProgramWriter& w, uint64_t id, std::string_view hex);

ProgramWriter Arithmetic(int32_t kind, const Operand& start, const Operand& operand) {
  ProgramWriter w;
  DeclareHeader(w);
  Let(w, kind, 10, start);
  for (uint32_t op = 0; op <= 9; ++op) {
    // Doubles take multiply, divide, add and subtract only.
    if (kind == kKindDouble && (op == 1 || op >= 5)) continue;
    w.Assign(Target(10), static_cast<MathOp>(op), operand)
        .CallNative(kNativeAppendText, {kMerkleRoot, 10});
  }
  return w.CloseScope();
}

ProgramWriter Conversions() {
  ProgramWriter w;
  DeclareHeader(w);
  w.Declare(kKindString, 10)
      .Declare(kKindInt, 11)
      .Declare(kKindDouble, 12)
      .Declare(kKindUInt64, 13)
      .Declare(kKindUInt32, 14)
      .Declare(kKindBarray, 15);
  const Operand values[] = {Imm::String("-12.5e3"), Imm::Int(-7), Imm::Double(3.75),
                            Imm::UInt64(UINT64_MAX), Imm::UInt32(4000000000u)};
  for (const Operand& value : values) {
    for (uint64_t id = 10; id <= 14; ++id) {
      w.Assign(Target(id), MathOp::Assign, value).CallNative(kNativeAppendText, {kMerkleRoot, id});
    }
  }
  w.Assign(Target(10), MathOp::Assign, Opnd::Var(1))
      .Assign(Target(11), MathOp::Assign, Opnd::Var(3));
  return ShowAndClose(w, 11);
}

ProgramWriter Elements() {
  ProgramWriter w;
  DeclareHeader(w);
  w.Declare(kKindInt, 10, 8).Declare(kKindString, 11, 3).Declare(kKindUInt64, 12, 4);
  Let(w, kKindInt, 13, Imm::Int(5));
  w.Assign(Target::At(10, 2), MathOp::Assign, Imm::Int(9))
      .Assign(Target::AtVar(10, 13), MathOp::Add, Opnd::VarAt(10, 2))
      .Assign(Target::At(11, 1), MathOp::Assign, Opnd::VarAtVar(10, 13))
      .Assign(Target::At(12, 3), MathOp::Assign, Opnd::VarAt(10, 5))
      .Assign(Target(13), MathOp::Assign, Opnd::VarAt(12, 3))
      .Assign(Target::At(11, 2), MathOp::Assign, Opnd::VarAt(3, 0));
  return ShowAndClose(w, 11);
}

ProgramWriter Loops(uint32_t jumpOpcode, uint32_t closeOpcode) {
  ProgramWriter w;
  DeclareHeader(w);
  Let(w, kKindInt, 10, Imm::Int(0));
  Let(w, kKindDouble, 11, Imm::Double(0.5));
  const Relation relations[] = {Relation::Less,     Relation::Greater,   Relation::Equal,
                                Relation::NotEqual, Relation::LessEqual, Relation::GreaterEqual};
  for (Relation r : relations) {
    const Label next = w.NewLabel();
    w.JumpUnless(r, Opnd::Var(10), Imm::Int(1), next, jumpOpcode)
        .Assign(Target(10), MathOp::Add, Imm::Int(1))
        .Bind(next);
  }
  // A counted loop, a nested scope closed by a jump, and the never-holding relations.
  const Label loop = w.Here();
  w.Assign(Target(10), MathOp::Add, Imm::Int(1))
      .Assign(Target(11), MathOp::Multiply, Imm::Double(1.5))
      .JumpUnless(Relation::GreaterEqual, Opnd::Var(10), Imm::Int(20), loop, jumpOpcode);
  const Label out = w.NewLabel();
  const Label after = w.NewLabel();
  const Label skipped = w.NewLabel();
  const Label end = w.NewLabel();
  w.OpenScope()
      .Declare(kKindUInt32, 20)
      .OpenScope()
      .Declare(kKindString, 21)
      .CloseScopesAndJump(2, out, closeOpcode)
      .Bind(out)
      .OpenScope()
      .CloseScopeAndJump(after)
      .Bind(after)
      .JumpUnless(Relation::Always6, Imm::Int(0), Imm::Int(0), skipped)
      .RawOpcode(8)
      .Bind(skipped)
      .JumpUnless(Relation::Always7, Opnd::Var(11), Imm::Double(2), end)
      .RawOpcode(8)
      .Bind(end);
  return ShowAndClose(w, 11);
}

ProgramWriter EndsWithOpcode(uint32_t opcode) {
  ProgramWriter w;
  DeclareHeader(w);
  Let(w, kKindInt, 10, Imm::Int(1));
  return w.RawOpcode(opcode);
}

ProgramWriter OtherKinds() {
  ProgramWriter w;
  DeclareHeader(w);
  w.Declare(6, 10)
      .Declare(7, 11, 3)
      .Declare(kKindUInt32, 12)
      .Assign(Target(12), MathOp::Assign, Imm::UInt32(1))
      .CallNative(kNativeAppendText, {kMerkleRoot, 12})
      .CallNative(kNativeAppendText, {kMerkleRoot, 10})
      .CallNative(kNativeAppendText, {kMerkleRoot, 11})
      .Assign(Target(10), MathOp::Assign, Opnd::Var(12))  // fails: kind 6 takes nothing
      .Assign(Target(12), MathOp::Assign, Imm::RawKind(6));
  return ShowAndClose(w, 12);
}

// The caller hands variables 10 and 3 to a routine under the key made from variable 11 of
// keyKind (or the zero key when keyKind is unset), which adds to variable 10.
ProgramWriter Routine(int32_t keyKind) {
  ProgramWriter w;
  DeclareHeader(w);
  const Label routine = w.NewLabel();
  Let(w, kKindInt, 10, Imm::Int(1));
  ProgramKey key = kZeroKey;
  switch (keyKind) {
    case kKindInt:
      Let(w, kKindInt, 11, Imm::Int(7));
      key = RoutineKeyForInt32(7);
      break;
    case kKindDouble:
      Let(w, kKindDouble, 11, Imm::Double(0.25));
      key = RoutineKeyForDouble(0.25);
      break;
    case kKindString:
      Let(w, kKindString, 11, Imm::String("key"));
      key = RoutineKeyForText("key");
      break;
    case kKindBarray: {
      Bytes(w, 11, "c0ffee");
      const uint8_t bytes[] = {0xC0, 0xFF, 0xEE};
      key = RoutineKeyForBytes(bytes);
      break;
    }
    default:
      break;
  }
  if (keyKind != kKindUnset) {
    w.CallRoutine(routine, {10, 3}, 11);
  } else {
    w.CallRoutine(routine, {10, 3});
  }
  ShowAndClose(w, 10);
  w.BeginRegion(key).Bind(routine);
  w.OpenScope()
      .Declare(kKindInt, 20)
      .Declare(kKindString, 21)
      .Assign(Target(20), MathOp::Add, Imm::Int(5))
      .CallNative(kNativeAppendText, {21, 20});
  return w.CloseScope();
}

// Declares id as a one-element barray holding the bytes that hex writes.
ProgramWriter& Bytes(ProgramWriter& w, uint64_t id, std::string_view hex) {
  Let(w, kKindString, 90, Imm::String(hex));
  Let(w, kKindInt, 91, Imm::Int(0));
  return w.Declare(kKindBarray, id).CallNative(kNativeAppendHexBytes, {id, 90, 91});
}

std::vector<std::pair<std::string, ProgramWriter>> NativePrograms() {
  std::vector<std::pair<std::string, ProgramWriter>> out;
  auto add = [&out](std::string name, const std::function<void(ProgramWriter&)>& body) {
    ProgramWriter w;
    DeclareHeader(w);
    body(w);
    out.emplace_back(std::move(name), std::move(w));
  };
  add("new_byte_array", [](ProgramWriter& w) {
    Let(w, kKindInt, 11, Imm::Int(5));
    w.Declare(kKindUInt64, 10, 3).CallNative(kNativeNewByteArray, {10, 11});
    ShowAndClose(w, 10);
  });
  add("append_integer_bytes", [](ProgramWriter& w) {
    Let(w, kKindUInt64, 11, Imm::UInt64(0x0102030405060708u));
    Let(w, kKindInt, 12, Imm::Int(3));
    Let(w, kKindInt, 13, Imm::Int(1));
    w.Declare(kKindBarray, 10).CallNative(kNativeAppendIntegerBytes, {10, 11, 12, 13});
    ShowAndClose(w, 10);
  });
  add("append_hex_bytes", [](ProgramWriter& w) {
    Let(w, kKindInt, 12, Imm::Int(1));
    w.Declare(kKindBarray, 10).CallNative(kNativeAppendHexBytes, {10, 3, 12});
    ShowAndClose(w, 10);
  });
  add("append_text", [](ProgramWriter& w) {
    Let(w, kKindDouble, 10, Imm::Double(-0.125));
    w.Declare(kKindString, 11).CallNative(kNativeAppendText, {11, 10});
    ShowAndClose(w, 11);
  });
  // Extra arguments are ignored, but the list still keeps all of them in id order.
  add("many_arguments", [](ProgramWriter& w) {
    Let(w, kKindInt, 30, Imm::Int(30));
    for (uint64_t id : {12u, 25u, 18u, 21u, 11u, 16u, 14u}) Let(w, kKindUInt32, id, Imm::UInt32(1));
    w.CallNative(kNativeAppendText, {kMerkleRoot, 30, 12, 25, 18, 21, 11, 16, 14, 1, 25, 7, 3, 2});
    w.CloseScope();
  });
  add("file_exists", [](ProgramWriter& w) {
    Let(w, kKindString, 10, Imm::String("/tmp"));
    w.Declare(kKindUInt32, 11).CallNative(kNativeFileExists, {10, 11});
    ShowAndClose(w, 11);
  });
  add("hash_bytes", [](ProgramWriter& w) {
    Bytes(w, 10, "0aff10");
    Let(w, kKindUInt64, 11, Imm::UInt64(3));
    w.Declare(kKindUInt64, 12).CallNative(kNativeHashBytes, {12, 10, 11});
    ShowAndClose(w, 12);
  });
  add("copy_bytes_to_storage", [](ProgramWriter& w) {
    Bytes(w, 10, "0102030405060708");
    w.Declare(kKindUInt32, 11, 2)
        .Assign(Target(11), MathOp::Assign, Imm::UInt32(1))
        .CallNative(kNativeCopyBytesToStorage, {11, 10});
    ShowAndClose(w, 11);
  });
  add("hex_to_words", [](ProgramWriter& w) {
    Let(w, kKindString, 10, Imm::String("0102030a0b0c0d0e0f"));
    Let(w, kKindInt, 11, Imm::Int(0));
    w.Declare(kKindUInt32, 12, 4).CallNative(kNativeHexToWords, {12, 10, 11});
    ShowAndClose(w, 12);
  });
  add("byte_array_length", [](ProgramWriter& w) {
    Bytes(w, 10, "a1b2c3");
    Let(w, kKindInt, 11, Imm::Int(0));
    w.Declare(kKindInt, 12).CallNative(kNativeByteArrayLength, {12, 10, 11});
    ShowAndClose(w, 12);
  });
  add("copy_byte_range", [](ProgramWriter& w) {
    Bytes(w, 10, "0102030405060708");
    Let(w, kKindInt, 11, Imm::Int(1));
    Let(w, kKindInt, 12, Imm::Int(4));
    w.Declare(kKindUInt32, 13, 2).CallNative(kNativeCopyByteRange, {13, 10, 11, 12});
    ShowAndClose(w, 13);
  });
  add("fill_storage", [](ProgramWriter& w) {
    Let(w, kKindInt, 10, Imm::Int(0xAB));
    Let(w, kKindInt, 11, Imm::Int(2));
    Let(w, kKindInt, 12, Imm::Int(8));
    w.Declare(kKindUInt32, 13, 4).CallNative(kNativeFillStorage, {13, 10, 11, 12});
    ShowAndClose(w, 13);
  });
  add("copy_words_to_bytes", [](ProgramWriter& w) {
    Let(w, kKindInt, 10, Imm::Int(8));
    w.Declare(kKindBarray, 11).CallNative(kNativeNewByteArray, {11, 10});
    w.Declare(kKindUInt32, 12, 4)
        .Assign(Target::At(12, 2), MathOp::Assign, Imm::UInt32(0xDEADBEEF));
    Let(w, kKindInt, 13, Imm::Int(1));
    Let(w, kKindInt, 14, Imm::Int(2));
    w.CallNative(kNativeCopyWordsToBytes, {11, 12, 13, 14});
    ShowAndClose(w, 11);
  });
  add("log_exp", [](ProgramWriter& w) {
    Let(w, kKindDouble, 10, Imm::Double(2.5));
    w.Declare(kKindDouble, 11)
        .Declare(kKindUInt64, 12)
        .CallNative(kNativeLog, {11, 10})
        .CallNative(kNativeExp, {12, 11});
    ShowAndClose(w, 12);
  });
  add("time_lock_text_to_bytes", [](ProgramWriter& w) {
    w.Declare(kKindBarray, 10).CallNative(kNativeTimeLockTextToBytes, {1, 3, 10});
    ShowAndClose(w, 10);
  });
  add("time_lock_bytes_to_text", [](ProgramWriter& w) {
    Bytes(w, 10, "48656c6c6f2c2074696d65");
    w.CallNative(kNativeTimeLockBytesToText, {7, 10, kMerkleRoot}).CloseScope();
  });
  return out;
}

std::vector<Seed> ProgramSeeds() {
  std::vector<Seed> seeds;
  seeds.push_back({"arith_int", Arithmetic(kKindInt, Imm::Int(-1000), Imm::Int(7)), true, true});
  seeds.push_back(
      {"arith_uint32", Arithmetic(kKindUInt32, Imm::UInt32(4000000000u), Imm::UInt32(3))});
  seeds.push_back({"arith_uint64", Arithmetic(kKindUInt64, Imm::UInt64(1u << 20), Imm::Int(5))});
  seeds.push_back({"arith_double", Arithmetic(kKindDouble, Imm::Double(10.5), Imm::Double(4))});
  seeds.push_back({"conversions", Conversions(), true});
  seeds.push_back({"elements", Elements()});
  seeds.push_back({"loops_4_9", Loops(4, 9), true, true});
  seeds.push_back({"loops_5_10", Loops(5, 10)});
  seeds.push_back({"other_kinds", OtherKinds()});
  seeds.push_back({"routine_int_key", Routine(kKindInt), true});
  seeds.push_back({"routine_double_key", Routine(kKindDouble)});
  seeds.push_back({"routine_text_key", Routine(kKindString)});
  seeds.push_back({"routine_bytes_key", Routine(kKindBarray)});
  seeds.push_back({"routine_zero_key", Routine(kKindUnset)});
  for (uint32_t opcode : {8u, 11u, 15u}) {
    seeds.push_back({"ends_opcode_" + std::to_string(opcode), EndsWithOpcode(opcode)});
  }
  for (auto& [name, w] : NativePrograms()) seeds.push_back({"native_" + name, std::move(w)});
  return seeds;
}

std::vector<std::pair<std::string, std::vector<uint8_t>>> ValueSeeds() {
  using valuescript::Writer;
  std::vector<std::pair<std::string, std::vector<uint8_t>>> out;
  auto add = [&out](std::string name, const Writer& w) {
    out.emplace_back(std::move(name), w.bytes);
  };
  auto op = [](Writer& w, Step s, uint8_t slot) -> Writer& { return w.Op(s).Byte(slot); };

  // Each numeric kind through every math op with a source of every kind.
  for (int32_t kind = kKindInt; kind <= kKindUInt32; ++kind) {
    if (kind == kKindBarray) continue;
    Writer w;
    op(w, Step::AssignArray, 0)
        .Byte(static_cast<uint8_t>(kind))
        .Small(3)
        .Byte(1)
        .U64(40)
        .U64(0xFFFFFFFF80000000u)
        .U64(3);
    for (int32_t sourceKind = kKindInt; sourceKind <= kKindUInt32; ++sourceKind) {
      op(w, Step::AssignArray, 1).Byte(static_cast<uint8_t>(sourceKind)).Small(1).Byte(1).U64(6);
      for (uint8_t mathOp = 0; mathOp <= 12; ++mathOp) {
        op(w, Step::MathOp, 0).Byte(1).Small(mathOp).Byte(1).Small(mathOp % 3);
        op(w, Step::ToText, 0);
      }
    }
    add("math_kind_" + std::to_string(kind), w);
  }
  // Conversions: every kind assigned from every kind, element to element.
  {
    Writer w;
    op(w, Step::AssignArray, 1).Byte(kKindString).Small(2).Byte(0);
    op(w, Step::SetElement, 1)
        .Byte(3)
        .Small(0)
        .Byte(6)
        .Byte('-')
        .Byte('1')
        .Byte('2')
        .Byte('.')
        .Byte('5')
        .Byte('e');
    for (int32_t kind = -1; kind <= 7; ++kind) {
      op(w, Step::SetKind, 0).Kind(kind);
      op(w, Step::SetCount, 0).Small(2);
      op(w, Step::AssignValue, 0).Byte(1).Byte(1).Small(1).Small(0);
      op(w, Step::AssignValue, 2).Byte(0).Byte(0).Small(0).Small(1);
      op(w, Step::ToText, 0);
      op(w, Step::Read, 0).Small(1);
      op(w, Step::CopyFrom, 1).Byte(0);
    }
    add("conversions", w);
  }
  // Copies, moves and storage of texts and byte arrays.
  {
    Writer w;
    op(w, Step::AssignArray, 0).Byte(kKindBarray).Small(3).Byte(0);
    op(w, Step::SetElement, 0).Byte(4).Small(1).Byte(3).Byte(1).Byte(2).Byte(3);
    op(w, Step::Storage, 0).Byte(3).Byte(0x7F);
    op(w, Step::CopyConstruct, 0).Byte(2);
    op(w, Step::Read, 2).Small(1);
    op(w, Step::AssignArray, 3).Byte(kKindString).Small(2).Byte(0);
    op(w, Step::SetElement, 3).Byte(3).Small(5).Byte(2).Byte('h').Byte('i');
    op(w, Step::CopyFrom, 1).Byte(3);
    op(w, Step::Storage, 1).Byte(0);
    op(w, Step::Storage, 1).Byte(1);
    op(w, Step::Storage, 2).Byte(2);
    op(w, Step::SetId, 1).Byte(9);
    op(w, Step::AssignValue, 0).Byte(1).Byte(0).Small(0).Small(0);
    add("copies", w);
  }
  // Huge counts: storage made lazily, or refused as an allocation failure.
  {
    Writer w;
    op(w, Step::SetKind, 0).Kind(kKindUInt32);
    op(w, Step::SetCount, 0).Wide(0x000FFFFF);
    op(w, Step::SetElement, 0).Byte(1).Wide(0x000FFFFE).U32(7);
    op(w, Step::Read, 0).Wide(0x000FFFFE);
    op(w, Step::AssignArray, 1).Byte(kKindString).Wide(0x000FFFFF).Byte(0);
    op(w, Step::SetElement, 1).Byte(3).Wide(0x000FFFFE).Byte(1).Byte('x');
    op(w, Step::ToText, 1);
    add("huge_counts", w);
  }
  // Natives over Values of every kind.
  const uint8_t argumentCounts[kNativeCount] = {2, 4, 3, 2, 2, 3, 2, 3, 3, 4, 4, 4, 2, 2, 3, 3};
  for (uint8_t native = 0; native < 14; ++native) {
    Writer w;
    op(w, Step::AssignArray, 0).Byte(kKindUInt32).Small(4).Byte(1).U64(1).U64(2).U64(3).U64(4);
    op(w, Step::AssignArray, 1).Byte(kKindBarray).Small(1).Byte(0);
    op(w, Step::SetElement, 1).Byte(4).Small(0).Byte(4).Byte(0xDE).Byte(0xAD).Byte(0xBE).Byte(0xEF);
    op(w, Step::AssignArray, 2).Byte(kKindString).Small(1).Byte(0);
    op(w, Step::SetElement, 2)
        .Byte(3)
        .Small(0)
        .Byte(6)
        .Byte('0')
        .Byte('a')
        .Byte('F')
        .Byte('f')
        .Byte('1')
        .Byte('2');
    op(w, Step::AssignArray, 3).Byte(kKindInt).Small(2).Byte(1).U64(1).U64(2);
    const uint8_t orders[][4] = {{0, 3, 3, 3}, {1, 3, 3, 3}, {1, 2, 3, 3}, {2, 0, 3, 3},
                                 {2, 0, 3, 3}, {0, 1, 3, 3}, {0, 1, 3, 3}, {0, 2, 3, 3},
                                 {0, 1, 3, 3}, {0, 1, 3, 3}, {0, 3, 3, 3}, {1, 0, 3, 3},
                                 {0, 3, 3, 3}, {0, 3, 3, 3}};
    op(w, Step::Native, 0).Byte(native).Byte(argumentCounts[native]);
    for (uint8_t i = 0; i < argumentCounts[native]; ++i) w.Byte(orders[native][i]);
    for (uint8_t slot = 0; slot < 4; ++slot) op(w, Step::Read, slot).Small(0);
    add("native_" + std::to_string(native), w);
  }
  return out;
}

void WriteFile(const std::filesystem::path& path, uint8_t mode, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (mode != 0xFF) out.put(static_cast<char>(mode));
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// Runs a seed as the harness does and says how it ended.
void Check(const std::string& name, const std::vector<uint8_t>& program, bool keyed) {
  std::vector<Value> args(7);
  for (size_t i = 0; i < args.size(); ++i) {
    if (i == 2 || i == 3) {
      args[i].AssignStringArray(1, nullptr);
      args[i].SetString(0, "0a1b2c3d");
    } else {
      args[i].AssignUInt64Array(1, nullptr);
      args[i].SetUInt64(0, 1000 + i);
    }
  }
  std::vector<Value*> pointers;
  for (Value& arg : args) pointers.push_back(&arg);
  ProgramContext context;
  context.Init(&program, program.size() * 8, fuzzkeys::kMainKey.data());
  if (!keyed) context.keyStream = nullptr;
  const bool ok = context.Run(pointers, 0);
  std::printf("%-32s %-5s %s\n", name.c_str(), ok ? "true" : "false", args[3].GetText(0).c_str());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_corpus <corpus folder> [--check]\n");
    return 1;
  }
  const std::filesystem::path root = argv[1];
  const bool check = argc > 2 && std::string(argv[2]) == "--check";
  fuzzkeys::InstallKeys();
  RegisterStandardNatives();

  std::filesystem::create_directories(root / "program");
  std::filesystem::create_directories(root / "value");
  for (const Seed& seed : ProgramSeeds()) {
    const std::vector<uint8_t> keyed = seed.program.Finish(fuzzkeys::kMainKey);
    WriteFile(root / "program" / seed.name, fuzzinput::kKeyedFlag, keyed);
    if (check) Check(seed.name, keyed, true);
    if (seed.alsoNearWrap) {
      WriteFile(root / "program" / (seed.name + "_near_wrap"),
                fuzzinput::kKeyedFlag | fuzzinput::kNearWrapFlag, NearWrap(seed.program));
    }
    if (seed.alsoClear) {
      const std::vector<uint8_t> clear = seed.program.FinishUnkeyed();
      WriteFile(root / "program" / (seed.name + "_clear"), 0, clear);
      if (check) Check(seed.name + "_clear", clear, false);
    }
  }
  for (const auto& [name, script] : ValueSeeds()) WriteFile(root / "value" / name, 0xFF, script);
  return 0;
}
