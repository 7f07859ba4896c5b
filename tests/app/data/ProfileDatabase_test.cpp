#include "app/data/ProfileDatabase.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "DataTestSupport.h"
#include "app/data/SQLiteDB.h"
#include "app/data/SQLiteStatement.h"
#include "korinui/TextCodec.h"

namespace {

const std::wstring kModel = L"ORVA 100_V4";

class ProfileDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.Path().empty());
    folder_.MakeDbFolder();
    ASSERT_TRUE(db_.OpenDatabase(folder_.WidePath(), kModel));
  }
  std::string FilePath() const { return korinui::WideToUtf8(ProfileDatabase::DatabasePath(folder_.WidePath(), kModel)); }

  // Runs a single-value query on a connection of its own.
  std::string Query(const std::string& sql) const {
    SQLiteDB raw;
    if (!raw.Open(FilePath(), "", 0x10002)) return "<no open>";
    SQLiteStatement s;
    if (raw.Prepare(s, sql.c_str()) != 0 || s.Step() != 100) return "<no row>";
    const char* text = s.ColumnText(0);
    return text ? text : "<null>";
  }

  DataTestFolder folder_;
  ProfileDatabase db_;
};

}  // namespace

TEST_F(ProfileDatabaseTest, FreshFileHasEveryTableEmptyInWalMode) {
  for (const char* table : {"t_configdata", "t_profile_data", "t_key_macro_data", "t_key_otherdata", "t_macro_data",
                            "t_macrorecord", "t_light_data", "t_key_light_data"}) {
    EXPECT_EQ(Query(std::string("SELECT count(*) FROM ") + table), "0") << table;
  }
  EXPECT_EQ(Query("PRAGMA journal_mode"), "wal");
  EXPECT_TRUE(db_.IsOpenFlag());
}

TEST_F(ProfileDatabaseTest, FirstProfileListLoadCreatesTheDefaults) {
  // What the profile list does when it finds no profile.
  std::vector<ProfileRow> rows;
  ASSERT_EQ(db_.ListProfiles(rows), 0);
  EXPECT_EQ(db_.AddProfile(L"Profile 1", L""), 1);
  db_.WriteDefaultConfig();
  EXPECT_EQ(db_.AddProfile(L"Profile 2", L""), 2);
  EXPECT_EQ(db_.AddProfile(L"Profile 3", L""), 3);
  EXPECT_TRUE(db_.SetActiveProfile(1));

  ASSERT_EQ(db_.ListProfiles(rows), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(rows[i].profile, i + 1);
    EXPECT_EQ(rows[i].name, L"Profile " + std::to_wstring(i + 1));
    EXPECT_EQ(rows[i].status, i == 0 ? 1 : 0);
    EXPECT_EQ(rows[i].app, L"");
    EXPECT_EQ(rows[i].type, 0);
  }
  EXPECT_EQ(db_.GetActiveProfile(), 1);
  EXPECT_EQ(Query("SELECT count(*) FROM t_configdata WHERE profile = 1"), "11");
  EXPECT_EQ(Query("SELECT group_concat(key || '=' || value, ',') FROM t_configdata ORDER BY config_id"),
            "version=1.0.1,keyboard_layout=1,fn_layer=0,lightmode=1,sleep_light=1,userlight=0,"
            "customlight_run=0,gamemode=0,disable_alttab=0,disable_altf4=0,disable_win=0");
}

TEST_F(ProfileDatabaseTest, ProfileOperations) {
  const int a = db_.AddProfile(L"A", L"");
  const int b = db_.AddProfile(L"B", L"");
  ASSERT_GT(a, 0);
  ASSERT_GT(b, a);
  std::wstring name = L"stale";
  EXPECT_TRUE(db_.RenameProfile(b, L"Renamed"));
  EXPECT_TRUE(db_.GetProfileName(b, name));
  EXPECT_EQ(name, L"Renamed");
  EXPECT_TRUE(db_.DeleteProfile(a));
  EXPECT_FALSE(db_.GetProfileName(a, name));
  EXPECT_EQ(name, L"");

  EXPECT_TRUE(db_.SetActiveProfile(b));
  EXPECT_EQ(db_.GetActiveProfile(), b);
  // An unknown profile clears every mark and still counts as success.
  EXPECT_TRUE(db_.SetActiveProfile(99));
  EXPECT_EQ(db_.GetActiveProfile(), 0);
}

