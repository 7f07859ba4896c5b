#include "app/data/ProfileDatabase.h"

#include <filesystem>
#include <iterator>
#include <system_error>

#include "app/data/SQLiteAutoTransaction.h"
#include "app/data/SQLiteQuery.h"
#include "korinui/TextCodec.h"

namespace {

using Lock = std::lock_guard<std::mutex>;

// WAL keeps committed batches through a killed process and the file sound
// through a power cut; NORMAL skips only the sync per commit that WAL does
// not need for that.
constexpr const char* kConnectionSetup = "PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL; ";

constexpr const char* kSchema[] = {
    "CREATE TABLE IF NOT EXISTS t_configdata(config_id INTEGER PRIMARY KEY AUTOINCREMENT, \t\t\t\t\t\t\t\t  profile INTEGER, key TEXT, value TEXT)",
    "CREATE TABLE IF NOT EXISTS t_profile_data(profile INTEGER PRIMARY KEY AUTOINCREMENT, \t\t\t\t\t\t\t\t  name TEXT, status INTEGER, app TEXT, type INTEGER)",
    "CREATE INDEX IF NOT EXISTS profileindex ON t_profile_data(profile)",
    "CREATE TABLE IF NOT EXISTS t_key_macro_data(key_id INTEGER PRIMARY KEY AUTOINCREMENT, \t\t\t\t\t\t\t\tprofile INTEGER, fn_layer INTEGER, key_code INTEGER, layout_value INTEGER, layout_desc TEXT, \t\t\t\t\t\t\t\tmacro_type INTEGER, macro_value INTEGER, macro_value2 INTEGER, macro_value3 INTEGER, macro_desc TEXT)",
    "CREATE INDEX IF NOT EXISTS keyindex ON t_key_macro_data(key_id)",
    "CREATE TABLE IF NOT EXISTS t_key_otherdata(macro_value INTEGER PRIMARY KEY AUTOINCREMENT, \t\t\t\t\t\t\t\t  macro_desc TEXT, param TEXT, type INTEGER)",
    "CREATE INDEX IF NOT EXISTS otheridindex ON t_key_otherdata(macro_value)",
    "CREATE TABLE IF NOT EXISTS t_macro_data(macro_id INTEGER PRIMARY KEY AUTOINCREMENT, \t\t\t\t\t\t\t\t  play_times INTEGER, delay_type INTEGER, delay_time INTEGER, link_count INTEGER, name TEXT)",
    "CREATE INDEX IF NOT EXISTS macroidindex ON t_macro_data(macro_id)",
    "CREATE TABLE IF NOT EXISTS t_macrorecord(record_id INTEGER PRIMARY KEY AUTOINCREMENT, \t\t\t\t\t\t\t\t  macro_id INTEGER, type INTEGER, record_index INTEGER, desc TEXT, value INTEGER, delay_time INTEGER)",
    "CREATE INDEX IF NOT EXISTS macrorecordindex ON t_macrorecord(record_id)",
    "CREATE TABLE IF NOT EXISTS t_light_data(light_id INTEGER PRIMARY KEY AUTOINCREMENT, \t\t\t\t\t\t\t\t\t\t  profile INTEGER, name TEXT, mode INTEGER, brightness INTEGER, speed INTEGER, \t\t\t\t\t\t\t\t\t\tdirection INTEGER, colorful INTEGER, colorindex INTEGER, \t\t\t\t\t\t\t\t\t\tcolor_value INTEGER, config_func INTEGER, reserved INTEGER, status INTEGER)",
    "CREATE INDEX IF NOT EXISTS lightindex ON t_light_data(light_id)",
    "CREATE TABLE IF NOT EXISTS t_key_light_data(keylight_id INTEGER PRIMARY KEY AUTOINCREMENT, \t\t\t\t\t\t\t\t   profile INTEGER, light_id INTEGER, key_code INTEGER, key_rgb INTEGER)",
    "CREATE INDEX IF NOT EXISTS keylightindex ON t_key_light_data(keylight_id)",
};

constexpr const char* kInsertKeyAssignment =
    "INSERT INTO t_key_macro_data(profile, fn_layer, key_code, layout_value, layout_desc,                     macro_type, macro_value, macro_value2, macro_value3, macro_desc) \t\t\t\t\t VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);";
constexpr const char* kInsertMacro =
    "INSERT INTO t_macro_data(play_times, delay_type, delay_time, link_count, name) VALUES (?, ?, ?, ?, ?);";
constexpr const char* kInsertMacroEvent =
    "INSERT INTO t_macrorecord(macro_id, type, record_index, desc, value, delay_time) \t\t\t\t\t VALUES (?, ?, ?, ?, ?, ?);";
constexpr const char* kListMacroEvents = "SELECT * FROM t_macrorecord WHERE macro_id = ? ORDER BY record_index ASC";

constexpr int kMacroKind = 3;

struct ConfigSetting {
  const wchar_t* key;
  const wchar_t* value;
};
constexpr ConfigSetting kDefaultConfig[] = {
    {L"version", L"1.0.1"},      {L"keyboard_layout", L"1"}, {L"fn_layer", L"0"},
    {L"lightmode", L"1"},        {L"sleep_light", L"1"},     {L"userlight", L"0"},
    {L"customlight_run", L"0"},  {L"gamemode", L"0"},        {L"disable_alttab", L"0"},
    {L"disable_altf4", L"0"},    {L"disable_win", L"0"},
};

ProfileRow ReadProfile(const SQLiteQuery& q) {
  return {q.ColumnInt(0), q.ColumnText(1), q.ColumnInt(2), q.ColumnText(3), q.ColumnInt(4)};
}

KeyAssignmentRow ReadKeyAssignment(const SQLiteQuery& q) {
  return {q.ColumnInt(0), q.ColumnInt(1), q.ColumnInt(2), q.ColumnInt(3),  q.ColumnInt(4), q.ColumnText(5),
          q.ColumnInt(6), q.ColumnInt(7), q.ColumnInt(8), q.ColumnInt(9), q.ColumnText(10)};
}

LightModeRow ReadLightMode(const SQLiteQuery& q) {
  return {q.ColumnInt(0), q.ColumnInt(1), q.ColumnText(2), q.ColumnInt(3),  q.ColumnInt(4),
          q.ColumnInt(5), q.ColumnInt(6), q.ColumnInt(7),  q.ColumnInt(8),  q.ColumnInt(9),
          q.ColumnInt(10), q.ColumnInt(11), q.ColumnInt(12)};
}

KeyLightRow ReadKeyLight(const SQLiteQuery& q) {
  return {q.ColumnInt(0), q.ColumnInt(1), q.ColumnInt(2), q.ColumnInt(3), q.ColumnInt(4)};
}

MacroRow ReadMacro(const SQLiteQuery& q) {
  return {q.ColumnInt(0), q.ColumnInt(1), q.ColumnInt(2), q.ColumnInt(3), q.ColumnInt(4), q.ColumnText(5)};
}

MacroEventRow ReadMacroEvent(const SQLiteQuery& q) {
  return {q.ColumnInt(0),  q.ColumnInt(1), q.ColumnInt(2), q.ColumnInt(3),
          q.ColumnText(4), q.ColumnInt(5), q.ColumnInt(6)};
}

// Replaces `rows` with every row the query returns; returns their count.
template <typename Row, typename Reader>
int ReadAll(SQLiteQuery& query, std::vector<Row>& rows, Reader read) {
  rows.clear();
  while (query.Next()) rows.push_back(read(query));
  return static_cast<int>(rows.size());
}

}  // namespace

