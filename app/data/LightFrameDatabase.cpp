#include "app/data/LightFrameDatabase.h"

#include <iterator>

#include "app/data/SQLiteQuery.h"

namespace {

constexpr const char* kSchema[] = {
    "CREATE TABLE IF NOT EXISTS t_default_light_frames(frames_id INTEGER PRIMARY KEY AUTOINCREMENT, \t\t\t\t\t\t\t\t  light_id INTEGER, frameIndex INTEGER, key_value INTEGER, rgb_value INTEGER)",
    "CREATE TABLE IF NOT EXISTS t_light_frames(frames_id INTEGER PRIMARY KEY AUTOINCREMENT, \t\t\t\t\t\t\t\t  light_id INTEGER, frameIndex INTEGER, key_value INTEGER, rgb_value INTEGER)",
    // Reads are by mode; the index also keeps a mode's rows in insertion order.
    "CREATE INDEX IF NOT EXISTS light_frames_index ON t_light_frames(light_id)",
};

}  // namespace

LightFrameDatabase& LightFrameDatabase::Instance() {
  static LightFrameDatabase instance;
  return instance;
}

LightFrameDatabase::LightFrameDatabase() : SQLiteFileDB(nullptr, kSchema, std::size(kSchema)) {}

std::wstring LightFrameDatabase::FramesPath(const std::wstring& programFolder) {
  return programFolder + L"db/lightlayer_v1.data";
}

const char* const* LightFrameDatabase::Schema(size_t& count) {
  count = std::size(kSchema);
  return kSchema;
}

bool LightFrameDatabase::OpenLightFrames(const std::wstring& programFolder) {
  std::lock_guard lock(mutex_);
  return OpenFileLocked(FramesPath(programFolder));
}

void LightFrameDatabase::CloseLightFrames() {
  std::lock_guard lock(mutex_);
  CloseLocked();
}

int LightFrameDatabase::ListLightFrames(int light_id, std::vector<LightFrameRow>& rows) {
  std::lock_guard lock(mutex_);
  SQLiteQuery q(*this, "SELECT * FROM t_light_frames WHERE light_id = ?");
  q.Int(light_id);
  rows.clear();
  while (q.Next()) {
    rows.push_back({q.ColumnInt(0), q.ColumnInt(1), q.ColumnInt(2), q.ColumnInt(3), q.ColumnInt(4)});
  }
  return static_cast<int>(rows.size());
}
