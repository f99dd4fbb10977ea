#include "history/history_database.h"

#include <system_error>

#include "device/side.h"
#include "history/history_schema.h"
#include "materials/utf8_path.h"

namespace qiru {
namespace {

HistoryProblem problemOf(int sqliteResult, HistoryProblem otherwise) {
  switch (sqliteResult & 0xFF) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return HistoryProblem::Damaged;
    case SQLITE_READONLY:
    case SQLITE_PERM:
      return HistoryProblem::ReadOnly;
    default:
      return otherwise;
  }
}

void appendField(std::string& out, std::int64_t value) {
  out += std::to_string(value);
  out += '\t';
}

// Tabs and line breaks would split a stored line; the program's texts carry none.
void appendText(std::string& out, std::string_view text, char end) {
  for (const char c : text) out += (c == '\t' || c == '\n' || c == '\r') ? ' ' : c;
  out += end;
}

}  // namespace

std::string keyRecordOf(const PlayedRound& round, std::int32_t side) {
  std::string out;
  for (const ChordJudged& chord : round.chords) {
    if (chord.side != side) continue;
    appendField(out, chord.atMs - round.start.startedAtMs);
    appendField(out, chord.number);
    appendField(out, static_cast<std::int64_t>(chord.outcome));
    appendText(out, chord.chord, '\t');
    appendText(out, chord.name, '\n');
  }
  return out;
}

std::string entryRecordOf(const PlayedRound& round) {
  std::string out;
  for (const EntryEnded& entry : round.entries) {
    appendField(out, entry.position);
    appendField(out, entry.side);
    appendField(out, static_cast<std::int64_t>(entry.end));
    appendField(out, entry.shownAtMs - round.start.startedAtMs);
    appendField(out, entry.endedAtMs - round.start.startedAtMs);
    appendField(out, entry.answerChords);
    appendText(out, entry.text, '\t');
    appendText(out, entry.code, '\n');
  }
  return out;
}

HistoryProblem HistoryDatabase::failed(HistoryProblem problem) {
  lastError_ = db_.lastError();
  db_.close();
  return problem;
}

HistoryProblem HistoryDatabase::open(const std::filesystem::path& path, Access access) {
  db_.close();
  currentMatch_.reset();
  std::error_code error;
  const bool exists = std::filesystem::exists(path, error);
  if (!exists && access == Access::Read) return HistoryProblem::Missing;
  int flags = access == Access::Write ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
  if (!exists) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), error);
    flags |= SQLITE_OPEN_CREATE;
  }
  if (const int result = db_.open(utf8Of(path), flags); result != SQLITE_OK) {
    return problemOf(result, exists ? HistoryProblem::CannotOpen : HistoryProblem::CannotCreate);
  }
  // A file that exists only as a folder, say, opens but cannot be read.
  if (exists && std::filesystem::is_directory(path, error)) return failed(HistoryProblem::CannotOpen);
  // SQLite falls back to reading a file it may not write.
  if (access == Access::Write && sqlite3_db_readonly(db_.get(), "main") == 1) return failed(HistoryProblem::ReadOnly);
  return prepareSchema(access);
}

HistoryProblem HistoryDatabase::prepareSchema(Access access) {
  db_.execute("PRAGMA foreign_keys = ON");
  SqliteStatement version(db_, "PRAGMA user_version");
  SqliteStatement tables(db_, "SELECT count(*) FROM sqlite_master");
  // Reading the header and the schema is where a file that is not SQLite, or a broken one, shows.
  if (const int result = version.step(); result != SQLITE_ROW) return failed(problemOf(result, HistoryProblem::Damaged));
  if (const int result = tables.step(); result != SQLITE_ROW) return failed(problemOf(result, HistoryProblem::Damaged));
  version_ = static_cast<std::int32_t>(version.integer(0));
  if (version_ > kHistorySchemaVersion) return failed(HistoryProblem::Newer);
  if (version_ == 0 && tables.integer(0) != 0) return failed(HistoryProblem::NotHistory);
  if (access == Access::Read) return HistoryProblem::None;
  if (version_ < kHistorySchemaVersion && !migrate()) {
    return failed(problemOf(lastCause_, HistoryProblem::Damaged));
  }
  // A round's transaction then costs one write of the log and no wait for the
  // disk at every commit; a crash can lose the last rounds, never break the file.
  db_.execute("PRAGMA journal_mode = WAL");
  db_.execute("PRAGMA synchronous = NORMAL");
  return HistoryProblem::None;
}

