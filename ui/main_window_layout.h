#pragma once
// The main window's layout for its current size: the options frame and its
// two tabs across the top, the question frame below, then the two side
// columns (online label, score, key log), the result panel centred, and the
// status bar's panes. One pass gives the final geometry.

#include "support/match_types.h"
#include "ui/control_model.h"

namespace qiru::ui {

// Whether each side gets its own question pane: while a match starts or
// runs in a mode where each side has its own entry.
bool showsSplitView(MatchState state, MatchMode mode);

// The whole layout; it ends with layOutQuestionFrame.
void layOutMainWindow(ControlModel& model, MatchState state, MatchMode mode);

// Only the contents of the question frame: the clock centred with an info
// line on each side, and the question panes below, split or whole. The match
// engine runs it when the match starts and ends.
void layOutQuestionFrame(ControlModel& model, MatchState state, MatchMode mode);

}  // namespace qiru::ui
