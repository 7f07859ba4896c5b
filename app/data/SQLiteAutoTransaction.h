// Brackets a batch of writes in one transaction: "BEGIN" on construction (or
// Begin), "END" on End or destruction. There is no rollback: a batch is always
// committed, whatever its single statements returned. Not thread-safe: used
// under the lock of the database that owns the connection.
#pragma once

class SQLiteDB;

class SQLiteAutoTransaction {
 public:
  // With a database: runs "BEGIN" (when it has a connection) and becomes active.
  // With none: inactive, nothing is ever executed.
  explicit SQLiteAutoTransaction(SQLiteDB* database);
  virtual ~SQLiteAutoTransaction();  // "END" when still active
  SQLiteAutoTransaction(const SQLiteAutoTransaction&) = delete;
  SQLiteAutoTransaction& operator=(const SQLiteAutoTransaction&) = delete;

  // "BEGIN" unless already active; true when it returned 0. False without a
  // database or when active.
  bool Begin();
  // "END" and inactive; true when it returned 0. False without a database.
  bool End();
  bool IsActive() const { return active_; }

 private:
  SQLiteDB* database_;
  bool active_ = false;
};