bool HistoryDatabase::migrate() {
  const bool done = transaction([&] {
    for (std::int32_t step = version_; step < kHistorySchemaVersion; ++step) {
      if (db_.execute(kHistorySchemaSteps[static_cast<std::size_t>(step)]) != SQLITE_OK) return false;
    }
    const std::string setVersion = "PRAGMA user_version = " + std::to_string(kHistorySchemaVersion);
    return db_.execute(setVersion.c_str()) == SQLITE_OK;
  });
  if (done) version_ = kHistorySchemaVersion;
  return done;
}

bool HistoryDatabase::transaction(const std::function<bool()>& work) {
  if (db_.execute("BEGIN IMMEDIATE") != SQLITE_OK) {
    lastError_ = db_.lastError();
    lastCause_ = sqlite3_errcode(db_.get());
    return false;
  }
  if (work() && db_.execute("COMMIT") == SQLITE_OK) return true;
  lastError_ = db_.lastError();
  lastCause_ = sqlite3_errcode(db_.get());
  db_.execute("ROLLBACK");
  return false;
}

HistoryProblem HistoryDatabase::writeRound(const PlayedRound& round, const std::string& materialMd5) {
  if (!isOpen()) return HistoryProblem::WriteFailed;
  const RoundStarted& start = round.start;
  const bool newMatch = start.newMatch || !currentMatch_;
  std::int64_t match = currentMatch_.value_or(0);
  const bool done = transaction([&] {
    if (newMatch) {
      SqliteStatement insert(db_,
                             "INSERT INTO matches(started_ms, mode, material, material_md5, time_limit_ms,"
                             " entry_limit, flash_ms, team_size) VALUES(?,?,?,?,?,?,?,?)");
      const MatchSettings& s = start.settings;
      insert.bind(1, start.startedAtMs).bind(2, std::int64_t{static_cast<std::int32_t>(s.mode)});
      insert.bind(3, utf8Of(pathFromUtf8(start.materialPath).filename())).bind(4, materialMd5);
      insert.bind(5, std::int64_t{s.timeLimitMs}).bind(6, std::int64_t{s.entryLimit});
      insert.bind(7, std::int64_t{s.flashMs}).bind(8, std::int64_t{s.teamSize});
      if (insert.step() != SQLITE_DONE) return false;
      match = sqlite3_last_insert_rowid(db_.get());
    }
    SqliteStatement insertRound(db_,
                                "INSERT INTO rounds(match_id, round, started_ms, ended_ms, stopped, entries_loaded,"
                                " red_score, blue_score) VALUES(?,?,?,?,?,?,?,?)");
    insertRound.bind(1, match).bind(2, std::int64_t{start.settings.memberNumber}).bind(3, start.startedAtMs);
    insertRound.bind(4, round.result.endedAtMs).bind(5, std::int64_t{round.result.stopped});
    insertRound.bind(6, std::int64_t{start.entries}).bind(7, std::int64_t{round.result.scores[0]});
    insertRound.bind(8, std::int64_t{round.result.scores[1]});
    if (insertRound.step() != SQLITE_DONE) return false;
    const std::int64_t roundId = sqlite3_last_insert_rowid(db_.get());
    SqliteStatement insertSide(db_,
                               "INSERT INTO sides(round_id, side, machine, score, result, entries, characters, chords,"
                               " wrong_chords, timed_out, playing_ms, chars_per_minute, chords_per_minute, accuracy,"
                               " median_answer_ms) VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    for (const std::int32_t side : {kRedSide, kBlueSide}) {
      const SideMeasures m = measureSide(round, side);
      insertSide.reset();
      insertSide.bind(1, roundId).bind(2, std::int64_t{side}).bind(3, std::int64_t{m.machine});
      insertSide.bind(4, std::int64_t{m.score}).bind(5, std::int64_t{static_cast<std::int32_t>(m.result)});
      insertSide.bind(6, std::int64_t{m.entries}).bind(7, std::int64_t{m.characters});
      insertSide.bind(8, std::int64_t{m.chords}).bind(9, std::int64_t{m.wrongChords});
      insertSide.bind(10, std::int64_t{m.timedOut}).bind(11, m.playingMs).bind(12, m.charsPerMinute);
      insertSide.bind(13, m.chordsPerMinute).bind(14, m.accuracyPercent).bind(15, m.medianAnswerMs);
      if (insertSide.step() != SQLITE_DONE) return false;
    }
    const std::string entries = entryRecordOf(round);
    const std::string redKeys = keyRecordOf(round, kRedSide);
    const std::string blueKeys = keyRecordOf(round, kBlueSide);
    SqliteStatement insertRecords(db_, "INSERT INTO records(round_id, entries, red_keys, blue_keys) VALUES(?,?,?,?)");
    insertRecords.bind(1, roundId).bindBlob(2, entries).bindBlob(3, redKeys).bindBlob(4, blueKeys);
    return insertRecords.step() == SQLITE_DONE;
  });
  if (!done) return problemOf(lastCause_, HistoryProblem::WriteFailed);
  currentMatch_ = match;
  return HistoryProblem::None;
}

