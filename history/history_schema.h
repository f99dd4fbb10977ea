#pragma once
// The history file's schema, one step per version: step n brings a file of
// version n-1 to version n. A new version adds a step; old steps never change.

#include <array>

namespace qiru {

inline constexpr std::array<const char*, 2> kHistorySchemaSteps = {
    // 0 -> 1
    "CREATE TABLE matches("
    " id INTEGER PRIMARY KEY, started_ms INTEGER NOT NULL, mode INTEGER NOT NULL,"
    " material TEXT NOT NULL, material_md5 TEXT NOT NULL, time_limit_ms INTEGER NOT NULL,"
    " entry_limit INTEGER NOT NULL, flash_ms INTEGER NOT NULL, team_size INTEGER NOT NULL);"
    "CREATE TABLE rounds("
    " id INTEGER PRIMARY KEY, match_id INTEGER NOT NULL REFERENCES matches(id), round INTEGER NOT NULL,"
    " started_ms INTEGER NOT NULL, ended_ms INTEGER NOT NULL, stopped INTEGER NOT NULL,"
    " entries_loaded INTEGER NOT NULL, red_score INTEGER NOT NULL, blue_score INTEGER NOT NULL);"
    "CREATE INDEX rounds_by_start ON rounds(started_ms, id);"
    "CREATE TABLE sides("
    " round_id INTEGER NOT NULL REFERENCES rounds(id), side INTEGER NOT NULL, machine INTEGER NOT NULL,"
    " score INTEGER NOT NULL, result INTEGER NOT NULL, entries INTEGER NOT NULL, characters INTEGER NOT NULL,"
    " chords INTEGER NOT NULL, wrong_chords INTEGER NOT NULL, timed_out INTEGER NOT NULL,"
    " playing_ms INTEGER NOT NULL, chars_per_minute REAL NOT NULL, chords_per_minute REAL NOT NULL,"
    " accuracy REAL NOT NULL, median_answer_ms INTEGER NOT NULL,"
    " PRIMARY KEY(round_id, side));"
    // The records apart, so that listing the rounds reads only the measures.
    "CREATE TABLE records("
    " round_id INTEGER PRIMARY KEY REFERENCES rounds(id), entries BLOB NOT NULL,"
    " red_keys BLOB NOT NULL, blue_keys BLOB NOT NULL);",
    // 1 -> 2
    "CREATE TABLE machine_names(machine INTEGER PRIMARY KEY, name TEXT NOT NULL);"
    "CREATE INDEX sides_by_machine ON sides(machine);",
};

}  // namespace qiru
