#pragma once
// The team relay's own texts: the prompt between two members' rounds.

#include <cstdint>
#include <string>

namespace qiru {

// "团队累积分 5:3": the team totals so far.
std::string relayPromptHeadline(std::int32_t redTotal, std::int32_t blueTotal);
// "第2队员准备，按任意键报到": the member who plays next.
std::string relayPromptNote(std::int32_t memberNumber);

}  // namespace qiru