TEST_F(ProfileDatabaseTest, TextsSurviveAsUtf8) {
  const std::wstring text = L"Prof\u00eel <&>'\" \u4e2d\u6587 \U0001F3AE";
  const int id = db_.AddProfile(text, L"");
  std::wstring back;
  ASSERT_TRUE(db_.GetProfileName(id, back));
  EXPECT_EQ(back, text);
  EXPECT_EQ(Query("SELECT name FROM t_profile_data"), korinui::WideToUtf8(text));
}

TEST_F(ProfileDatabaseTest, SaveKeyAssignmentCases) {
  ASSERT_GT(db_.SaveKeyAssignment(Key(1, 0x04, 2, 5, L"old")), 0);
  struct Case {
    const char* name;
    KeyAssignmentRow row;
    bool newId;         // a new key_id comes back
    bool rowAfter;      // (1, 0, 0x04) has a row afterwards
    std::wstring desc;  // and this macro_desc
  };
  KeyAssignmentRow second = Key(1, 0x04, 2, 0);
  second.macro_value2 = 7;  // value 0 but value2 set: still an assignment
  const Case cases[] = {
      {"key code 0 touches nothing", Key(1, 0, 2, 9, L"x"), false, true, L"old"},
      {"replaces the key's row", Key(1, 0x04, 3, 2, L"new"), true, true, L"new"},
      {"second value alone is kept", second, true, true, L""},
      {"both values 0 restore the default", Key(1, 0x04, 2, 0), false, false, L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(db_.SaveKeyAssignment(c.row) > 0, c.newId) << c.name;
    KeyAssignmentRow got;
    ASSERT_EQ(db_.GetKeyAssignment(1, 0, 0x04, got), c.rowAfter) << c.name;
    if (c.rowAfter) {
      EXPECT_EQ(got.macro_desc, c.desc) << c.name;
    }
    EXPECT_EQ(Query("SELECT count(*) FROM t_key_macro_data WHERE key_code = 4"), c.rowAfter ? "1" : "0") << c.name;
  }
  EXPECT_EQ(Query("SELECT count(*) FROM t_key_macro_data"), "0");
}

TEST_F(ProfileDatabaseTest, SaveKeyAssignmentKeepsTheOldRowWhenTheInsertFails) {
  KeyAssignmentRow old = Key(1, 0x2C, 2, 5, L"old");
  old.layout_value = 3;
  old.layout_desc = L"space";
  old.macro_value2 = 8;
  old.macro_value3 = 9;
  ASSERT_GT(db_.SaveKeyAssignment(old), 0);
  {
    SQLiteDB raw;
    ASSERT_TRUE(raw.Open(FilePath(), "", 0x10002));
    ASSERT_EQ(raw.Exec("CREATE TRIGGER refuse BEFORE INSERT ON t_key_macro_data WHEN NEW.macro_desc = 'boom' "
                       "BEGIN SELECT RAISE(ABORT, 'refused'); END"),
              0);
  }
  EXPECT_EQ(db_.SaveKeyAssignment(Key(1, 0x2C, 3, 1, L"boom")), 0);
  KeyAssignmentRow got;
  ASSERT_TRUE(db_.GetKeyAssignment(1, 0, 0x2C, got));
  EXPECT_EQ(got.profile, 1);
  EXPECT_EQ(got.fn_layer, 0);
  EXPECT_EQ(got.key_code, 0x2C);
  EXPECT_EQ(got.layout_value, 3);
  EXPECT_EQ(got.layout_desc, L"space");
  EXPECT_EQ(got.macro_type, 2);
  EXPECT_EQ(got.macro_value, 5);
  EXPECT_EQ(got.macro_value2, 8);
  EXPECT_EQ(got.macro_value3, 9);
  EXPECT_EQ(got.macro_desc, L"old");
  // The connection is usable afterwards (no transaction left open).
  EXPECT_GT(db_.SaveKeyAssignment(Key(1, 0x2C, 3, 1, L"fine")), 0);
}

TEST_F(ProfileDatabaseTest, KeyListsAndActionData) {
  db_.SaveKeyAssignment(Key(1, 0x04, 2, 5));
  db_.SaveKeyAssignment(Key(1, 0x05, 3, 2, L"Macro"));
  db_.SaveKeyAssignment(Key(2, 0x05, 3, 2, L"Macro"));
  KeyAssignmentRow layer1 = Key(1, 0x06, 2, 5);
  layer1.fn_layer = 1;
  db_.SaveKeyAssignment(layer1);
  std::vector<KeyAssignmentRow> rows;
  EXPECT_EQ(db_.ListKeyAssignments(1, 0, rows), 2);
  EXPECT_TRUE(db_.RenameMacroInKeys(2, L"Renamed"));
  KeyAssignmentRow got;
  ASSERT_TRUE(db_.GetKeyAssignment(2, 0, 0x05, got));
  EXPECT_EQ(got.macro_desc, L"Renamed");
  db_.DeleteProfileKeys(1);
  EXPECT_EQ(db_.ListKeyAssignments(1, 0, rows), 0);
  EXPECT_EQ(db_.ListKeyAssignments(1, 1, rows), 0);
  EXPECT_EQ(db_.ListKeyAssignments(2, 0, rows), 1);

  const int id = db_.AddOtherData(L"https://example.invalid/", L"param", 9);
  ASSERT_GT(id, 0);
  std::wstring desc = L"keep", param = L"keep";
  int type = -1;
  EXPECT_TRUE(db_.GetOtherData(id + 1, desc, param, type));
  EXPECT_EQ(desc, L"keep");
  EXPECT_EQ(param, L"keep");
  EXPECT_EQ(type, -1);
  EXPECT_TRUE(db_.GetOtherData(id, desc, param, type));
  EXPECT_EQ(desc, L"https://example.invalid/");
  EXPECT_EQ(param, L"param");
  EXPECT_EQ(type, 9);
}

TEST_F(ProfileDatabaseTest, LightModes) {
  EXPECT_EQ(db_.CountLightModes(1), 0);
  for (int mode = 1; mode <= 3; ++mode) {
    LightModeRow row{0, 1, std::to_wstring(400 + mode), mode, 4, 2, 0, 1, 0, 0xFFFFFF, mode == 3 ? 0x100 : 3, 0, 0};
    EXPECT_GT(db_.AddLightMode(row), 0);
  }
  EXPECT_EQ(db_.CountLightModes(1), 3);
  EXPECT_EQ(db_.CountLightModes(2), 0);
  EXPECT_TRUE(db_.SetActiveLightMode(1, 2));
  EXPECT_EQ(db_.GetActiveLightMode(1), 2);

  LightModeRow change{99, 7, L"999", 77, 1, 3, 5, 6, 7, 8, 9, 10, 0};
  EXPECT_TRUE(db_.UpdateLightMode(1, 2, change));
  LightModeRow got;
  ASSERT_TRUE(db_.GetLightMode(1, 2, got));
  // Key, profile, name, mode and status stay; the settings change.
  EXPECT_EQ(got.profile, 1);
  EXPECT_EQ(got.name, L"402");
  EXPECT_EQ(got.mode, 2);
  EXPECT_EQ(got.status, 1);
  EXPECT_EQ((std::vector<int>{got.brightness, got.speed, got.direction, got.colorful, got.colorindex,
                              got.color_value, got.config_func, got.reserved}),
            (std::vector<int>{1, 3, 5, 6, 7, 8, 9, 10}));
  EXPECT_FALSE(db_.GetLightMode(1, 9, got));

  std::vector<LightModeRow> rows;
  ASSERT_EQ(db_.ListLightModes(1, rows), 3);
  EXPECT_EQ(rows[2].config_func, 0x100);
  EXPECT_EQ(rows[0].color_value, 0xFFFFFF);
}

TEST_F(ProfileDatabaseTest, KeyLightSlots) {
  std::vector<KeyLightRow> slot;
  for (int key = 1; key <= 100; ++key) slot.push_back({0, 1, 129, key, key % 2 ? 0xFFFF00 : 0});
  EXPECT_EQ(db_.AddKeyLights(slot), 100);
  EXPECT_EQ(db_.AddKeyLights({}), 0);
  std::vector<KeyLightRow> rows;
  ASSERT_EQ(db_.ListKeyLights(129, rows), 100);
  EXPECT_EQ(rows[0].key_code, 1);
  EXPECT_EQ(rows[0].key_rgb, 0xFFFF00);
  EXPECT_EQ(db_.ListKeyLights(128, rows), 0);
  EXPECT_TRUE(db_.DeleteKeyLights(129));
  EXPECT_EQ(db_.ListKeyLights(129, rows), 0);
}

TEST_F(ProfileDatabaseTest, MacrosAndEvents) {
  const int id = db_.AddMacro(L"Macro 1");
  ASSERT_GT(id, 0);
  MacroRow macro;
  ASSERT_TRUE(db_.GetMacro(id, macro));
  EXPECT_EQ((std::vector<int>{macro.play_times, macro.delay_type, macro.delay_time, macro.link_count}),
            (std::vector<int>{1, 1, 0, 0}));
  macro.play_times = 5;
  macro.delay_type = 3;
  macro.delay_time = 40;
  EXPECT_TRUE(db_.UpdateMacroPlayback(macro));
  int times = 0;
  EXPECT_TRUE(db_.GetMacroPlayTimes(id, times));
  EXPECT_EQ(times, 5);
  EXPECT_FALSE(db_.GetMacroPlayTimes(id + 50, times));
  EXPECT_TRUE(db_.RenameMacro(id, L"Other"));
  std::vector<MacroRow> macros;
  ASSERT_EQ(db_.ListMacros(macros), 1);
  EXPECT_EQ(macros[0].name, L"Other");
  EXPECT_EQ(macros[0].delay_time, 40);

  // Stored out of order, read by record_index; type 1 rows are not key events.
  db_.AddMacroEvents({{0, id, 1, 3, L"d", 68, 0}, {0, id, 2, 1, L"b", 66, 10}, {0, id, 3, 2, L"c", 67, 20}});
  EXPECT_GT(db_.AddMacroEvent({0, id, 1, 0, L"a", 65, 5}), 0);
  std::vector<MacroEventRow> events;
  ASSERT_EQ(db_.ListMacroEvents(id, events), 4);
  std::wstring order;
  for (const MacroEventRow& e : events) order += e.desc;
  EXPECT_EQ(order, L"abcd");
  EXPECT_EQ(events[1].value, 66);
  EXPECT_EQ(events[1].delay_time, 10);
  EXPECT_EQ(db_.CountMacroKeyEvents(id), 2);
  EXPECT_TRUE(db_.DeleteMacroEvents(id));
  EXPECT_EQ(db_.CountMacroKeyEvents(id), 0);
}

TEST_F(ProfileDatabaseTest, DeleteMacroRemovesItsEventsAndKeysInEveryProfile) {
  const int id = db_.AddMacro(L"Shared");
  const int other = db_.AddMacro(L"Other");
  db_.AddMacroEvents({{0, id, 2, 0, L"a", 65, 0}, {0, other, 2, 0, L"b", 66, 0}});
  db_.SaveKeyAssignment(Key(1, 0x04, 3, id));
  db_.SaveKeyAssignment(Key(2, 0x05, 3, id));
  db_.SaveKeyAssignment(Key(2, 0x06, 3, other));
  db_.SaveKeyAssignment(Key(2, 0x07, 2, id));  // a key code equal to the id, not a macro

  EXPECT_TRUE(db_.DeleteMacro(id));
  KeyAssignmentRow got;
  EXPECT_FALSE(db_.GetKeyAssignment(1, 0, 0x04, got));
  EXPECT_FALSE(db_.GetKeyAssignment(2, 0, 0x05, got));
  EXPECT_TRUE(db_.GetKeyAssignment(2, 0, 0x06, got));
  EXPECT_TRUE(db_.GetKeyAssignment(2, 0, 0x07, got));
  std::vector<MacroEventRow> events;
  EXPECT_EQ(db_.ListMacroEvents(id, events), 0);
  EXPECT_EQ(db_.ListMacroEvents(other, events), 1);
  MacroRow macro;
  EXPECT_FALSE(db_.GetMacro(id, macro));
}

TEST_F(ProfileDatabaseTest, FactoryResetRebuildsAnEmptyFile) {
  db_.AddProfile(L"A", L"");
  db_.CloseDatabase();
  EXPECT_FALSE(db_.IsOpenFlag());
  db_.DeleteDatabaseFile(folder_.WidePath(), kModel);
  for (const char* suffix : {"", "-wal", "-shm"}) {
    EXPECT_FALSE(std::filesystem::exists(FilePath() + suffix)) << suffix;
  }
  ASSERT_TRUE(db_.OpenDatabase(folder_.WidePath(), kModel));
  std::vector<ProfileRow> rows;
  EXPECT_EQ(db_.ListProfiles(rows), 0);
}

TEST_F(ProfileDatabaseTest, ReopeningAnExistingFileKeepsItsData) {
  db_.AddProfile(L"Kept", L"");
  EXPECT_TRUE(db_.OpenDatabase(folder_.WidePath(), kModel));  // keeps the connection
  db_.CloseDatabase();
  ProfileDatabase second;
  ASSERT_TRUE(second.OpenDatabase(folder_.WidePath(), kModel));
  std::wstring name;
  EXPECT_TRUE(second.GetProfileName(1, name));
  EXPECT_EQ(name, L"Kept");
}

TEST(ProfileDatabaseClosed, MissingDbFolderGivesEmptyResults) {
  DataTestFolder folder;  // no db subfolder
  ProfileDatabase db;
  EXPECT_FALSE(db.OpenDatabase(folder.WidePath(), kModel));
  EXPECT_FALSE(db.IsOpenFlag());
  std::vector<ProfileRow> profiles;
  std::vector<KeyAssignmentRow> keys;
  std::vector<MacroRow> macros;
  std::wstring name;
  EXPECT_EQ(db.ListProfiles(profiles), 0);
  EXPECT_EQ(db.AddProfile(L"A", L""), 0);
  EXPECT_FALSE(db.RenameProfile(1, L"B"));
  EXPECT_FALSE(db.GetProfileName(1, name));
  EXPECT_FALSE(db.SetActiveProfile(1));
  EXPECT_EQ(db.GetActiveProfile(), 0);
  EXPECT_EQ(db.SaveKeyAssignment(Key(1, 4, 2, 5)), 0);
  EXPECT_EQ(db.ListKeyAssignments(1, 0, keys), 0);
  EXPECT_EQ(db.AddMacro(L"M"), 0);
  EXPECT_EQ(db.ListMacros(macros), 0);
  EXPECT_EQ(db.CountLightModes(1), 0);
  EXPECT_EQ(db.GetActiveLightMode(1), 0);
  EXPECT_EQ(db.AddKeyLights({{0, 1, 128, 4, 1}}), 1);  // counts what it was given
  db.AddMacroEvents({{0, 1, 2, 0, L"a", 65, 0}});
  db.WriteDefaultConfig();
  EXPECT_FALSE(db.DeleteMacro(1));
}

TEST(ProfileDatabaseSingleton, IsOneInstance) {
  EXPECT_EQ(&ProfileDatabase::Instance(), &ProfileDatabase::Instance());
}

TEST_F(ProfileDatabaseTest, TwoThreadsWritingAtOnce) {
  // The user-interface thread edits keys and profiles while the worker stores
  // macros; every operation is whole, so nothing is lost or interleaved.
  constexpr int kRounds = 150;
  const int macro = db_.AddMacro(L"Worker");
  std::thread keys([&] {
    for (int i = 0; i < kRounds; ++i) {
      db_.SaveKeyAssignment(Key(1, 4 + i % 10, 2, 1 + i));
      db_.SetActiveProfile(1 + i % 3);
    }
  });
  std::thread worker([&] {
    for (int i = 0; i < kRounds; ++i) {
      db_.AddMacroEvents({{0, macro, 2, 2 * i, L"down", 65, 1}, {0, macro, 3, 2 * i + 1, L"up", 65, 1}});
      std::vector<KeyAssignmentRow> rows;
      db_.ListKeyAssignments(1, 0, rows);
      EXPECT_LE(rows.size(), 10u);
    }
  });
  keys.join();
  worker.join();
  std::vector<KeyAssignmentRow> rows;
  EXPECT_EQ(db_.ListKeyAssignments(1, 0, rows), 10);
  EXPECT_EQ(db_.CountMacroKeyEvents(macro), 2 * kRounds);
  EXPECT_EQ(Query("SELECT count(*) FROM t_profile_data WHERE status = 1"), "0");  // no profile rows exist
}
