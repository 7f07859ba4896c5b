// The light-frame database shipped beside the program (<program folder>
// db/lightlayer_v1.data): recorded preview frames of the built-in lighting
// effects, one row per key and frame, selected by mode number. Only ever read;
// a missing file is created empty. Any thread may call; each operation holds
// the database's own lock.
#pragma once

#include <string>
#include <vector>

#include "app/data/ProfileRecords.h"
#include "app/data/SQLiteFileDB.h"

class LightFrameDatabase : public SQLiteFileDB {
 public:
  // The program's one instance, created on first use and closed at exit.
  static LightFrameDatabase& Instance();

  // A separate instance (for tests and the frame generator).
  LightFrameDatabase();

  // <programFolder>db/lightlayer_v1.data; `programFolder` ends with a '/'.
  static std::wstring FramesPath(const std::wstring& programFolder);
  // The statements that create the file's tables and index, in order.
  static const char* const* Schema(size_t& count);

  // Opens the file, keeping an existing connection; a missing file is created
  // with empty tables. Returns whether that worked.
  bool OpenLightFrames(const std::wstring& programFolder);
  void CloseLightFrames();

  // Fills `rows` (replaced) with the frames of mode `light_id`, frame by frame
  // and within a frame in key-list order (the order they were written in);
  // returns their count.
  int ListLightFrames(int light_id, std::vector<LightFrameRow>& rows);
};
