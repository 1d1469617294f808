// Ending the process at once, with standard output flushed first.
#include "platform/Process.h"

#include <cstdio>
#include <unistd.h>

void ExitProcess(UINT code) {
    std::fflush(stdout);
    _exit(static_cast<int>(code));
}
