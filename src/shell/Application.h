#pragma once
// Process-wide run state: the end of the run, which timer callbacks on other threads read, and
// the application hint that status texts show.

#include <functional>
#include <string>

namespace lumora {

// True once the program has begun to end (or an unhandled error is being reported): timer
// callbacks then post nothing more.
bool ApplicationTerminating();
void MarkApplicationTerminating();

// What must be given back to the shell even when an unhandled error ends the program (the
// taskbar's clock, the notification icon); an empty function clears it. User-interface thread.
void SetFatalExitAction(std::function<void()> action);
void RunFatalExitAction();

// A one-line help text for whatever the pointer or the menu highlight rests on; empty when none.
const std::wstring& ApplicationHint();
void SetApplicationHint(std::wstring hint);

} // namespace lumora
