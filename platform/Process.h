#pragma once
// Ending the process at once, as the original does after a run that threw: standard output is
// flushed, then the process exits with code without running any destructor.
#include "platform/WinDefs.h"

[[noreturn]] void ExitProcess(UINT code);
