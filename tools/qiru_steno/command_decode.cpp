// qiru-steno decode CHORD...: what the built-in scheme makes of each chord.

#include <ostream>

#include "steno/builtin_scheme.h"
#include "steno/chord_decoder.h"
#include "tools/qiru_steno/command.h"
#include "tools/qiru_steno/stream_messages.h"

namespace qiru::cli {
namespace {

int runDecode(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << "qiru-steno decode: name at least one chord, such as BA:FL, :I or RNO:\n";
    return kUsageError;
  }
  const ChordCodec codec;
  for (const std::string& chord : args) {
    if (chord.find(':') == std::string::npos) {
      err << "qiru-steno decode: \"" << chord
          << "\" has no colon; write the left-hand keys, a colon, then the right-hand keys"
             " (BA:FL, :I for the right hand alone, RNO: for the left hand alone)\n";
      return kUsageError;
    }
    if (codec.twoAreaCodeOf(chord) < 0) {
      err << "qiru-steno decode: \"" << chord
          << "\" has more than one colon between keys; a chord has a left and a right hand only\n";
      return kUsageError;
    }
  }
  StreamMessages messages(err);
  loadFingeringScheme(&messages);
  const FingeringScheme& scheme = currentScheme();
  for (const std::string& chord : args) {
    const TwoAreaCode code = codec.twoAreaCodeOf(chord);
    std::string codeText;
    const std::string output = decodeChord(scheme, leftKeySetOf(code), rightKeySetOf(code), code, codeText);
    out << codeText << '\t' << output << '\n';
  }
  return 0;
}

}  // namespace

extern const Command kDecodeCommand{
    "decode",
    "decode CHORD...",
    "Prints, for each CHORD, its code text, a TAB and what the built-in fingering\n"
    "scheme makes of it (a syllable, characters, a function name or the letters).\n"
    "A CHORD is written as left-hand keys, a colon, right-hand keys, using the key\n"
    "names RHANVFLUOGBDI: BA:FL, :I, RNO:, IFL:IFL. Other letters are ignored.\n"
    "Exit status 2 when a CHORD has no colon.",
    runDecode,
};

}  // namespace qiru::cli
