#pragma once
// A call that regresses into blocking for ever must fail the test, not hang it: while a
// watchdog lives, a call that takes longer than its seconds ends the process (SIGALRM).
#include <unistd.h>

class HangWatchdog {
public:
    explicit HangWatchdog(unsigned seconds) { alarm(seconds); }
    ~HangWatchdog() { alarm(0); }
    HangWatchdog(const HangWatchdog&) = delete;
    HangWatchdog& operator=(const HangWatchdog&) = delete;
};
