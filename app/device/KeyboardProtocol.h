// Sends the keyboard commands of one opened device through the DeviceManager.
// Commands are fire-and-forget; nothing is read back but the firmware version.
//
// Each call is complete in itself and may run on any thread. The long
// transfers (MacroUpload, KeyMapUpload, UploadKeyAssignments, FactoryReset)
// block for their paced reports and belong on the worker thread; the
// user-light commands and the slot-change SetLightMode are sent from the
// user-interface thread, MusicLevel from the audio thread.
#pragma once

#include <optional>

#include "app/device/CommandFrames.h"
#include "app/device/DeviceManager.h"
#include "app/device/KeyTableSource.h"

class KeyboardProtocol {
 public:
  // Pause between the two tables of a key-table upload, and the resets' pauses.
  static constexpr int kBetweenTablesMs = 50;
  static constexpr int kFirstResetPauseMs = 100;
  static constexpr int kSecondResetPauseMs = 1600;

  // deviceIndex as from DeviceManager::IndexOf; -1 sends nothing.
  KeyboardProtocol(DeviceManager& manager, int deviceIndex) : manager_(manager), index_(deviceIndex) {}

  // First family: paced feature report; second family: output report.
  void SetLightMode(DeviceFamily family, int mode, int brightness, int speed, std::optional<int> slot);
  void UserLightBegin(int slot);
  // Key code 0 sends nothing (byte 5 reserves 0 and 0xFE).
  void UserLightKey(int keyCode, bool lit);
  void UserLightEnd(int slot);
  // Unpaced; true when the report was sent.
  bool MusicLevel(int musicMode, int level);
  // Begin, 16 data reports, end: 18 paced reports.
  void MacroUpload(KeyTableSource& source, int keyProfile, int fnLayer);
  // Begin, 1 data report, end: 3 paced reports.
  void KeyMapUpload(KeyTableSource& source, int keyProfile, int fnLayer);
  // MacroUpload, 50 ms, KeyMapUpload: at least 722 ms.
  void UploadKeyAssignments(KeyTableSource& source, int keyProfile, int fnLayer);
  void FactoryReset(DeviceFamily family);
  // The 16-bit version, 0 when nothing could be read.
  int ReadFirmwareVersion();

 private:
  void Send(const CommandReport& report) { manager_.SendFeature(report.data(), index_); }

  DeviceManager& manager_;
  int index_;
};
