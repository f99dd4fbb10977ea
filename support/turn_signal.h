#pragma once
// Hands the turn of a virtual clock from one thread to the next without the
// clock's lock: the giver sets the signal, and only when the taker has gone
// to sleep does the giver ask the kernel to wake it; a taker that finds the
// signal already given goes on without sleeping. (Watching the signal in a
// loop before sleeping was tried: on a machine whose cores are busy it makes
// a simulation several times slower, the watchers taking the cores from the
// thread that has the turn.)

#include <atomic>
#include <cstdint>

namespace qiru {

class TurnSignal {
 public:
  TurnSignal() = default;
  TurnSignal(const TurnSignal&) = delete;
  TurnSignal& operator=(const TurnSignal&) = delete;

  // Lets the thread in take() go on (or the next take() return at once).
  void give();
  // Blocks until give(), then resets the signal for the next turn.
  void take();

 private:
  bool takeIfGiven();

  static constexpr std::uint32_t kIdle = 0;
  static constexpr std::uint32_t kGiven = 1;
  static constexpr std::uint32_t kSleeping = 2;
  std::atomic<std::uint32_t> state_{kIdle};
};

}  // namespace qiru
