// One compiled SQLite statement. Results are SQLite's own result codes, passed
// through; without a compiled statement every call returns 21 (SQLITE_MISUSE)
// and column reads give 0 or no text. Not thread-safe: the owner serialises use.
#pragma once

struct sqlite3_stmt;

class SQLiteStatement {
 public:
  SQLiteStatement();
  virtual ~SQLiteStatement();  // finalizes the compiled statement
  SQLiteStatement(const SQLiteStatement&) = delete;
  SQLiteStatement& operator=(const SQLiteStatement&) = delete;

  // Binds parameter `index` (1-based).
  int BindInt(int index, int value);
  // Binds `length` UTF-8 bytes without copying them: the caller keeps `utf8`
  // alive until the statement has been stepped for the last time.
  int BindText(int index, const char* utf8, int length);

  // Runs one step. 100 = a row is ready, 101 = done (sets the done flag).
  int Step();

  // Column reads (0-based) of the current row.
  int ColumnInt(int column) const;
  // UTF-8 text owned by SQLite until the next Step or finalize; null for SQL NULL
  // or without a statement.
  const char* ColumnText(int column) const;

  // 1 after construction, after finalizing and after a step reported 101;
  // 0 after a step delivered a row.
  int IsDone() const { return done_; }
  bool HasStatement() const { return stmt_ != nullptr; }

 private:
  friend class SQLiteDB;
  // Finalizes the held statement and forgets it.
  void Finalize();

  int done_ = 1;
  sqlite3_stmt* stmt_ = nullptr;
};
