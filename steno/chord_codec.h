#pragma once
// Chord notation of the 13-key stenotype machine: key letters, key sets (one
// bit per key of one hand) and two-area codes (left key set in the low 16
// bits, right key set in the high 16 bits).

#include <cstdint>
#include <string>
#include <string_view>

namespace qiru {

// The machine's keys in bit order: R has bit value 1, I has 4096.
inline constexpr std::string_view kKeyNames = "RHANVFLUOGBDI";
inline constexpr int kKeysPerHand = 13;

// A 13-bit set of keys of one hand.
using KeySet = std::int32_t;
// left | right << 16; valid only when greater than 0.
using TwoAreaCode = std::int32_t;

inline constexpr TwoAreaCode makeTwoAreaCode(KeySet left, KeySet right) {
  return static_cast<TwoAreaCode>(static_cast<std::uint32_t>(left) |
                                  (static_cast<std::uint32_t>(right) << 16));
}
inline constexpr KeySet leftKeySetOf(TwoAreaCode code) { return code & 0xFFFF; }
inline constexpr KeySet rightKeySetOf(TwoAreaCode code) {
  return static_cast<KeySet>((static_cast<std::uint32_t>(code) >> 16) & 0xFFFF);
}

class ChordCodec {
 public:
  ChordCodec();

  // Sets the key names of both areas; without a right string the left one
  // names the keys of both hands.
  void setKeyNames(std::string_view left, std::string_view right, bool rightGiven);

  // "BRA", "RAB" and "ABRB" all give 1029; bytes that are not key letters
  // are ignored, so a text of none gives 0 (an invalid chord).
  KeySet keySetOf(std::string_view text, int area = 1) const;

  // "IF:" 4128, ":IF" 4128 << 16, "IF:IF" both; no colon gives 0 and a
  // both-hands text with other than two parts gives -1.
  TwoAreaCode twoAreaCodeOf(std::string_view text) const;

  // Letters of the set keys in bit order (1029 gives "RAB").
  std::string lettersOf(KeySet keySet, int area = 1) const;

  // Left letters, a colon, right letters.
  std::string codeText(TwoAreaCode code) const;

  // The notation material files are compared in: "IFL:IFL" -> "FLI:FLI",
  // "BRA" -> "RAB", a part without keys left as written (spaces removed).
  std::string canonicalChord(std::string_view text) const;

  // canonicalChord applied to each "|"-separated item.
  std::string canonicalList(std::string_view text) const;

 private:
  std::string keyNames_[2];
  std::int32_t bitValues_[27];  // 1-based; 1..13 and 14..26 both hold 2^0..2^12
};

}  // namespace qiru
