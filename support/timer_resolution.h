#pragma once
// Waits on the real clock end when they are due, not at the next tick of
// the system's scheduler: on Windows that tick is 15.6 ms unless a program
// asks for 1 ms, and the merge window of a chord and the reader threads'
// polls are shorter than that. Linux waits are precise already.

namespace qiru {

// Asks the system for its finest timer resolution, for the rest of the
// process's life. Safe to call more than once.
void useFineTimerResolution();

}  // namespace qiru