ProfileDatabase& ProfileDatabase::Instance() {
  static ProfileDatabase instance;
  return instance;
}

ProfileDatabase::ProfileDatabase() : SQLiteFileDB(kConnectionSetup, kSchema, std::size(kSchema)) {}

std::wstring ProfileDatabase::DatabasePath(const std::wstring& folder, const std::wstring& model) {
  return folder + L"db/" + model + L"_data.db";
}

bool ProfileDatabase::OpenDatabase(const std::wstring& folder, const std::wstring& model) {
  Lock lock(mutex_);
  return OpenFileLocked(DatabasePath(folder, model));
}

bool ProfileDatabase::CreateSchema() {
  Lock lock(mutex_);
  return CreateSchemaLocked();
}

void ProfileDatabase::CloseDatabase() {
  Lock lock(mutex_);
  CloseLocked();
}

void ProfileDatabase::DeleteDatabaseFile(const std::wstring& folder, const std::wstring& model) {
  Lock lock(mutex_);
  const std::string path = korinui::WideToUtf8(DatabasePath(folder, model));
  for (const char* suffix : {"", "-wal", "-shm"}) {
    std::error_code error;
    std::filesystem::remove(std::filesystem::path(path + suffix), error);
  }
}

int ProfileDatabase::NewIdAfter(bool succeeded) {
  return succeeded ? static_cast<int>(LastInsertRowId()) : 0;
}

