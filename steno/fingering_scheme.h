#pragma once
// The decoding tables of the fingering scheme: the syllable dictionary, the
// chord codec, ten code maps keyed by chord value and the text pool that
// holds the sections' texts. Built once at start-up, read-only afterwards:
// the reader threads decode against it without a lock.

#include <cstdint>
#include <memory>
#include <string_view>

#include "steno/chord_codec.h"
#include "steno/syllable_dictionary.h"
#include "support/code_map.h"
#include "support/messages.h"
#include "support/text_pool.h"

namespace qiru {

// Texts of the scheme's sections, numbered in the order of the scheme's lines.
using SchemeTextPool = TextPool;

struct FingeringScheme {
  SyllableDictionary dictionary;
  ChordCodec codec;

  // Keyed by one-hand key sets.
  CodeMap syllableMap;       // [音节码]: syllable number
  CodeMap specialMap;        // [特定码]: pool number of the characters; the pinyin follows
  CodeMap shapeMap;          // [内置形码]: pool number of the shape character
  CodeMap englishMap;        // [内置英文]: pool number of the letter
  CodeMap toneMap;           // [声调编码]: tone number
  CodeMap leftFunctionMap;   // [左区功能键]: pool number of the name
  CodeMap rightFunctionMap;  // [右区功能键]: pool number of the name
  // Keyed by two-area codes.
  CodeMap functionMap;       // [内部功能键] and [播放器控制]: pool number of the name
  CodeMap repeatMap;         // [连发功能键]: pool number of the key token
  CodeMap forwardMap;        // [转发功能键]: pool number of the key token

  SchemeTextPool schemeTextPool;
};

// Caption of the box that reports a bad scheme line.
inline constexpr std::string_view kSchemeErrorCaption = "配置定义错误";

// Fills `scheme` from a scheme text (GBK bytes, CR LF lines) and a syllable
// dictionary block. Bad lines are reported through `messages` (when given)
// and skipped; loading never stops. Always true.
bool loadFingeringScheme(FingeringScheme& scheme, std::string_view schemeGbk,
                         std::string_view dictionaryBlock, MessageService* messages);

// The tables the decoder reads. Until a scheme is published they are empty,
// so a chord decoded that early comes out as its letters.
const FingeringScheme& currentScheme();

// Makes a completely loaded scheme the current one. The scheme lives until
// the process ends, so a reader that still holds the previous one is safe.
void publishScheme(std::unique_ptr<FingeringScheme> scheme);

}  // namespace qiru
