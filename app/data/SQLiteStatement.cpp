#include "app/data/SQLiteStatement.h"

#include <sqlite3.h>

namespace {
constexpr int kMisuse = SQLITE_MISUSE;
}

SQLiteStatement::SQLiteStatement() = default;

SQLiteStatement::~SQLiteStatement() { Finalize(); }

void SQLiteStatement::Finalize() {
  if (stmt_ == nullptr) return;
  // sqlite3_finalize frees the statement whatever it returns (a non-zero result
  // only repeats the error of the last step), so the handle is always gone.
  sqlite3_finalize(stmt_);
  stmt_ = nullptr;
  done_ = 1;
}

int SQLiteStatement::BindInt(int index, int value) {
  if (stmt_ == nullptr) return kMisuse;
  return sqlite3_bind_int(stmt_, index, value);
}

int SQLiteStatement::BindText(int index, const char* utf8, int length) {
  if (stmt_ == nullptr) return kMisuse;
  return sqlite3_bind_text(stmt_, index, utf8, length, SQLITE_STATIC);
}

int SQLiteStatement::Step() {
  if (stmt_ == nullptr) return kMisuse;
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_DONE) {
    done_ = 1;
  } else if (rc == SQLITE_ROW) {
    done_ = 0;
  }
  return rc;
}

int SQLiteStatement::ColumnInt(int column) const {
  if (stmt_ == nullptr) return 0;
  return sqlite3_column_int(stmt_, column);
}

const char* SQLiteStatement::ColumnText(int column) const {
  if (stmt_ == nullptr) return nullptr;
  return reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
}
