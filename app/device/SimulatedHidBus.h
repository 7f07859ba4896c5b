// The HID layer of the simulated keyboards: enumeration, opening and the
// arrival and removal events, the same as the hidapi layer and the udev
// monitor give for real nodes.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "app/device/SimulatedKeyboard.h"
#include "app/device/SimulationLog.h"
#include "platform/HidAccess.h"

class SimulatedHidBus final : public platform::HidAccess, public platform::HidPresenceSource {
 public:
  // Logs to logPath (empty: no log).
  explicit SimulatedHidBus(const std::string& logPath = {});
  // Logs to the file named by KEYSTREL_SIM_LOG, if set.
  static std::shared_ptr<SimulatedHidBus> FromEnvironment();

  // Creates a keyboard and plugs it in (raising an arrival when started).
  std::shared_ptr<SimulatedKeyboard> Attach(const SimulatedKeyboardSpec& spec);
  // Unplug: open handles fail from now on; raises one removal. Plug: the
  // keyboard comes back under a new node; raises one arrival. Each does
  // nothing when the keyboard is already in that state. The callback runs on
  // the calling thread before these return.
  void Unplug(SimulatedKeyboard& keyboard);
  void Plug(SimulatedKeyboard& keyboard);

  std::vector<platform::HidCollectionInfo> Enumerate() override;
  std::unique_ptr<platform::HidDevice> Open(const std::string& path) override;

  // The callback must not call Start or Stop.
  bool Start(platform::HidPresenceCallback callback) override;
  void Stop() override;

 private:
  void Raise(platform::HidPresenceEvent event, const std::wstring& name);

  std::shared_ptr<SimulationLog> log_;
  std::mutex mutex_;  // guards keyboards_, nextNode_
  std::vector<std::shared_ptr<SimulatedKeyboard>> keyboards_;
  int nextNode_ = 0;
  std::mutex callbackMutex_;  // held while the callback runs
  platform::HidPresenceCallback callback_;
};
