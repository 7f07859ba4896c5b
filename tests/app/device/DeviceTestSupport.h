// Shared pieces of the device-link tests: an in-memory key table and a
// simulated keyboard opened through a DeviceManager.
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <vector>

#include "app/device/DeviceManager.h"
#include "app/device/DevicePresence.h"
#include "app/device/KeyTableSource.h"
#include "app/device/SimulatedHidBus.h"

namespace {

class FakeKeyTable : public KeyTableSource {
 public:
  std::vector<UploadKeyRecord> records;
  std::map<int, int> playTimes;                          // macro id -> play_times
  std::map<int, std::vector<UploadMacroStep>> steps;     // macro id -> steps

  std::vector<UploadKeyRecord> KeyAssignments(int, int) override { return records; }
  std::optional<int> MacroPlayTimes(int id) override {
    const auto it = playTimes.find(id);
    if (it == playTimes.end()) return std::nullopt;
    return it->second;
  }
  std::vector<UploadMacroStep> MacroSteps(int id) override {
    const auto it = steps.find(id);
    return it == steps.end() ? std::vector<UploadMacroStep>{} : it->second;
  }
};

constexpr uint16_t kVid = 0x24AE;
constexpr uint16_t kPid = 0x4076;

inline std::wstring Pattern(uint16_t vid, uint16_t pid) { return ModelIdPattern(vid, pid); }

// A bus with one keyboard, a manager with its filter, opened.
struct SimulatedRig {
  std::shared_ptr<SimulatedHidBus> bus = std::make_shared<SimulatedHidBus>();
  std::shared_ptr<SimulatedKeyboard> keyboard;
  DeviceManager manager{bus};

  explicit SimulatedRig(DeviceFamily family = DeviceFamily::First, uint16_t vid = kVid, uint16_t pid = kPid) {
    keyboard = bus->Attach({vid, pid, family, 0x0105, L"Sim", L"Maker"});
    manager.AddFilter(vid, pid, L"", Pattern(vid, pid));
    Reopen();
  }
  void Reopen() {
    manager.CloseAll();
    manager.OpenAll();
    manager.SetOpened(true);
  }
};

inline double MsBetween(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

inline std::vector<uint8_t> Bytes(const CommandReport& r) { return {r.begin(), r.end()}; }

}  // namespace
