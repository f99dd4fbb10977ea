#pragma once
// The way of every keystroke of both machines, as the program runs it: the
// machine connection, one chord capture per side and the two reader threads
// that drive them, handing key events to one sink. Built at start-up once
// the window (for the labels and messages) exists; the match engine is the
// sink and reaches the machines through machines().

#include <optional>

#include "device/ch375_library.h"
#include "device/machine_connection.h"
#include "device/machine_labels.h"
#include "device/reader_threads.h"
#include "input/chord_capture.h"
#include "input/key_event.h"
#include "support/clock.h"
#include "support/messages.h"

namespace qiru {

class KeystrokePath {
 public:
  // Initialises the machines (connecting those present) and starts the
  // reader threads. Everything passed in must outlive the path.
  KeystrokePath(Ch375Library& library, Clock& clock, MessageService& messages, MachineLabels& labels,
                KeyEventSink& sink, SchemeSource scheme = currentScheme);
  // Stops the reader threads, then lets go of the library's routines.
  ~KeystrokePath() { stop(); }
  KeystrokePath(const KeystrokePath&) = delete;
  KeystrokePath& operator=(const KeystrokePath&) = delete;

  // Sets the stop flag and joins the reader threads; no key event is
  // delivered after it returns. Later calls do nothing.
  void stop() { readers_.reset(); }

  MachineConnection& machines() { return machines_; }

 private:
  MachineConnection machines_;
  ChordCapture red_;
  ChordCapture blue_;
  std::optional<ReaderThreads> readers_;
};

}  // namespace qiru
