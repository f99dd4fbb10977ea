#include "input/keystroke_path.h"

#include <utility>

namespace qiru {

KeystrokePath::KeystrokePath(Ch375Library& library, Clock& clock, MessageService& messages, MachineLabels& labels,
                             KeyEventSink& sink, SchemeSource scheme)
    : machines_(library, clock, messages, labels),
      red_(kRedSide, machines_.queue(kRedSide), sink, scheme),
      blue_(kBlueSide, machines_.queue(kBlueSide), sink, std::move(scheme)) {
  machines_.initialise();
  readers_.emplace(clock, machines_, std::array<ReportConsumer*, kSideCount>{&red_, &blue_});
}

}  // namespace qiru
