// One SQLite connection. Results are SQLite's integer result codes, passed
// through; without a connection statement work returns 21 (SQLITE_MISUSE).
// The class holds no lock: the owner serialises every use of the connection
// and of the statements prepared on it.
#pragma once

#include <string>

#include "app/data/SQLiteStatement.h"

struct sqlite3;

class SQLiteDB {
 public:
  // Row callback of Exec: (argument, column count, values, names); non-zero aborts.
  using ExecCallback = int (*)(void*, int, char**, char**);

  SQLiteDB();
  // Interrupts and closes the connection. Statements that are still alive keep
  // the connection as a zombie until they are finalized, so nothing dangles.
  virtual ~SQLiteDB();
  SQLiteDB(const SQLiteDB&) = delete;
  SQLiteDB& operator=(const SQLiteDB&) = delete;

  // Interrupts and closes any open connection, then opens `path` (UTF-8) with
  // the SQLite open `flags` and runs "PRAGMA synchronous = OFF; ". Encrypted
  // databases are not supported: a non-empty `key` is refused (false) before
  // anything is touched. False also when the old connection cannot be closed
  // (it then stays open) or when the open fails (no connection afterwards).
  bool Open(const std::string& path, const std::string& key, int flags);
  // True when there is no connection afterwards; a failed close (statements
  // still alive) keeps the connection and returns false.
  bool Close();
  bool IsOpen() const { return db_ != nullptr; }

  // Finalizes what `statement` held, then compiles `sql` (`length` bytes, -1 =
  // up to the terminating zero) into it. 21 without connection or text.
  int Prepare(SQLiteStatement& statement, const char* sql, int length = -1);
  // Runs one or more statements; 21 without connection or text.
  int Exec(const char* sql, ExecCallback callback = nullptr, void* argument = nullptr);
  // Row id of the last successful insert on this connection, -1 without one.
  long long LastInsertRowId() const;

 private:
  sqlite3* db_ = nullptr;
};
