// Arrival and removal of hidraw nodes, from a libudev monitor. When no udev
// daemon runs (containers, a bare virtual machine) the monitor listens to the
// kernel's own uevents instead, which carry the same device paths.
#pragma once

#include <atomic>
#include <mutex>
#include <thread>

#include "platform/HidAccess.h"
#include "platform/HidReportDescriptor.h"

namespace platform {

class HidHotplugMonitor final : public HidPresenceSource {
 public:
  // An arrival is reported only for nodes whose report descriptor holds the
  // collection `marker` (the keyboard's command collection), so one keyboard
  // with several nodes arrives once; removals are reported for every node.
  explicit HidHotplugMonitor(HidUsagePair marker);
  ~HidHotplugMonitor() override;  // stops
  HidHotplugMonitor(const HidHotplugMonitor&) = delete;
  HidHotplugMonitor& operator=(const HidHotplugMonitor&) = delete;

  // Starts the monitor thread; the callback runs on it. False when the
  // monitor cannot be set up (or is already running).
  bool Start(HidPresenceCallback callback) override;
  void Stop() override;

 private:
  void Run(void* monitor, int wakeFd);

  HidUsagePair marker_;
  std::mutex mutex_;  // guards Start/Stop against each other
  std::thread thread_;
  int wakeFd_ = -1;   // eventfd that ends the thread's poll
  HidPresenceCallback callback_;
};

}  // namespace platform
