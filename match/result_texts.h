#pragma once
// What the result panel announces at the end of a round: who won the round,
// and in the team relay how the teams stand, with the text's colour.

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/appearance.h"

namespace qiru {

// The result panel's mark of a round that was stopped before its end.
inline constexpr std::string_view kRoundStoppedMark = "本局已中止，按中止时的成绩计";

// The announcement's colours: a draw, the red side ahead, the blue side ahead.
inline constexpr ui::Colour kDrawColour = 0x008000;     // green
// Pink, dark enough to read on the result panel (3.8:1; the lighter 0xC080FF
// gave 2:1).
inline constexpr ui::Colour kRedAheadColour = 0x865AB2;  // pink
inline constexpr ui::Colour kBlueAheadColour = 0xC06000; // blue

struct Verdict {
  std::string_view text;
  ui::Colour colour;
  friend bool operator==(const Verdict&, const Verdict&) = default;
};

// Which way a comparison of two scores went, and what each outcome reads.
struct VerdictTexts {
  std::string_view draw;
  std::string_view redAhead;
  std::string_view blueAhead;
};

inline constexpr VerdictTexts kRoundVerdicts{"本局双方战平！", "本局红方获胜！", "本局蓝方获胜！"};
inline constexpr VerdictTexts kRelayFinalVerdicts{"最终成绩：双方握手言和！", "最终成绩：红方团队胜！",
                                                  "最终成绩：蓝方团队胜！"};
inline constexpr VerdictTexts kRelayInterimVerdicts{"双方齐头并进……", "红方暂时领先……", "蓝方暂时领先……"};

// Decided by the scores alone: equal scores are a draw, there is no tie-break.
Verdict judge(std::int32_t red, std::int32_t blue, const VerdictTexts& texts);

// A relay member's round as 标签_局成绩 shows it: "3：5  本局蓝方获胜！".
std::string roundScoreLine(std::int32_t red, std::int32_t blue);

}  // namespace qiru