void ProfileDatabase::WriteDefaultConfig() {
  Lock lock(mutex_);
  for (const ConfigSetting& setting : kDefaultConfig) {
    SQLiteQuery(*this, "INSERT INTO t_configdata(profile, key, value) VALUES (?, ?, ?);")
        .Int(1).Text(setting.key).Text(setting.value).Run();
  }
}

// ---- key profiles

int ProfileDatabase::AddProfile(const std::wstring& name, const std::wstring& app) {
  Lock lock(mutex_);
  SQLiteQuery q(*this, "INSERT INTO t_profile_data(name, status, app, type) VALUES (?, ?, ?, ?);");
  return NewIdAfter(q.Text(name).Int(0).Text(app).Int(0).Run());
}

bool ProfileDatabase::DeleteProfile(int profile) {
  Lock lock(mutex_);
  return SQLiteQuery(*this, "DELETE FROM t_profile_data WHERE profile = ?").Int(profile).Run();
}

bool ProfileDatabase::RenameProfile(int profile, const std::wstring& name) {
  Lock lock(mutex_);
  return SQLiteQuery(*this, "UPDATE t_profile_data SET name = ? WHERE profile = ?").Text(name).Int(profile).Run();
}

bool ProfileDatabase::GetProfileName(int profile, std::wstring& name) {
  Lock lock(mutex_);
  SQLiteQuery q(*this, "SELECT name FROM t_profile_data WHERE profile = ?");
  q.Int(profile);
  if (q.Next()) {
    name = q.ColumnText(0);
    return true;
  }
  name.clear();
  return false;
}

int ProfileDatabase::ListProfiles(std::vector<ProfileRow>& rows) {
  Lock lock(mutex_);
  SQLiteQuery q(*this, "SELECT * FROM t_profile_data");
  return ReadAll(q, rows, ReadProfile);
}

bool ProfileDatabase::SetActiveProfile(int profile) {
  Lock lock(mutex_);
  SQLiteQuery(*this, "UPDATE t_profile_data SET status = ?").Int(0).Run();
  return SQLiteQuery(*this, "UPDATE t_profile_data SET status = ? WHERE profile = ?").Int(1).Int(profile).Run();
}

int ProfileDatabase::GetActiveProfile() {
  Lock lock(mutex_);
  SQLiteQuery q(*this, "SELECT profile FROM t_profile_data WHERE status = ?");
  q.Int(1);
  return q.Next() ? q.ColumnInt(0) : 0;
}

// ---- key assignments

