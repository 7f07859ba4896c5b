// Owning handles for libudev objects.
#pragma once

#include <libudev.h>

#include <memory>

namespace platform {

struct UdevDeleter {
  void operator()(udev* p) const { udev_unref(p); }
  void operator()(udev_device* p) const { udev_device_unref(p); }
  void operator()(udev_monitor* p) const { udev_monitor_unref(p); }
};

using UdevPtr = std::unique_ptr<udev, UdevDeleter>;
using UdevDevicePtr = std::unique_ptr<udev_device, UdevDeleter>;
using UdevMonitorPtr = std::unique_ptr<udev_monitor, UdevDeleter>;

}  // namespace platform
