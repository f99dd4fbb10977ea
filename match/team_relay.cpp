#include "match/team_relay.h"

namespace qiru {

std::string relayPromptHeadline(std::int32_t redTotal, std::int32_t blueTotal) {
  return "团队累积分 " + std::to_string(redTotal) + ":" + std::to_string(blueTotal);
}

std::string relayPromptNote(std::int32_t memberNumber) {
  return "第" + std::to_string(memberNumber) + "队员准备，按任意键报到";
}

}  // namespace qiru
