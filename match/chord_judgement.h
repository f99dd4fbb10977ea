#pragma once
// Whether a chord a side struck was wrong, so that the window can mark it at
// once. A chord is right when it answers the entry or is on the way to the
// answer: its pending chords, ending with it, finish a start of the entry's
// code (after a slip the player may begin the entry again). The confirm and
// delete keys that clear a multi-chord answer are neither.

#include <string_view>

namespace qiru {

// `pendingChords`: the side's pending chord codes joined by "|", the latest
// last; `answerCode`: the entry's code, its chords joined by "|".
bool continuesAnswer(std::string_view pendingChords, std::string_view answerCode);

}  // namespace qiru
