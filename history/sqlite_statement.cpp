#include "history/sqlite_statement.h"

namespace qiru {

int SqliteConnection::open(const std::string& utf8Path, int flags) {
  close();
  const int result = sqlite3_open_v2(utf8Path.c_str(), &db_, flags, nullptr);
  if (result != SQLITE_OK) close();
  return result;
}

void SqliteConnection::close() {
  sqlite3_close_v2(db_);
  db_ = nullptr;
}

int SqliteConnection::execute(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }

SqliteStatement::SqliteStatement(const SqliteConnection& db, const char* sql) {
  if (sqlite3_prepare_v2(db.get(), sql, -1, &statement_, nullptr) != SQLITE_OK) statement_ = nullptr;
}

SqliteStatement& SqliteStatement::bind(int index, std::int64_t value) {
  sqlite3_bind_int64(statement_, index, value);
  return *this;
}

SqliteStatement& SqliteStatement::bind(int index, double value) {
  sqlite3_bind_double(statement_, index, value);
  return *this;
}

SqliteStatement& SqliteStatement::bind(int index, std::string_view text) {
  sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  return *this;
}

SqliteStatement& SqliteStatement::bindBlob(int index, std::string_view bytes) {
  sqlite3_bind_blob(statement_, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_STATIC);
  return *this;
}

int SqliteStatement::step() { return statement_ ? sqlite3_step(statement_) : SQLITE_MISUSE; }

void SqliteStatement::reset() {
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

std::string SqliteStatement::text(int column) const {
  const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
  return bytes ? std::string(bytes, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))) : std::string();
}

}  // namespace qiru
