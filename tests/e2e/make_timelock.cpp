// Writes a TimeLock file in the shape of a real one for the end-to-end tests, and prints the
// password, the header fields and the text it opens to, as shell assignments.
#include <cstdio>
#include <fstream>

#include "support/RealisticTimeLock.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_timelock FILE\n");
        return 2;
    }
    const OpenTimeLockInputs in = realistic::SampleInputs(argv[1]);
    const std::vector<uint8_t> bytes = realistic::RealisticTimeLock(in);
    std::ofstream file(argv[1], std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        std::fprintf(stderr, "make_timelock: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("PASSWORD='%s'\nBLOCK_NUMBER=%u\nBLOCK_VERSION=%u\nPREV_BLOCK_HASH=%s\n"
                "MERKLE_ROOT=%s\nTIME_STAMP=%u\nBITS=%u\nNONCE=%u\nPLAIN_TEXT='%s'\n",
                in.password.c_str(), in.blockNumber, in.blockVersion, in.prevBlockHash.c_str(),
                in.merkleRoot.c_str(), in.timeStamp, in.bits, in.nonce, realistic::kPlainText);
    return 0;
}
