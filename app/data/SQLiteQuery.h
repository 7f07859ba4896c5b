// A prepared statement that binds its parameters in order and keeps the UTF-8
// copies of bound texts alive until it is destroyed, with wide-string reads.
// Used by the database singletons under their own lock; never shared.
#pragma once

#include <deque>
#include <string>

#include "app/data/SQLiteDB.h"
#include "app/data/SQLiteStatement.h"

class SQLiteQuery {
 public:
  // Prepares `sql` on `db`; a failed prepare leaves a query whose calls return
  // 21 and whose reads give 0 and empty text.
  SQLiteQuery(SQLiteDB& db, const char* sql);

  SQLiteQuery& Int(int value);
  SQLiteQuery& Text(const std::wstring& value);

  int Step() { return statement_.Step(); }
  // One step; true when it returned 0, 100 or 101.
  bool Run();
  // True while a row is ready.
  bool Next() { return statement_.Step() == 100; }

  int ColumnInt(int column) const { return statement_.ColumnInt(column); }
  std::wstring ColumnText(int column) const;

 private:
  SQLiteStatement statement_;
  std::deque<std::string> texts_;  // deque: growing never moves bound bytes
  int next_ = 1;
};

// Whether a step result counts as success for a write.
inline bool StepSucceeded(int rc) { return rc == 0 || rc == 100 || rc == 101; }
