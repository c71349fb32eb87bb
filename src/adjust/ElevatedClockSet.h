#pragma once
// Both sides of setting the clock with administrator rights: the running program starts a copy
// of itself through the consent prompt and waits for it on a worker thread; that copy, started
// with the mode's arguments, adds the correction to the clock and ends with a code the program
// reads. The copy never opens a window, reads no settings and touches no network.

#include "shell/Worker.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace lumora {

// One start of the elevated copy, as the program saw it.
struct ElevatedSetRun {
    std::wstring Arguments;
    uint32_t StartError = 0; // the system's error when it did not start; 0 when it ran
    uint32_t ExitCode = 0;   // when it ran
};

// Worker thread: starts this executable elevated with arguments (the consent prompt is owned by
// owner) and waits for it to end; a stop of the worker ends the wait, not the copy.
ElevatedSetRun RunElevatedCopy(HWND owner, const std::wstring& arguments, WorkerContext& context);

// The elevated copy's whole work: the correction added to the clock, as its exit code.
uint32_t ApplyElevatedCorrection(int64_t correctionMs);

// The program's command-line arguments after its own name.
std::vector<std::wstring> CommandLineArguments();

} // namespace lumora
