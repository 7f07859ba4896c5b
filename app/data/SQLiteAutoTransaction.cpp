#include "app/data/SQLiteAutoTransaction.h"

#include "app/data/SQLiteDB.h"

namespace {
constexpr int kMisuse = 21;

int ExecIfOpen(SQLiteDB* database, const char* sql) {
  return database->IsOpen() ? database->Exec(sql) : kMisuse;
}
}  // namespace

SQLiteAutoTransaction::SQLiteAutoTransaction(SQLiteDB* database) : database_(database) {
  if (database_ == nullptr) return;
  ExecIfOpen(database_, "BEGIN");
  active_ = true;
}

SQLiteAutoTransaction::~SQLiteAutoTransaction() {
  if (active_ && database_ != nullptr) {
    ExecIfOpen(database_, "END");
    active_ = false;
  }
}

bool SQLiteAutoTransaction::Begin() {
  if (database_ == nullptr || active_) return false;
  const int rc = ExecIfOpen(database_, "BEGIN");
  active_ = true;
  return rc == 0;
}

bool SQLiteAutoTransaction::End() {
  if (database_ == nullptr) return false;
  const int rc = ExecIfOpen(database_, "END");
  active_ = false;
  return rc == 0;
}
