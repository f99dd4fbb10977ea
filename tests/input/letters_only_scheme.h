#pragma once
// A fingering scheme with no tables: every chord decodes to its letters, so
// that a key event's name is its chord.

#include "steno/fingering_scheme.h"

namespace qiru::testing {

inline const FingeringScheme& lettersOnly() {
  static const FingeringScheme scheme;
  return scheme;
}

}  // namespace qiru::testing
