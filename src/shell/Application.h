#pragma once
// Process-wide run state: the end of the run, which timer callbacks on other threads read, and
// the application hint that status texts show.

#include <string>

namespace lumora {

// True once the program has begun to end (or an unhandled error is being reported): timer
// callbacks then post nothing more.
bool ApplicationTerminating();
void MarkApplicationTerminating();

// A one-line help text for whatever the pointer or the menu highlight rests on; empty when none.
const std::wstring& ApplicationHint();
void SetApplicationHint(std::wstring hint);

} // namespace lumora