int ProfileDatabase::SaveKeyAssignment(const KeyAssignmentRow& row) {
  Lock lock(mutex_);
  if (row.key_code == 0) return 0;
  // Delete and insert commit together, so a failed insert keeps the old row.
  if (Exec("BEGIN") != 0) return 0;
  const bool deleted =
      SQLiteQuery(*this, "DELETE FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?")
          .Int(row.profile).Int(row.fn_layer).Int(row.key_code).Run();
  if (!deleted) {
    Exec("ROLLBACK");
    return 0;
  }
  if (row.macro_value == 0 && row.macro_value2 == 0) {
    // The key is back to its default function.
    if (Exec("END") != 0) Exec("ROLLBACK");
    return 0;
  }
  const bool inserted = SQLiteQuery(*this, kInsertKeyAssignment)
                            .Int(row.profile).Int(row.fn_layer).Int(row.key_code).Int(row.layout_value)
                            .Text(row.layout_desc).Int(row.macro_type).Int(row.macro_value)
                            .Int(row.macro_value2).Int(row.macro_value3).Text(row.macro_desc)
                            .Run();
  if (!inserted) {
    Exec("ROLLBACK");
    return 0;
  }
  const int id = NewIdAfter(true);
  if (Exec("END") != 0) {
    Exec("ROLLBACK");
    return 0;
  }
  return id;
}

bool ProfileDatabase::GetKeyAssignment(int profile, int fn_layer, int key_code, KeyAssignmentRow& row) {
  Lock lock(mutex_);
  SQLiteQuery q(*this, "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?");
  q.Int(profile).Int(fn_layer).Int(key_code);
  if (!q.Next()) return false;
  row = ReadKeyAssignment(q);
  return true;
}

int ProfileDatabase::ListKeyAssignments(int profile, int fn_layer, std::vector<KeyAssignmentRow>& rows) {
  Lock lock(mutex_);
  SQLiteQuery q(*this, "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ?");
  q.Int(profile).Int(fn_layer);
  return ReadAll(q, rows, ReadKeyAssignment);
}

void ProfileDatabase::DeleteProfileKeys(int profile) {
  Lock lock(mutex_);
  SQLiteQuery(*this, "DELETE FROM t_key_macro_data WHERE profile = ?").Int(profile).Run();
}

bool ProfileDatabase::RenameMacroInKeys(int macro_id, const std::wstring& text) {
  Lock lock(mutex_);
  return SQLiteQuery(*this, "UPDATE t_key_macro_data SET macro_desc = ? WHERE macro_type = ? AND macro_value = ?")
      .Text(text).Int(kMacroKind).Int(macro_id).Run();
}

int ProfileDatabase::AddOtherData(const std::wstring& desc, const std::wstring& param, int type) {
  Lock lock(mutex_);
  SQLiteQuery q(*this, "INSERT INTO t_key_otherdata(macro_desc, param, type) VALUES (?, ?, ?);");
  return NewIdAfter(q.Text(desc).Text(param).Int(type).Run());
}

bool ProfileDatabase::GetOtherData(int id, std::wstring& desc, std::wstring& param, int& type) {
  Lock lock(mutex_);
  SQLiteQuery q(*this, "SELECT macro_desc, param, type FROM t_key_otherdata WHERE macro_value = ?");
  q.Int(id);
  if (q.Next()) {
    desc = q.ColumnText(0);
    param = q.ColumnText(1);
    type = q.ColumnInt(2);
  }
  return true;
}

// ---- lighting

int ProfileDatabase::CountLightModes(int profile) {
  Lock lock(mutex_);
  SQLiteQuery q(*this, "select count(*) FROM t_light_data WHERE profile = ?");
  q.Int(profile);
  return q.Next() ? q.ColumnInt(0) : 0;
}

int ProfileDatabase::AddLightMode(const LightModeRow& row) {
  Lock lock(mutex_);
  SQLiteQuery q(*this,
                "INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, \t\t\t\t\t colorful, "
                "colorindex, color_value, config_func, reserved, status) \t\t\t\t\t VALUES (?, ?, ?, ?, ?, ?, ?, ?, "
                "?, ?, ?, ?);");
  q.Int(row.profile).Text(row.name).Int(row.mode).Int(row.brightness).Int(row.speed).Int(row.direction);
  q.Int(row.colorful).Int(row.colorindex).Int(row.color_value).Int(row.config_func).Int(row.reserved);
  q.Int(row.status);
  return NewIdAfter(q.Run());
}

