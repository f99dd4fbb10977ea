#pragma once
// The answers of a material as a player who knows it strikes them: for each
// entry text, the chords of the code that the answer check takes for it.
// Simulated players (match_bot.h) key from it.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qiru {

class AnswerKey {
 public:
  // From a material text (UTF-8, CR LF lines), by the rules the material
  // parser keeps: the first line with a code owns it; a text keyed by
  // several codes is answered with the first that it owns.
  explicit AnswerKey(std::string_view material);

  // The chords that answer the text, in order; none for an unknown text.
  const std::vector<std::string>& chordsOf(const std::string& text) const;
  bool empty() const { return chords_.empty(); }

 private:
  std::unordered_map<std::string, std::vector<std::string>> chords_;
};

}  // namespace qiru
