#pragma once
// Process-wide run state that timer callbacks on other threads may read.

namespace lumora {

// True once the program has begun to end (or an unhandled error is being reported): timer
// callbacks then post nothing more.
bool ApplicationTerminating();
void MarkApplicationTerminating();

} // namespace lumora
