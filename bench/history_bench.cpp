// Speed and size figures of the match history: writing one round of a
// 30-minute timed race (two sides, 9,000 entries, full key records) on the
// history's own thread, listing 10,000 stored rounds as `qiru-steno history`
// does, and the file's size per round.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "history/history_database.h"
#include "history/history_listing.h"

namespace qiru {
namespace {

constexpr std::int64_t kStartMs = 1'700'000'000'000;

// A round of `entries` entries shared out between the sides, each answered
// with two chords after one wrong chord in ten, `spacingMs` apart.
PlayedRound roundOf(MatchMode mode, std::int32_t entries, std::int64_t spacingMs, std::int64_t startMs) {
  PlayedRound round;
  round.start.settings.mode = mode;
  round.start.settings.timeLimitMs = static_cast<std::int32_t>(entries * spacingMs);
  round.start.entries = entries;
  round.start.machineNumbers = {10001, 10002};
  round.start.materialPath = "/bank/2.词语/双音词.txt";
  round.start.startedAtMs = startMs;
  round.result.mode = mode;
  std::int32_t numbers[2] = {0, 0};
  for (std::int32_t i = 0; i < entries; ++i) {
    const std::int32_t side = 1 + i % 2;
    const std::int64_t at = startMs + i * spacingMs;
    const auto chord = [&](ChordOutcome outcome) {
      round.chords.push_back({side, ++numbers[side - 1], "BOG:IBDNG", "北京", i / 2 + 1, outcome, at});
    };
    if (i % 10 == 0) chord(ChordOutcome::Open);
    chord(ChordOutcome::Open);
    chord(ChordOutcome::Answered);
    EntryEnded entry;
    entry.side = side;
    entry.position = i / 2 + 1;
    entry.text = "北京";
    entry.code = "BOG:IBDNG|BOG:IBDNG";
    entry.answerChords = 2;
    entry.shownAtMs = at - spacingMs;
    entry.endedAtMs = at;
    round.entries.push_back(std::move(entry));
  }
  round.result.scores = {entries / 2, entries - entries / 2};
  round.result.winner = 2;
  round.result.endedAtMs = startMs + entries * spacingMs;
  return round;
}

std::filesystem::path freshFile(const std::filesystem::path& folder, const char* name) {
  std::filesystem::create_directories(folder);
  const std::filesystem::path file = folder / (std::string(name) + "-" + std::to_string(::getpid()) + ".sqlite3");
  std::filesystem::remove(file);
  return file;
}

std::int64_t blobBytes(const PlayedRound& round) {
  return static_cast<std::int64_t>(keyRecordOf(round, 1).size() + keyRecordOf(round, 2).size() +
                                    entryRecordOf(round).size());
}

// On the disk the history lives on (the temporary folder), each round in
// its own committed transaction, as the history thread writes it.
void BM_WriteThirtyMinuteTimedRace(benchmark::State& state) {
  const PlayedRound round = roundOf(MatchMode::TimedRace, 9000, 200, kStartMs);
  const std::filesystem::path file = freshFile(std::filesystem::temp_directory_path(), "qiru-history-bench");
  HistoryDatabase db;
  if (db.open(file, HistoryDatabase::Access::Write) != HistoryProblem::None) {
    state.SkipWithError("cannot open the history file");
    return;
  }
  std::int64_t rounds = 0;
  for (auto _ : state) {
    if (db.writeRound(round, "0123456789ABCDEF0123456789ABCDEF") != HistoryProblem::None) {
      state.SkipWithError("write failed");
      break;
    }
    ++rounds;
  }
  db.close();
  const auto bytes = static_cast<double>(std::filesystem::file_size(file));
  state.counters["file_bytes_per_round"] = bytes / static_cast<double>(rounds);
  state.counters["record_bytes_per_round"] = static_cast<double>(blobBytes(round));
  std::filesystem::remove(file);
}
BENCHMARK(BM_WriteThirtyMinuteTimedRace)->Unit(benchmark::kMillisecond);

// 10,000 quick-answer rounds of 20 entries, written once (in memory-backed
// storage, so that making them is quick), then listed as `qiru-steno history`
// lists them: open, read every side of every round, one line each.
class StoredRounds {
 public:
  static constexpr std::int32_t kRounds = 10'000;
  StoredRounds() : file_(freshFile("/dev/shm", "qiru-history-list")) {
    std::int64_t blobs = 0;
    {
      HistoryDatabase db;
      db.open(file_, HistoryDatabase::Access::Write);
      for (std::int32_t i = 0; i < kRounds; ++i) {
        const PlayedRound round = roundOf(MatchMode::QuickAnswer, 20, 1500, kStartMs + i * 60'000LL);
        blobs += blobBytes(round);
        db.writeRound(round, "0123456789ABCDEF0123456789ABCDEF");
      }
    }  // closed: everything is in the file itself
    // Pages of every table and index but the key and entry records.
    SqliteConnection db;
    db.open(file_.string(), SQLITE_OPEN_READONLY);
    SqliteStatement pages(db, "SELECT sum(pgsize) FROM dbstat WHERE name != 'records'");
    if (pages.step() == SQLITE_ROW) bytesBesideRecords_ = static_cast<double>(pages.integer(0)) / kRounds;
    recordBytes_ = static_cast<double>(blobs) / kRounds;
  }
  ~StoredRounds() { std::filesystem::remove(file_); }
  const std::filesystem::path& file() const { return file_; }
  double bytesBesideRecords() const { return bytesBesideRecords_; }
  double recordBytes() const { return recordBytes_; }

 private:
  std::filesystem::path file_;
  double bytesBesideRecords_ = 0;
  double recordBytes_ = 0;
};

void BM_ListTenThousandRounds(benchmark::State& state) {
  static const StoredRounds stored;
  for (auto _ : state) {
    HistoryDatabase db;
    db.open(stored.file(), HistoryDatabase::Access::Read);
    const auto names = db.machineNames();
    std::string listing;
    for (const HistoryRow& row : db.rows()) listing += historyLine(row, names) + '\n';
    benchmark::DoNotOptimize(listing);
  }
  state.counters["bytes_per_round_beside_records"] = stored.bytesBesideRecords();
  state.counters["record_bytes_per_round"] = stored.recordBytes();
}
BENCHMARK(BM_ListTenThousandRounds)->Unit(benchmark::kMillisecond);

void BM_CsvOfTenThousandRounds(benchmark::State& state) {
  static const StoredRounds stored;
  for (auto _ : state) {
    HistoryDatabase db;
    db.open(stored.file(), HistoryDatabase::Access::Read);
    benchmark::DoNotOptimize(historyCsv(db.rows()));
  }
}
BENCHMARK(BM_CsvOfTenThousandRounds)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qiru
