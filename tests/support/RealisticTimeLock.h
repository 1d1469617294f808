#pragma once
// A TimeLock file in the shape of a real one, for the dialog tests and the end-to-end
// generator: it builds the 80-byte block header from its seven arguments, spends work on a
// hash chain over it, checks the chain's end against the value the file was made for, and
// only then opens the embedded bytes into argument 3.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/request/OpenTimeLock.h"
#include "interpreter/keys/MurmurHash3.h"
#include "interpreter/natives/Natives.h"
#include "interpreter/natives/TimeLockPad.h"
#include "programwriter/ProgramWriter.h"

namespace realistic {

inline constexpr char kPassword[] = "correct horse battery staple";
inline constexpr char kPlainText[] = "The treasure lies under the old oak, three steps north.";
inline constexpr uint64_t kWorkHashes = 5000;

// A real block's header (block 125552).
inline OpenTimeLockInputs SampleInputs(const std::string& file) {
    return {.password = kPassword, .blockNumber = 125552, .blockVersion = 1, .timeStamp = 1305998791,
            .bits = 440711666, .nonce = 2504433986,
            .prevBlockHash = "00000000000008a3a41b85b8b29ad444def299fee21793cd8b9e567eab02cd81",
            .merkleRoot = "2b12fcf1b09288fcaff797d71e950e71ae42b91e8bdb2304758dfcffc2b620e3",
            .timeLockFile = file};
}

namespace detail {

// Variable ids: the seven header fields first, as the request passes them.
enum : uint64_t {
    kBlockNumber = 1, kBlockVersion, kPrevHash, kMerkleRoot, kTimeStamp, kBits, kNonce,
    kHeader = 10, kFour = 20, kZero, kOne, kEight, kSeed = 30, kWork, kUnit, kSeedBytes = 40,
    kCheck, kCipher = 50, kCipherHex,
};

inline void AppendHexReversed(std::vector<uint8_t>& bytes, const std::string& hex) {
    for (size_t i = hex.size(); i >= 2; i -= 2) {
        bytes.push_back(static_cast<uint8_t>(std::stoul(hex.substr(i - 2, 2), nullptr, 16)));
    }
}

inline void AppendLE32(std::vector<uint8_t>& bytes, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

inline uint64_t SeedFromHeader(const OpenTimeLockInputs& in) {
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

inline uint64_t CheckOfSeed(uint64_t seed) {
    uint8_t bytes[8];
    StoreLE64(bytes, seed);
    uint8_t h[16];
    MurmurHash3_x64_128(bytes, 8, 1, h);
    return LoadLE64(h);
}

inline std::string LockedTextHex(uint64_t seed, std::string text) {
    uint8_t seedBytes[8];
    StoreLE64(seedBytes, seed);
    ApplyTimeLockPad(reinterpret_cast<uint8_t*>(text.data()), text.size(), seedBytes);
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (const char c : text) {
        hex += digits[static_cast<uint8_t>(c) >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

}  // namespace detail

// The file's bytes: it opens to plainText only with the password and header of in.
inline std::vector<uint8_t> RealisticTimeLock(const OpenTimeLockInputs& in,
                                              const std::string& plainText = kPlainText) {
    using namespace testprog;
    using namespace detail;
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
        .Assign(Target(kCipherHex), MathOp::Assign, Imm::String(LockedTextHex(seed, plainText)))
        .CallNative(kNativeAppendHexBytes, {kCipher, kCipherHex, kZero})
        .CallNative(kNativeTimeLockBytesToText, {kSeed, kCipher, kMerkleRoot})
        .Bind(end)
        .CloseScope();
    return w.Finish(StretchPassword(reinterpret_cast<const uint8_t*>(in.password.data()),
                                    in.password.size()));
}

}  // namespace realistic
