// How the Windows build starts without a C runtime: our own entry point splits
// the command line and calls WinMain, which reads the arguments from here.
#ifndef DOZEGUARD_PLATFORM_PROCESS_START_H_
#define DOZEGUARD_PLATFORM_PROCESS_START_H_

#include "platform/command_line.h"

// The command line split at start-up. An empty list (count 0) when there was
// no memory to split it into.
ArgumentList ProcessArguments();

#endif  // DOZEGUARD_PLATFORM_PROCESS_START_H_
