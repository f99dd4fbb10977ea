// The match history file: rounds written and listed, the schema migrated
// forward, and files that must not be changed left as they are.

#include "history/history_database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "history/history_schema.h"
#include "history/history_writer.h"
#include "support/headless_messages.h"
#include "tests/history/round_builder.h"
#include "tests/materials/temp_folder.h"

namespace qiru {
namespace {

using testing::RoundBuilder;

PlayedRound relayRound(std::int32_t member, std::int64_t startMs, std::int32_t red, std::int32_t blue) {
  RoundBuilder built(MatchMode::TeamRelay, 1);
  built.round.start.settings.memberNumber = member;
  built.round.start.newMatch = member == 1;
  built.round.start.startedAtMs += startMs;
  built.round.result.endedAtMs += startMs;
  if (red > 0) built.chord(1, startMs + 1000, ChordOutcome::Answered).taken(1, 1, "一", 1, startMs, startMs + 1000);
  if (blue > 0) built.chord(2, startMs + 1000, ChordOutcome::Answered).taken(2, 1, "一", 1, startMs, startMs + 1000);
  built.round.result.scores = {red, blue};
  built.round.result.winner = red == blue ? 0 : (red > blue ? 1 : 2);
  built.round.result.endedAtMs = RoundBuilder::kStartMs + startMs + 2000;
  return built.round;
}

PlayedRound timedRound() {
  return RoundBuilder(MatchMode::TimedRace, 300, 60'000)
      .chord(1, 2000).chord(1, 5000, ChordOutcome::Answered).taken(1, 1, "你好", 1, 0, 5000)
      .chord(2, 6000, ChordOutcome::Answered).taken(2, 1, "你好", 1, 0, 6000)
      .chord(1, 7000, ChordOutcome::Answered).taken(1, 2, "世界", 1, 5000, 7000)
      .ended(60'100, 2, 1)
      .round;
}

struct Fixture : ::testing::Test {
  TempFolder folder;
  std::filesystem::path file = folder.path() / "history.sqlite3";
};

using HistoryDatabaseTest = Fixture;

TEST_F(HistoryDatabaseTest, RoundsAreListedOneRowPerSideWithTheirMeasures) {
  HistoryDatabase db;
  ASSERT_EQ(db.open(file, HistoryDatabase::Access::Write), HistoryProblem::None);
  ASSERT_EQ(db.writeRound(timedRound(), "MD5"), HistoryProblem::None);
  ASSERT_EQ(db.writeRound(relayRound(1, 100'000, 1, 0), "MD5"), HistoryProblem::None);
  ASSERT_EQ(db.writeRound(relayRound(2, 200'000, 0, 1), "MD5"), HistoryProblem::None);

  HistoryDatabase reader;
  ASSERT_EQ(reader.open(file, HistoryDatabase::Access::Read), HistoryProblem::None);
  const std::vector<HistoryRow> rows = reader.rows();
  ASSERT_EQ(rows.size(), 6u);
  const HistoryRow& red = rows[0];
  EXPECT_EQ(red.match, 1);
  EXPECT_EQ(red.round, 1);
  EXPECT_EQ(red.side, 1);
  EXPECT_EQ(red.machine, 10001);
  EXPECT_EQ(red.material, "词语.txt");
  EXPECT_EQ(red.score, 2);
  EXPECT_EQ(red.chords, 3);
  EXPECT_EQ(red.wrongChords, 1);
  EXPECT_EQ(red.characters, 4);
  EXPECT_EQ(red.playingMs, 60'000);
  EXPECT_NEAR(red.accuracyPercent, 66.667, 0.001);
  EXPECT_EQ(red.result, SideResult::Win);
  EXPECT_EQ(rows[1].result, SideResult::Loss);
  // The relay's two members are rounds 1 and 2 of one match.
  EXPECT_EQ(rows[2].match, 2);
  EXPECT_EQ(rows[4].match, 2);
  EXPECT_EQ(rows[4].round, 2);
  EXPECT_EQ(rows[5].result, SideResult::Win);

  EXPECT_EQ(reader.rows({.machine = 10002}).size(), 3u);
  EXPECT_EQ(reader.rows({.machine = 4}).size(), 0u);
  const std::int64_t relayStart = RoundBuilder::kStartMs + 100'000;
  EXPECT_EQ(reader.rows({.fromMs = relayStart}).size(), 4u);
  EXPECT_EQ(reader.rows({.fromMs = relayStart, .untilMs = relayStart + 1}).size(), 2u);
}

TEST_F(HistoryDatabaseTest, KeyRecordsAndEntriesAreStoredLineByLine) {
  const PlayedRound round = timedRound();
  EXPECT_EQ(keyRecordOf(round, 1), "2000\t1\t0\tA:\ta\n5000\t2\t1\tA:\ta\n7000\t3\t1\tA:\ta\n");
  EXPECT_EQ(entryRecordOf(round), "1\t1\t0\t0\t5000\t1\t你好\tCODE1\n1\t2\t0\t0\t6000\t1\t你好\tCODE1\n"
                                  "2\t1\t0\t5000\t7000\t1\t世界\tCODE2\n");
}

TEST_F(HistoryDatabaseTest, AnOlderFileIsMigratedForwardAndKeepsItsRounds) {
  {
    SqliteConnection old;
    ASSERT_EQ(old.open(file.string(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE), SQLITE_OK);
    ASSERT_EQ(old.execute(kHistorySchemaSteps[0]), SQLITE_OK);
    ASSERT_EQ(old.execute("PRAGMA user_version = 1"), SQLITE_OK);
    ASSERT_EQ(old.execute("INSERT INTO matches VALUES(1, 5, 2, 'a.txt', '', 0, 20, 0, 1);"
                          "INSERT INTO rounds VALUES(1, 1, 1, 5, 9, 0, 20, 3, 4);"
                          "INSERT INTO sides VALUES(1, 1, 10001, 3, 0, 3, 3, 3, 0, 0, 4, 1.0, 1.0, 100.0, 0);"),
              SQLITE_OK);
  }
  HistoryDatabase db;
  ASSERT_EQ(db.open(file, HistoryDatabase::Access::Write), HistoryProblem::None);
  EXPECT_EQ(db.schemaVersion(), kHistorySchemaVersion);
  ASSERT_EQ(db.rows().size(), 1u);
  EXPECT_EQ(db.rows()[0].score, 3);
  ASSERT_EQ(db.setMachineName(10001, "张三"), HistoryProblem::None);
  EXPECT_EQ(db.machineNames().at(10001), "张三");
  ASSERT_EQ(db.setMachineName(10001, ""), HistoryProblem::None);
  EXPECT_TRUE(db.machineNames().empty());
}

// Files the program must not change, each made by a recipe.
struct UntouchableCase {
  const char* name;
  HistoryProblem expected;
  void (*make)(const std::filesystem::path& file);
};

void sqliteWith(const std::filesystem::path& file, const char* sql) {
  SqliteConnection db;
  ASSERT_EQ(db.open(file.string(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE), SQLITE_OK);
  ASSERT_EQ(db.execute(sql), SQLITE_OK) << db.lastError();
}

const UntouchableCase kUntouchable[] = {
    {"not SQLite", HistoryProblem::Damaged,
     [](const std::filesystem::path& f) {
       std::ofstream(f, std::ios::binary) << std::string(4096, 'x');
     }},
    {"broken header", HistoryProblem::Damaged,
     [](const std::filesystem::path& f) {
       sqliteWith(f, "CREATE TABLE t(x); PRAGMA user_version = 2;");
       std::string bytes = readBytes(f);
       bytes.replace(16, 2, "\x03\x00", 2);  // a page size SQLite does not know
       std::ofstream(f, std::ios::binary) << bytes;
     }},
    {"newer version", HistoryProblem::Newer,
     [](const std::filesystem::path& f) { sqliteWith(f, "CREATE TABLE future(x); PRAGMA user_version = 99;"); }},
    {"another program's", HistoryProblem::NotHistory,
     [](const std::filesystem::path& f) { sqliteWith(f, "CREATE TABLE addresses(name, street);"); }},
};

TEST_F(HistoryDatabaseTest, DamagedNewerAndForeignFilesAreNeverChanged) {
  for (const UntouchableCase& c : kUntouchable) {
    SCOPED_TRACE(c.name);
    const std::filesystem::path f = folder.path() / (std::string(c.name) + ".sqlite3");
    c.make(f);
    const std::string before = readBytes(f);
    HistoryDatabase db;
    EXPECT_EQ(db.open(f, HistoryDatabase::Access::Write), c.expected);
    EXPECT_FALSE(db.isOpen());
    EXPECT_EQ(db.writeRound(timedRound(), ""), HistoryProblem::WriteFailed);
    EXPECT_EQ(readBytes(f), before);
    for (const char* beside : {"-journal", "-wal", "-shm"}) EXPECT_FALSE(std::filesystem::exists(f.string() + beside));
    EXPECT_FALSE(historyProblemText(c.expected, f).empty());
  }
}

// Opens the file for writing as a user who may read it but not write it:
// as root, in a child that has given up root.
HistoryProblem openAsReader(const std::filesystem::path& file) {
  if (getuid() != 0) {
    chmod(file.c_str(), 0444);
    HistoryDatabase db;
    return db.open(file, HistoryDatabase::Access::Write);
  }
  chmod(file.parent_path().c_str(), 0755);
  chmod(file.c_str(), 0644);
  const pid_t child = fork();
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(100);
    HistoryDatabase db;
    _exit(static_cast<int>(db.open(file, HistoryDatabase::Access::Write)));
  }
  int status = 0;
  waitpid(child, &status, 0);
  return static_cast<HistoryProblem>(WEXITSTATUS(status));
}

TEST_F(HistoryDatabaseTest, AReadOnlyFileIsReportedAndLeftAlone) {
  {
    HistoryDatabase db;
    ASSERT_EQ(db.open(file, HistoryDatabase::Access::Write), HistoryProblem::None);
    ASSERT_EQ(db.writeRound(timedRound(), ""), HistoryProblem::None);
  }
  const std::string before = readBytes(file);
  EXPECT_EQ(openAsReader(file), HistoryProblem::ReadOnly);
  EXPECT_EQ(readBytes(file), before);
}

TEST_F(HistoryDatabaseTest, ReadingAMissingHistoryCreatesNothing) {
  HistoryDatabase db;
  EXPECT_EQ(db.open(file, HistoryDatabase::Access::Read), HistoryProblem::Missing);
  EXPECT_FALSE(std::filesystem::exists(file));
}

using HistoryWriterTest = Fixture;

TEST_F(HistoryWriterTest, WritesHandedOverRoundsOnItsOwnThread) {
  {
    HistoryWriter writer(file, nullptr);
    RoundCollector& collector = static_cast<RoundCollector&>(writer.observer());
    const PlayedRound round = timedRound();
    collector.onRoundStarted(round.start);
    for (const ChordJudged& chord : round.chords) collector.onChordJudged(chord);
    for (const EntryEnded& entry : round.entries) collector.onEntryEnded(entry);
    collector.onRoundEnded(round.result);
    writer.flush();
    EXPECT_EQ(writer.problem(), HistoryProblem::None);
  }
  HistoryDatabase db;
  ASSERT_EQ(db.open(file, HistoryDatabase::Access::Read), HistoryProblem::None);
  EXPECT_EQ(db.rows().size(), 2u);
}

TEST_F(HistoryWriterTest, ADamagedFileIsToldOnceAndTheRoundsAreDropped) {
  kUntouchable[0].make(file);
  const std::string before = readBytes(file);
  HeadlessMessages messages;
  {
    HistoryWriter writer(file, &messages);
    writer.submit(timedRound());
    writer.submit(timedRound());
    writer.flush();
    EXPECT_EQ(writer.problem(), HistoryProblem::Damaged);
  }
  ASSERT_EQ(messages.records().size(), 1u);
  EXPECT_NE(messages.records()[0].request.text.find("已损坏"), std::string::npos);
  EXPECT_NE(messages.records()[0].request.text.find(file.string()), std::string::npos);
  EXPECT_EQ(readBytes(file), before);
}

}  // namespace
}  // namespace qiru
