#include "match/result_texts.h"

namespace qiru {

Verdict judge(std::int32_t red, std::int32_t blue, const VerdictTexts& texts) {
  if (red == blue) return {texts.draw, kDrawColour};
  if (red > blue) return {texts.redAhead, kRedAheadColour};
  return {texts.blueAhead, kBlueAheadColour};
}

std::string roundScoreLine(std::int32_t red, std::int32_t blue) {
  return std::to_string(red) + "：" + std::to_string(blue) + "  " +
         std::string(judge(red, blue, kRoundVerdicts).text);
}

}  // namespace qiru
