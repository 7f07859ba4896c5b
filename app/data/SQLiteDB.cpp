#include "app/data/SQLiteDB.h"

#include <sqlite3.h>

SQLiteDB::SQLiteDB() = default;

SQLiteDB::~SQLiteDB() {
  if (db_ == nullptr) return;
  sqlite3_interrupt(db_);
  if (sqlite3_close(db_) != SQLITE_OK) {
    // Statements outlive us: let SQLite free the connection with the last of them.
    sqlite3_close_v2(db_);
  }
  db_ = nullptr;
}

bool SQLiteDB::Open(const std::string& path, const std::string& key, int flags) {
  if (!key.empty()) return false;
  if (db_ != nullptr) {
    sqlite3_interrupt(db_);
    if (!Close()) return false;
  }
  sqlite3* handle = nullptr;
  if (sqlite3_open_v2(path.c_str(), &handle, flags, nullptr) != SQLITE_OK) {
    // A failed open may still hand back a handle that must be released.
    if (handle != nullptr) sqlite3_close(handle);
    return false;
  }
  db_ = handle;
  Exec("PRAGMA synchronous = OFF; ");
  return true;
}

bool SQLiteDB::Close() {
  if (db_ == nullptr) return true;
  if (sqlite3_close(db_) != SQLITE_OK) return false;
  db_ = nullptr;
  return true;
}

int SQLiteDB::Prepare(SQLiteStatement& statement, const char* sql, int length) {
  statement.Finalize();
  if (db_ == nullptr || sql == nullptr) return SQLITE_MISUSE;
  sqlite3_stmt* handle = nullptr;
  const int rc = sqlite3_prepare_v2(db_, sql, length, &handle, nullptr);
  statement.stmt_ = handle;
  return rc;
}

int SQLiteDB::Exec(const char* sql, ExecCallback callback, void* argument) {
  if (db_ == nullptr || sql == nullptr) return SQLITE_MISUSE;
  return sqlite3_exec(db_, sql, callback, argument, nullptr);
}

long long SQLiteDB::LastInsertRowId() const {
  if (db_ == nullptr) return -1;
  return sqlite3_last_insert_rowid(db_);
}