std::vector<HistoryRow> HistoryDatabase::rows(const HistoryFilter& filter) {
  std::vector<HistoryRow> rows;
  if (!isOpen()) return rows;
  SqliteStatement select(db_,
                         "SELECT r.match_id, r.round, r.started_ms, m.mode, m.material, s.side, s.machine, s.score,"
                         " s.chords, s.wrong_chords, s.entries, s.characters, s.playing_ms, s.chars_per_minute,"
                         " s.accuracy, s.result, r.stopped"
                         " FROM sides s JOIN rounds r ON r.id = s.round_id JOIN matches m ON m.id = r.match_id"
                         " WHERE (?1 IS NULL OR s.machine = ?1) AND (?2 IS NULL OR r.started_ms >= ?2)"
                         " AND (?3 IS NULL OR r.started_ms < ?3)"
                         " ORDER BY r.started_ms, r.id, s.side");
  if (filter.machine) select.bind(1, std::int64_t{*filter.machine});
  if (filter.fromMs) select.bind(2, *filter.fromMs);
  if (filter.untilMs) select.bind(3, *filter.untilMs);
  while (select.step() == SQLITE_ROW) {
    HistoryRow row;
    row.match = select.integer(0);
    row.round = static_cast<std::int32_t>(select.integer(1));
    row.startedMs = select.integer(2);
    row.mode = static_cast<MatchMode>(select.integer(3));
    row.material = select.text(4);
    row.side = static_cast<std::int32_t>(select.integer(5));
    row.machine = static_cast<std::int32_t>(select.integer(6));
    row.score = static_cast<std::int32_t>(select.integer(7));
    row.chords = static_cast<std::int32_t>(select.integer(8));
    row.wrongChords = static_cast<std::int32_t>(select.integer(9));
    row.entries = static_cast<std::int32_t>(select.integer(10));
    row.characters = static_cast<std::int32_t>(select.integer(11));
    row.playingMs = select.integer(12);
    row.charsPerMinute = select.real(13);
    row.accuracyPercent = select.real(14);
    row.result = static_cast<SideResult>(select.integer(15));
    row.stopped = select.integer(16) != 0;
    rows.push_back(std::move(row));
  }
  return rows;
}

std::map<std::int32_t, std::string> HistoryDatabase::machineNames() {
  std::map<std::int32_t, std::string> names;
  if (!isOpen() || version_ < 2) return names;
  SqliteStatement select(db_, "SELECT machine, name FROM machine_names");
  while (select.step() == SQLITE_ROW) names[static_cast<std::int32_t>(select.integer(0))] = select.text(1);
  return names;
}

HistoryProblem HistoryDatabase::setMachineName(std::int32_t machine, const std::string& name) {
  if (!isOpen() || version_ < 2) return HistoryProblem::WriteFailed;
  SqliteStatement change(db_, name.empty() ? "DELETE FROM machine_names WHERE machine = ?1"
                                           : "INSERT OR REPLACE INTO machine_names(machine, name) VALUES(?1, ?2)");
  change.bind(1, std::int64_t{machine});
  if (!name.empty()) change.bind(2, name);
  const int result = change.step();
  if (result != SQLITE_DONE) {
    lastError_ = db_.lastError();
    return problemOf(result, HistoryProblem::WriteFailed);
  }
  return HistoryProblem::None;
}

}  // namespace qiru