bool ProfileDatabase::UpdateLightMode(int profile, int mode, const LightModeRow& row) {
  Lock lock(mutex_);
  SQLiteQuery q(*this,
                "UPDATE t_light_data SET brightness = ?, speed = ?, direction = ?, colorful = ?, colorindex = "
                "?,\t\t\t color_value = ?, config_func = ?, reserved = ? WHERE profile = ? AND mode = ?");
  q.Int(row.brightness).Int(row.speed).Int(row.direction).Int(row.colorful).Int(row.colorindex);
  q.Int(row.color_value).Int(row.config_func).Int(row.reserved).Int(profile).Int(mode);
  return q.Run();
}

bool ProfileDatabase::SetActiveLightMode(int profile, int mode) {
  Lock lock(mutex_);
  SQLiteQuery(*this, "UPDATE t_light_data SET status = ?").Int(0).Run();
  return SQLiteQuery(*this, "UPDATE t_light_data SET status = ? WHERE profile = ? and mode = ?")
      .Int(1).Int(profile).Int(mode).Run();
}

int ProfileDatabase::GetActiveLightMode(int profile) {
  Lock lock(mutex_);
  SQLiteQuery q(*this, "SELECT mode FROM t_light_data WHERE profile = ? and status = ?");
  q.Int(profile).Int(1);
  return q.Next() ? q.ColumnInt(0) : 0;
}

bool ProfileDatabase::GetLightMode(int profile, int mode, LightModeRow& row) {
  Lock lock(mutex_);
  SQLiteQuery q(*this, "SELECT * FROM t_light_data WHERE profile = ? AND mode = ?");
  q.Int(profile).Int(mode);
  if (!q.Next()) return false;
  row = ReadLightMode(q);
  return true;
}

int ProfileDatabase::ListLightModes(int profile, std::vector<LightModeRow>& rows) {
  Lock lock(mutex_);
  SQLiteQuery q(*this, "SELECT * FROM t_light_data WHERE profile = ?");
  q.Int(profile);
  return ReadAll(q, rows, ReadLightMode);
}

int ProfileDatabase::AddKeyLights(const std::vector<KeyLightRow>& rows) {
  Lock lock(mutex_);
  SQLiteAutoTransaction transaction(this);
  for (const KeyLightRow& row : rows) {
    SQLiteQuery(*this, "INSERT INTO t_key_light_data(profile, light_id, key_code, key_rgb) VALUES (?, ?, ?, ?);")
        .Int(row.profile).Int(row.light_id).Int(row.key_code).Int(row.key_rgb).Run();
  }
  return static_cast<int>(rows.size());
}

bool ProfileDatabase::DeleteKeyLights(int light_id) {
  Lock lock(mutex_);
  return SQLiteQuery(*this, "DELETE FROM t_key_light_data WHERE light_id = ?").Int(light_id).Run();
}

int ProfileDatabase::ListKeyLights(int light_id, std::vector<KeyLightRow>& rows) {
  Lock lock(mutex_);
  SQLiteQuery q(*this, "SELECT * FROM t_key_light_data WHERE light_id = ?");
  q.Int(light_id);
  return ReadAll(q, rows, ReadKeyLight);
}

// ---- macros

int ProfileDatabase::AddMacroLocked(const MacroRow& macro) {
  SQLiteQuery q(*this, kInsertMacro);
  q.Int(macro.play_times).Int(macro.delay_type).Int(macro.delay_time).Int(macro.link_count).Text(macro.name);
  return NewIdAfter(q.Run());
}

int ProfileDatabase::AddMacro(const std::wstring& name) {
  Lock lock(mutex_);
  MacroRow macro;
  macro.play_times = 1;
  macro.delay_type = 1;
  macro.name = name;
  return AddMacroLocked(macro);
}

