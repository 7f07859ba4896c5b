#include "app/device/KeyboardProtocol.h"

#include <chrono>
#include <thread>

namespace {
void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
}  // namespace

void KeyboardProtocol::SetLightMode(DeviceFamily family, int mode, int brightness, int speed,
                                    std::optional<int> slot) {
  const CommandReport r = SetLightModeFrame(family, mode, brightness, speed, slot);
  if (family == DeviceFamily::Second) {
    manager_.WriteOutput(r.data(), index_);
  } else {
    Send(r);
  }
}

void KeyboardProtocol::UserLightBegin(int slot) { Send(UserLightBeginFrame(slot)); }

void KeyboardProtocol::UserLightKey(int keyCode, bool lit) {
  if (keyCode == 0) return;
  Send(UserLightKeyFrame(keyCode, lit));
}

void KeyboardProtocol::UserLightEnd(int slot) { Send(UserLightEndFrame(slot)); }

bool KeyboardProtocol::MusicLevel(int musicMode, int level) {
  const CommandReport r = MusicLevelFrame(musicMode, level);
  return manager_.SendFeatureNoWait(r.data(), index_);
}

void KeyboardProtocol::MacroUpload(KeyTableSource& source, int keyProfile, int fnLayer) {
  Send(MacroBeginFrame());
  const auto payload = BuildMacroPayload(source.KeyAssignments(keyProfile, fnLayer), source);
  for (size_t k = 0; k < kMacroDataReports; ++k) Send(PackSubFrames(kMacroMarker, payload.data(), payload.size(), k));
  Send(MacroEndFrame());
}

void KeyboardProtocol::KeyMapUpload(KeyTableSource& source, int keyProfile, int fnLayer) {
  Send(KeyMapBeginFrame());
  const auto payload = BuildKeyMapPayload(source.KeyAssignments(keyProfile, fnLayer));
  Send(PackSubFrames(kKeyMapMarker, payload.data(), payload.size(), 0));
  Send(KeyMapEndFrame());
}

void KeyboardProtocol::UploadKeyAssignments(KeyTableSource& source, int keyProfile, int fnLayer) {
  MacroUpload(source, keyProfile, fnLayer);
  Pause(kBetweenTablesMs);
  KeyMapUpload(source, keyProfile, fnLayer);
}

void KeyboardProtocol::FactoryReset(DeviceFamily family) {
  if (family == DeviceFamily::First) {
    Send(FirstFamilyResetFrame());
    Pause(kFirstResetPauseMs);
    return;
  }
  const CommandReport request = SecondFamilyResetFrame(true);
  manager_.WriteOutput(request.data(), index_);
  Pause(kSecondResetPauseMs);
  const CommandReport after = SecondFamilyResetFrame(false);
  manager_.WriteOutput(after.data(), index_);
}

int KeyboardProtocol::ReadFirmwareVersion() {
  int version = 0;
  manager_.ReadFirmwareVersion(index_, version);
  return version;
}
