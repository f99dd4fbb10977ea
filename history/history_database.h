#pragma once
// The match history: one SQLite file per user. Each finished or stopped
// round is written in one transaction: its match (time, mode, material name
// and MD5, settings), the round, and per side the machine number, the
// measures and the key record. The schema carries its version
// (PRAGMA user_version) and is migrated forward when opened for writing; a
// newer, damaged or foreign file is never changed.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "history/history_problem.h"
#include "history/played_round.h"
#include "history/side_measures.h"
#include "history/sqlite_statement.h"

namespace qiru {

// 1: matches, rounds, sides. 2: names for machine numbers, sides found by machine.
inline constexpr std::int32_t kHistorySchemaVersion = 2;

// One side of one stored round, as the history lists it.
struct HistoryRow {
  std::int64_t match = 0;
  std::int32_t round = 0;
  std::int64_t startedMs = 0;
  MatchMode mode = MatchMode::TimedRace;
  std::string material;  // the file's name
  std::int32_t side = 0;
  std::int32_t machine = 0;
  std::int32_t score = 0;
  std::int32_t chords = 0;
  std::int32_t wrongChords = 0;
  std::int32_t entries = 0;
  std::int32_t characters = 0;
  std::int64_t playingMs = 0;
  double charsPerMinute = 0;
  double accuracyPercent = 0;
  SideResult result = SideResult::Draw;
  bool stopped = false;
};

struct HistoryFilter {
  std::optional<std::int32_t> machine{};
  std::optional<std::int64_t> fromMs{};   // rounds started at or after
  std::optional<std::int64_t> untilMs{};  // rounds started before
};

class HistoryDatabase {
 public:
  enum class Access { Read, Write };

  // Opens the file; for writing it is created when missing and migrated
  // when older. Anything but None leaves the database closed and the file
  // unchanged.
  HistoryProblem open(const std::filesystem::path& path, Access access);
  bool isOpen() const { return db_.get() != nullptr; }
  void close() { db_.close(); }
  std::int32_t schemaVersion() const { return version_; }

  // Writes the round in one transaction; a round that is not the first of
  // its match joins the match of the round written before it.
  HistoryProblem writeRound(const PlayedRound& round, const std::string& materialMd5);
  // Why the last call failed, in SQLite's words.
  const std::string& lastError() const { return lastError_; }

  // Oldest first, red before blue.
  std::vector<HistoryRow> rows(const HistoryFilter& filter = {});
  std::map<std::int32_t, std::string> machineNames();
  // An empty name forgets the machine's name.
  HistoryProblem setMachineName(std::int32_t machine, const std::string& name);

 private:
  HistoryProblem prepareSchema(Access access);
  // Brings an older file to the current version in one transaction.
  bool migrate();
  HistoryProblem failed(HistoryProblem problem);
  bool transaction(const std::function<bool()>& work);

  SqliteConnection db_;
  std::int32_t version_ = 0;
  std::optional<std::int64_t> currentMatch_;
  std::string lastError_;
  int lastCause_ = SQLITE_OK;  // SQLite's code for the last failed transaction
};

// The round's key record of one side and its entries, as stored: one line a
// chord ("ms<TAB>number<TAB>outcome<TAB>chord<TAB>name") and one line an
// entry ("position<TAB>side<TAB>end<TAB>shown ms<TAB>ended ms<TAB>chords<TAB>
// text<TAB>code"), times from the round's start.
std::string keyRecordOf(const PlayedRound& round, std::int32_t side);
std::string entryRecordOf(const PlayedRound& round);

}  // namespace qiru