int ProfileDatabase::AddMacroWithSettings(const MacroRow& macro) {
  Lock lock(mutex_);
  return AddMacroLocked(macro);
}

bool ProfileDatabase::RenameMacro(int macro_id, const std::wstring& name) {
  Lock lock(mutex_);
  return SQLiteQuery(*this, "UPDATE t_macro_data SET name = ? WHERE macro_id = ?").Text(name).Int(macro_id).Run();
}

bool ProfileDatabase::UpdateMacroPlayback(const MacroRow& macro) {
  Lock lock(mutex_);
  return SQLiteQuery(*this,
                     "UPDATE t_macro_data SET play_times = ?, delay_type = ?, \t\t\t\t\t delay_time = ? WHERE "
                     "macro_id = ?")
      .Int(macro.play_times).Int(macro.delay_type).Int(macro.delay_time).Int(macro.macro_id).Run();
}

bool ProfileDatabase::DeleteMacro(int macro_id) {
  Lock lock(mutex_);
  if (!SQLiteQuery(*this, "DELETE FROM t_macro_data WHERE macro_id = ?").Int(macro_id).Run()) return false;
  SQLiteQuery(*this, "DELETE FROM t_macrorecord WHERE macro_id = ?").Int(macro_id).Run();
  return SQLiteQuery(*this, "DELETE FROM t_key_macro_data WHERE macro_type = ? and macro_value = ?")
      .Int(kMacroKind).Int(macro_id).Run();
}

bool ProfileDatabase::GetMacroPlayTimes(int macro_id, int& play_times) {
  Lock lock(mutex_);
  SQLiteQuery q(*this, "SELECT play_times FROM t_macro_data WHERE macro_id = ?");
  q.Int(macro_id);
  if (!q.Next()) return false;
  play_times = q.ColumnInt(0);
  return true;
}

bool ProfileDatabase::GetMacro(int macro_id, MacroRow& macro) {
  Lock lock(mutex_);
  SQLiteQuery q(*this, "SELECT * FROM t_macro_data WHERE macro_id = ?");
  q.Int(macro_id);
  if (!q.Next()) return false;
  macro = ReadMacro(q);
  return true;
}

int ProfileDatabase::ListMacros(std::vector<MacroRow>& macros) {
  Lock lock(mutex_);
  SQLiteQuery q(*this, "SELECT * FROM t_macro_data");
  return ReadAll(q, macros, ReadMacro);
}

int ProfileDatabase::AddMacroEventLocked(const MacroEventRow& event) {
  SQLiteQuery q(*this, kInsertMacroEvent);
  q.Int(event.macro_id).Int(event.type).Int(event.record_index).Text(event.desc).Int(event.value);
  q.Int(event.delay_time);
  return NewIdAfter(q.Run());
}

int ProfileDatabase::AddMacroEvent(const MacroEventRow& event) {
  Lock lock(mutex_);
  return AddMacroEventLocked(event);
}

void ProfileDatabase::AddMacroEvents(const std::vector<MacroEventRow>& events) {
  Lock lock(mutex_);
  SQLiteAutoTransaction transaction(this);
  for (const MacroEventRow& event : events) AddMacroEventLocked(event);
}

int ProfileDatabase::ListMacroEvents(int macro_id, std::vector<MacroEventRow>& events) {
  Lock lock(mutex_);
  SQLiteQuery q(*this, kListMacroEvents);
  q.Int(macro_id);
  return ReadAll(q, events, ReadMacroEvent);
}

bool ProfileDatabase::DeleteMacroEvents(int macro_id) {
  Lock lock(mutex_);
  return SQLiteQuery(*this, "DELETE FROM t_macrorecord WHERE macro_id = ?").Int(macro_id).Run();
}

int ProfileDatabase::CountMacroKeyEvents(int macro_id) {
  Lock lock(mutex_);
  SQLiteQuery q(*this, kListMacroEvents);
  q.Int(macro_id);
  int count = 0;
  while (q.Next()) {
    if (q.ColumnInt(2) != 1) ++count;
  }
  return count;
}
