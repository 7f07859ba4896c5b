#include "platform/HidHotplugMonitor.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstring>
#include <cerrno>
#include <string>

#include "platform/HidInterfaceName.h"
#include "platform/HidrawSysfs.h"
#include "platform/UdevHandles.h"

namespace platform {
namespace {

bool UdevDaemonRuns() { return ::access("/run/udev/control", F_OK) == 0; }

// Whether the node that just arrived carries the marker collection. The hid
// parent is read from sysfs, which exists while the add event is handled.
bool NodeHasCollection(udev_device* hidraw, HidUsagePair marker) {
  for (const HidUsagePair& p : ParseTopLevelCollections(ReadHidrawDescriptor(hidraw))) {
    if (p == marker) return true;
  }
  return false;
}

}  // namespace

HidHotplugMonitor::HidHotplugMonitor(HidUsagePair marker) : marker_(marker) {}

HidHotplugMonitor::~HidHotplugMonitor() { Stop(); }

bool HidHotplugMonitor::Start(HidPresenceCallback callback) {
  std::lock_guard lock(mutex_);
  if (thread_.joinable() || !callback) return false;
  UdevPtr context(udev_new());
  if (!context) return false;
  UdevMonitorPtr monitor(udev_monitor_new_from_netlink(context.get(), UdevDaemonRuns() ? "udev" : "kernel"));
  if (!monitor) return false;
  if (udev_monitor_filter_add_match_subsystem_devtype(monitor.get(), "hidraw", nullptr) < 0 ||
      udev_monitor_enable_receiving(monitor.get()) < 0) {
    return false;
  }
  const int wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wake < 0) return false;
  wakeFd_ = wake;
  callback_ = std::move(callback);
  // The thread owns the monitor (and, through it, the context) from here on.
  udev_monitor* raw = monitor.release();
  udev_unref(context.release());  // the monitor keeps its own reference
  thread_ = std::thread([this, raw, wake] { Run(raw, wake); });
  return true;
}

void HidHotplugMonitor::Stop() {
  std::lock_guard lock(mutex_);
  if (!thread_.joinable()) return;
  const uint64_t one = 1;
  if (::write(wakeFd_, &one, sizeof one) < 0) {
    // eventfd writes only fail on overflow, which a single write cannot cause
  }
  thread_.join();
  ::close(wakeFd_);
  wakeFd_ = -1;
  callback_ = nullptr;
}

void HidHotplugMonitor::Run(void* rawMonitor, int wakeFd) {
  UdevMonitorPtr monitor(static_cast<udev_monitor*>(rawMonitor));
  const int fd = udev_monitor_get_fd(monitor.get());
  for (;;) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents) return;
    if (!(fds[0].revents & POLLIN)) continue;
    UdevDevicePtr dev(udev_monitor_receive_device(monitor.get()));
    if (!dev) continue;
    const char* action = udev_device_get_action(dev.get());
    const char* devpath = udev_device_get_devpath(dev.get());
    if (!action || !devpath) continue;
    const std::wstring name = InterfaceNameFromDevpath(devpath);
    if (name.empty()) continue;
    if (std::strcmp(action, "add") == 0) {
      if (NodeHasCollection(dev.get(), marker_)) callback_(HidPresenceEvent::Arrival, name);
    } else if (std::strcmp(action, "remove") == 0) {
      callback_(HidPresenceEvent::Removal, name);
    }
  }
}

}  // namespace platform
