#pragma once
// Keeps the match history on a thread of its own: the match's events are
// collected as they happen (on the engine's threads, without waiting), and
// each finished round is handed to the writer thread, which opens the file
// when it starts, works out the measures and writes the round in one
// transaction. A file that cannot be kept is reported once through the
// message service; the match goes on and nothing more is written.

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>

#include "history/history_database.h"
#include "history/played_round.h"
#include "support/messages.h"

namespace qiru {

// How long the box about a history problem stays up.
inline constexpr int kHistoryMessageMs = 10'000;

class HistoryWriter {
 public:
  // `messages` may be null: problems are then only kept in problem().
  HistoryWriter(std::filesystem::path path, MessageService* messages);
  // Writes what was handed over, then ends its thread.
  ~HistoryWriter();
  HistoryWriter(const HistoryWriter&) = delete;
  HistoryWriter& operator=(const HistoryWriter&) = delete;

  // Add to the match engine: it collects the rounds for this writer.
  MatchObserver& observer() { return collector_; }
  // Hands a finished round over; returns at once.
  void submit(PlayedRound&& round);
  // Gives the machine number a name (empty: none), on the writer's thread.
  void nameMachine(std::int32_t machine, std::string name);
  // Returns when every round handed over so far has been written or dropped.
  void flush();
  HistoryProblem problem() const;
  const std::filesystem::path& path() const { return path_; }

 private:
  void run();
  void write(const PlayedRound& round);
  void queue(std::function<void()> task);
  void report(HistoryProblem problem, const std::string& detail);

  const std::filesystem::path path_;
  MessageService* messages_;
  RoundCollector collector_;
  HistoryDatabase database_;  // the writer thread's own

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable done_;
  std::deque<std::function<void()>> waiting_;  // guarded by mutex_
  bool writing_ = true;              // guarded by mutex_; opening counts as writing
  bool stopping_ = false;            // guarded by mutex_
  HistoryProblem problem_ = HistoryProblem::None;  // guarded by mutex_
  std::thread thread_;
};

}  // namespace qiru
