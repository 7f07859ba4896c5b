// Which configured keyboards are attached: re-opening the command interfaces,
// marking each model present or absent, and turning arrival and removal
// events into worker tasks and reader restarts.
//
// Threads: ReopenDevices runs on the worker (tasks 2 and 3) and at start on the
// user-interface thread; OnDeviceChange on the user-interface thread. The
// model list is guarded by the object's own lock, which is never held while
// the sinks or the device manager are called.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "app/device/DeviceManager.h"
#include "platform/HidAccess.h"

// A model of the device description, with the presence fields kept here.
struct PresenceModel {
  std::wstring name;
  int type = 0;
  int vid = 0;
  int pid = 0;
  std::wstring idPattern;  // "VID_%04X&PID_%04X"
  bool present = false;
  int deviceIndex = -1;
};

// The controller's task queue (thread-safe; called from the user-interface thread).
class DeviceTaskSink {
 public:
  virtual ~DeviceTaskSink() = default;
  virtual void QueueTask(int taskId) = 0;
};

// The device selector's presence marks (CDeviceCtrl::SetDeviceState). Called
// from the thread that runs ReopenDevices; post on to the user-interface thread.
class DeviceStateSink {
 public:
  virtual ~DeviceStateSink() = default;
  virtual void SetDeviceState(int vid, int pid, bool present) = 0;
};

enum class PresenceEventKind { None = 0, Arrival = 1, Removal = 2 };

// "VID_%04X&PID_%04X" with upper-case digits.
std::wstring ModelIdPattern(int vid, int pid);

class DevicePresence {
 public:
  static constexpr int kTaskArrival = 2;
  static constexpr int kTaskRemoval = 3;
  // A keyboard that shows up under both identities is shown once: the
  // secondary entry counts as absent while the primary one is open.
  static constexpr int kPrimaryVid = 0x24AE, kPrimaryPid = 0x4076;
  static constexpr int kSecondaryVid = 0x1A2C, kSecondaryPid = 0x7FFF;

  // restartReaders: RestartReader on every input reader (user-interface thread).
  DevicePresence(DeviceManager& manager, std::vector<PresenceModel> models, DeviceTaskSink& tasks,
                 DeviceStateSink& selector, std::function<void()> restartReaders);

  // One filter per model with its id pattern (once per start).
  static void RegisterFilters(DeviceManager& manager, const std::vector<PresenceModel>& models);

  // CloseAll, OpenAll, opened; then every model's device index and present
  // flag, and its displayed state in the selector. Returns Connected().
  bool ReopenDevices();
  // Arrival: first model whose id pattern occurs in the upper-cased name.
  // Removal: first present model whose vid and pid ("%04X") both occur in it.
  // A match records the event, queues task 2 or 3 and restarts the readers.
  void OnDeviceChange(platform::HidPresenceEvent event, const std::wstring& interfaceName);

  bool Connected() const;
  PresenceEventKind LastPresenceEvent() const;
  int LastPresenceType() const;
  void ClearLastPresenceEvent();
  std::vector<PresenceModel> Models() const;

 private:
  DeviceManager& manager_;
  DeviceTaskSink& tasks_;
  DeviceStateSink& selector_;
  std::function<void()> restartReaders_;

  mutable std::mutex mutex_;  // guards everything below
  std::vector<PresenceModel> models_;
  bool connected_ = false;
  PresenceEventKind lastEvent_ = PresenceEventKind::None;
  int lastType_ = 0;
};
