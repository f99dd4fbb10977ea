#pragma once
// A thin hold on SQLite's C interface: a connection that closes itself and
// prepared statements that finalise themselves, with binding by position.

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace qiru {

class SqliteConnection {
 public:
  SqliteConnection() = default;
  ~SqliteConnection() { close(); }
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  // SQLite's result code; the connection stays closed unless SQLITE_OK.
  int open(const std::string& utf8Path, int flags);
  void close();
  sqlite3* get() const { return db_; }
  // Runs statements that return no rows; SQLite's result code.
  int execute(const char* sql);
  std::string lastError() const { return db_ ? sqlite3_errmsg(db_) : "no database"; }

 private:
  sqlite3* db_ = nullptr;
};

class SqliteStatement {
 public:
  SqliteStatement(const SqliteConnection& db, const char* sql);
  ~SqliteStatement() { sqlite3_finalize(statement_); }
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  bool valid() const { return statement_ != nullptr; }
  SqliteStatement& bind(int index, std::int64_t value);
  SqliteStatement& bind(int index, double value);
  SqliteStatement& bind(int index, std::string_view text);
  SqliteStatement& bindBlob(int index, std::string_view bytes);
  // SQLITE_ROW, SQLITE_DONE or an error code.
  int step();
  void reset();

  std::int64_t integer(int column) const { return sqlite3_column_int64(statement_, column); }
  double real(int column) const { return sqlite3_column_double(statement_, column); }
  std::string text(int column) const;

 private:
  sqlite3_stmt* statement_ = nullptr;
};

}  // namespace qiru
