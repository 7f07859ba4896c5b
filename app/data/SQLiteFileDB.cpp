#include "app/data/SQLiteFileDB.h"

#include <filesystem>
#include <system_error>

#include "korinui/TextCodec.h"

namespace {
constexpr int kOpenReadWrite = 0x10002;        // read-write, full mutex
constexpr int kOpenReadWriteCreate = 0x10006;  // read-write, create, full mutex
}  // namespace

SQLiteFileDB::SQLiteFileDB(const char* connectionSetup, const char* const* schema, size_t schemaCount)
    : connectionSetup_(connectionSetup), schema_(schema), schemaCount_(schemaCount) {}

SQLiteFileDB::~SQLiteFileDB() {
  std::lock_guard lock(mutex_);
  CloseLocked();
}

bool SQLiteFileDB::IsOpenFlag() const {
  std::lock_guard lock(mutex_);
  return open_;
}

bool SQLiteFileDB::OpenConnection(int flags) {
  if (!Open(path_, key_, flags)) return false;
  // A setup that cannot apply (a read-only folder refusing the journal mode, a
  // file that is not a database) leaves the open as it is: the statements then
  // report their own failures, as for any foreign file.
  if (connectionSetup_ != nullptr) Exec(connectionSetup_);
  return true;
}

bool SQLiteFileDB::OpenFileLocked(const std::wstring& path) {
  path_ = korinui::WideToUtf8(path);
  std::error_code error;
  if (std::filesystem::exists(std::filesystem::path(path_), error)) {
    if (IsOpen()) {
      open_ = true;
    } else {
      open_ = OpenConnection(kOpenReadWrite);
      // A first creation cut short (process killed, power lost) leaves a file
      // without all of its tables; the statements only add what is missing and
      // write nothing to a complete file, so this heals it.
      if (open_) RunSchema();
    }
  } else {
    open_ = CreateSchemaLocked();
  }
  return open_;
}

bool SQLiteFileDB::CreateSchemaLocked() {
  if (IsOpen()) return true;
  if (!OpenConnection(kOpenReadWriteCreate)) return false;
  return RunSchema();
}

bool SQLiteFileDB::RunSchema() {
  // One transaction: the tables appear together or not at all.
  bool ok = Exec("BEGIN") == 0;
  for (size_t i = 0; i < schemaCount_; ++i) {
    if (Exec(schema_[i]) != 0) ok = false;
  }
  if (Exec("END") != 0) ok = false;
  return ok;
}

void SQLiteFileDB::CloseLocked() {
  if (!open_) return;
  Close();
  open_ = false;
}
