// HID access through hidapi's hidraw backend. Collections come from each node's
// report descriptor (sysfs), because hidapi names only one usage pair per node
// while a node may carry several top-level collections.
#pragma once

#include <mutex>

#include "platform/HidAccess.h"

namespace platform {

class HidapiAccess final : public HidAccess {
 public:
  // Initialises hidapi; when that fails, each Enumerate tries again and finds
  // nothing while it keeps failing.
  HidapiAccess();
  // Releases hidapi. Every handle opened here must be closed before.
  ~HidapiAccess() override;
  HidapiAccess(const HidapiAccess&) = delete;
  HidapiAccess& operator=(const HidapiAccess&) = delete;

  std::vector<HidCollectionInfo> Enumerate() override;
  std::unique_ptr<HidDevice> Open(const std::string& path) override;

 private:
  bool EnsureInitialised();  // caller holds mutex_

  // hidapi keeps process-wide state (initialisation, last error) that its
  // enumerate and open calls write; they are serialised here.
  std::mutex mutex_;
  bool initialised_ = false;
};

}  // namespace platform
