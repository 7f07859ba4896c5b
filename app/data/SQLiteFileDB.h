// The common half of the two database singletons: one database file reached
// through one connection, a lock for whole operations, the file path and the
// flag that records whether the last open succeeded.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>

#include "app/data/SQLiteDB.h"

class SQLiteFileDB : public SQLiteDB {
 public:
  // Whether the last open of the file succeeded.
  bool IsOpenFlag() const;

 protected:
  // `connectionSetup`: SQL run on every new connection right after it opened
  // (may be null); `schema`: the statements that create a missing file.
  SQLiteFileDB(const char* connectionSetup, const char* const* schema, size_t schemaCount);
  // Closes the connection when the open flag is set.
  ~SQLiteFileDB() override;

  // The whole open of a file, with mutex_ held by the caller: an existing file
  // keeps an existing connection or is opened read-write (and gets whatever
  // tables it lacks); a missing one is created with its schema. Stores and
  // returns the open flag.
  bool OpenFileLocked(const std::wstring& path);
  // Opens with create and runs the schema unless a connection exists (true).
  bool CreateSchemaLocked();
  // Closes when the open flag is set and clears the flag.
  void CloseLocked();

  mutable std::mutex mutex_;

 private:
  bool OpenConnection(int flags);
  // Runs the schema statements in one transaction; true when all succeeded.
  bool RunSchema();

  const char* connectionSetup_;
  const char* const* schema_;
  size_t schemaCount_;
  std::string path_;  // UTF-8
  std::string key_;   // always empty: the files are plain SQLite files
  bool open_ = false;
};
