// The per-user profile database: key profiles, key assignments and their extra
// data, lighting modes and per-key lighting slots, macros with their events,
// and the initial settings. One SQLite file, <data folder>db/<model>_data.db,
// shared by every keyboard type.
//
// Every operation holds the database lock from its first statement to its last,
// so it is never interleaved with another; any thread may call any operation.
// Nothing is cached and nothing is shown: failures come back as results (0 for
// ids and counts, false for flags, empty lists), also while the file is closed.
// Texts are wide strings outside and UTF-8 in the file.
//
// The file runs in WAL mode with synchronous NORMAL: a committed batch survives
// a killed process, and a system crash or power cut cannot corrupt the file
// (at worst the last commits are missing), while every batch still costs one
// commit.
#pragma once

#include <string>
#include <vector>

#include "app/data/ProfileRecords.h"
#include "app/data/SQLiteFileDB.h"

class ProfileDatabase : public SQLiteFileDB {
 public:
  // The program's one instance, created on first use and closed at exit.
  static ProfileDatabase& Instance();

  // A separate instance (for tests and tools); the program uses Instance().
  ProfileDatabase();

  // <folder>db/<model>_data.db; `folder` ends with a '/'.
  static std::wstring DatabasePath(const std::wstring& folder, const std::wstring& model);

  // Opens the file, keeping an existing connection; a missing file is created
  // with its schema (CreateSchema). Fails when the db folder is missing.
  bool OpenDatabase(const std::wstring& folder, const std::wstring& model);
  // Creates and opens the file at the path of the last OpenDatabase with every
  // table and index; true without doing anything when a connection exists.
  bool CreateSchema();
  // Closes the connection (if the last open succeeded) and clears the open flag.
  void CloseDatabase();
  // Removes the file with its -wal and -shm companions. Close first.
  void DeleteDatabaseFile(const std::wstring& folder, const std::wstring& model);

  // The eleven initial settings rows of t_configdata.
  void WriteDefaultConfig();

  // Key profiles. Ids are profile numbers; 0 means none or failure.
  int AddProfile(const std::wstring& name, const std::wstring& app);
  bool DeleteProfile(int profile);
  bool RenameProfile(int profile, const std::wstring& name);
  // The name and true when the profile exists; an empty name and false otherwise.
  bool GetProfileName(int profile, std::wstring& name);
  // Fills `rows` (replaced) in database order; returns their count.
  int ListProfiles(std::vector<ProfileRow>& rows);
  // Clears every status, then marks `profile`; true when the marking statement
  // succeeded (also when no such profile exists).
  bool SetActiveProfile(int profile);
  int GetActiveProfile();

  // Key assignments. Stores `row` as the one assignment of its (profile,
  // fn_layer, key_code): key_code 0 touches nothing; macro_value and
  // macro_value2 both 0 just remove the key's row (default function). The
  // removal and the insert are one transaction: if the insert fails the old
  // row stays. Returns the new key_id, or 0.
  int SaveKeyAssignment(const KeyAssignmentRow& row);
  // The row and true, or false (row untouched).
  bool GetKeyAssignment(int profile, int fn_layer, int key_code, KeyAssignmentRow& row);
  int ListKeyAssignments(int profile, int fn_layer, std::vector<KeyAssignmentRow>& rows);
  void DeleteProfileKeys(int profile);
  // Sets macro_desc of every macro-kind (3) assignment of `macro_id`.
  bool RenameMacroInKeys(int macro_id, const std::wstring& text);
  // Extra data of the action kinds 8 to 11; the new id is stored as macro_value.
  int AddOtherData(const std::wstring& desc, const std::wstring& param, int type);
  // Always true; without a row the outputs keep what the caller put in them.
  bool GetOtherData(int id, std::wstring& desc, std::wstring& param, int& type);

  // Lighting modes of a lighting profile; at most one row per (profile, mode).
  int CountLightModes(int profile);
  int AddLightMode(const LightModeRow& row);
  // Writes brightness, speed, direction, colorful, colorindex, color_value,
  // config_func and reserved of `row` into (profile, mode).
  bool UpdateLightMode(int profile, int mode, const LightModeRow& row);
  bool SetActiveLightMode(int profile, int mode);
  int GetActiveLightMode(int profile);
  bool GetLightMode(int profile, int mode, LightModeRow& row);
  int ListLightModes(int profile, std::vector<LightModeRow>& rows);
  // Per-key lighting slots (rows of one light_id). AddKeyLights inserts every
  // row in one transaction (a failing row does not stop the batch) and returns
  // the number of rows given.
  int AddKeyLights(const std::vector<KeyLightRow>& rows);
  bool DeleteKeyLights(int light_id);
  int ListKeyLights(int light_id, std::vector<KeyLightRow>& rows);

  // Macros and their events.
  int AddMacro(const std::wstring& name);  // play once, recorded delays
  int AddMacroWithSettings(const MacroRow& macro);
  bool RenameMacro(int macro_id, const std::wstring& name);
  // Writes play_times, delay_type and delay_time of macro.macro_id.
  bool UpdateMacroPlayback(const MacroRow& macro);
  // Removes the macro; only then its events and every macro-kind assignment
  // pointing at it, in all profiles. True when the macro and the assignment
  // deletes succeeded.
  bool DeleteMacro(int macro_id);
  bool GetMacroPlayTimes(int macro_id, int& play_times);
  bool GetMacro(int macro_id, MacroRow& macro);
  int ListMacros(std::vector<MacroRow>& macros);
  int AddMacroEvent(const MacroEventRow& event);
  // All events in one transaction, in list order.
  void AddMacroEvents(const std::vector<MacroEventRow>& events);
  // Events in ascending record_index.
  int ListMacroEvents(int macro_id, std::vector<MacroEventRow>& events);
  bool DeleteMacroEvents(int macro_id);
  // Number of the macro's events whose type is not 1.
  int CountMacroKeyEvents(int macro_id);

 private:
  int NewIdAfter(bool succeeded);
  int AddMacroLocked(const MacroRow& macro);
  int AddMacroEventLocked(const MacroEventRow& event);
};
