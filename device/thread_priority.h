#pragma once
// Thread priorities, behind one small function per platform.

namespace qiru {

// Raises the calling thread to the highest priority the system lets this
// process give it without real-time scheduling (on Linux: the shortest time
// slice, and the lowest nice value that RLIMIT_NICE or CAP_SYS_NICE
// allows). Keys are stamped on arrival, so a thread left at normal priority
// only delivers chords later; failing to raise it is not an error. Returns
// whether anything was granted.
bool raiseCurrentThreadPriority();

}  // namespace qiru
