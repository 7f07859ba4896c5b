// The seam between the device link and whatever reaches HID devices: the real
// hidraw stack through hidapi, or the simulated keyboards used for tests and
// for trying the program without hardware.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// One top-level collection of one HID node. A hidraw node may carry several
// collections; each is listed separately with the same path.
struct HidCollectionInfo {
  std::string path;            // what Open takes, e.g. "/dev/hidraw3"
  std::wstring interfaceName;  // "HID#VID_xxxx&PID_xxxx[&MI_xx]#hidrawN" (see HidInterfaceName.h)
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  uint16_t releaseNumber = 0;
  uint16_t usagePage = 0;
  uint16_t usage = 0;
};

// An opened HID node. Byte counts follow hidapi: a result > 0 is the number of
// bytes moved, 0 means nothing (read timeout), < 0 an error (for example the
// device is gone). Calls on one handle must be serialised by the caller; a read
// may run beside the other calls only when no other thread closes the handle.
class HidDevice {
 public:
  virtual ~HidDevice() = default;
  // data[0] is the report id; length includes it.
  virtual int SendFeatureReport(const uint8_t* data, size_t length) = 0;
  // buffer[0] holds the report id on entry; the reply overwrites the buffer.
  virtual int GetFeatureReport(uint8_t* buffer, size_t length) = 0;
  // data[0] is the report id (0 for none); length includes it.
  virtual int Write(const uint8_t* data, size_t length) = 0;
  // Waits at most timeoutMs for one input report; longer reports are truncated.
  virtual int ReadTimeout(uint8_t* buffer, size_t length, int timeoutMs) = 0;
  // Empty when the device does not tell.
  virtual std::wstring ProductString() = 0;
  virtual std::wstring ManufacturerString() = 0;
};

// Enumeration and opening. Implementations are safe to call from any thread.
class HidAccess {
 public:
  virtual ~HidAccess() = default;
  // Every collection of every present HID node, in enumeration order.
  virtual std::vector<HidCollectionInfo> Enumerate() = 0;
  // Opens the node for reading and writing; null when that fails.
  virtual std::unique_ptr<HidDevice> Open(const std::string& path) = 0;
};

enum class HidPresenceEvent { Arrival, Removal };

// Called with the interface name of the node that came or went.
using HidPresenceCallback = std::function<void(HidPresenceEvent, const std::wstring& interfaceName)>;

// Source of arrival and removal events. An arrival is raised once per node that
// carries the vendor command collection; a removal once per node that leaves
// (its collections can no longer be read then).
class HidPresenceSource {
 public:
  virtual ~HidPresenceSource() = default;
  // Starts delivering events to callback, from a thread of the source's own
  // (or the thread that caused the event). False when no events can come.
  virtual bool Start(HidPresenceCallback callback) = 0;
  // Stops delivery; when it returns the callback is no longer running or called.
  virtual void Stop() = 0;
};

}  // namespace platform
