#pragma once
// How text looks in the question panes and the key logs: the formats that
// start-up prepares and every later display reuses.

#include "ui/geometry.h"
#include "ui/rich_text.h"

namespace qiru::ui {

// The headline of a question pane: the entry, a prompt, the countdown.
inline const CharFormat kBannerFormat{"宋体", 38, true, kWhite, 0};
// The line below it: the entry's note, the subtitle of a prompt.
inline const CharFormat kSubtitleFormat{"宋体", 20, false, 0xC0C0C0, 0};
inline constexpr ParagraphFormat kQuestionParagraph{Alignment::Centre, false, 0};

// The question panes' formatting rectangle: 5 pixels in from the left, right
// and bottom, 20 from the top.
inline constexpr Insets kQuestionTextInsets{5, 20, 5, 5};
inline constexpr Margins kKeyLogMargins{10, 5};

}  // namespace qiru::ui
