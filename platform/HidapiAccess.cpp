#include "platform/HidapiAccess.h"

#include <hidapi/hidapi.h>

#include <set>

#include "platform/HidInterfaceName.h"
#include "platform/HidReportDescriptor.h"
#include "platform/HidrawSysfs.h"
#include "platform/UdevHandles.h"

namespace platform {
namespace {

// Buffer for the product and manufacturer strings, in wide characters.
constexpr size_t kStringChars = 512;

struct EnumerationDeleter {
  void operator()(hid_device_info* p) const { hid_free_enumeration(p); }
};
struct HandleDeleter {
  void operator()(hid_device* p) const { hid_close(p); }
};

class HidapiDevice final : public HidDevice {
 public:
  explicit HidapiDevice(hid_device* handle) : handle_(handle) {}

  int SendFeatureReport(const uint8_t* data, size_t length) override {
    return hid_send_feature_report(handle_.get(), data, length);
  }
  int GetFeatureReport(uint8_t* buffer, size_t length) override {
    return hid_get_feature_report(handle_.get(), buffer, length);
  }
  int Write(const uint8_t* data, size_t length) override {
    return hid_write(handle_.get(), data, length);
  }
  int ReadTimeout(uint8_t* buffer, size_t length, int timeoutMs) override {
    return hid_read_timeout(handle_.get(), buffer, length, timeoutMs);
  }
  std::wstring ProductString() override {
    return ReadString(&hid_get_product_string);
  }
  std::wstring ManufacturerString() override {
    return ReadString(&hid_get_manufacturer_string);
  }

 private:
  std::wstring ReadString(int (*get)(hid_device*, wchar_t*, size_t)) {
    wchar_t buf[kStringChars] = {};
    if (get(handle_.get(), buf, kStringChars) < 0) return {};
    buf[kStringChars - 1] = 0;
    return buf;
  }

  std::unique_ptr<hid_device, HandleDeleter> handle_;
};

}  // namespace

HidapiAccess::HidapiAccess() {
  std::lock_guard lock(mutex_);
  EnsureInitialised();
}

HidapiAccess::~HidapiAccess() {
  if (initialised_) hid_exit();
}

bool HidapiAccess::EnsureInitialised() {
  if (!initialised_) initialised_ = hid_init() == 0;
  return initialised_;
}

std::vector<HidCollectionInfo> HidapiAccess::Enumerate() {
  std::lock_guard lock(mutex_);
  std::vector<HidCollectionInfo> out;
  if (!EnsureInitialised()) return out;
  std::unique_ptr<hid_device_info, EnumerationDeleter> list(hid_enumerate(0, 0));
  UdevPtr udevContext(udev_new());
  std::set<std::string> seen;
  for (const hid_device_info* r = list.get(); r; r = r->next) {
    if (!r->path) continue;
    const std::string path = r->path;
    // Newer hidapi lists a node once per collection; the descriptor below
    // yields them all, so each node is expanded once.
    if (!seen.insert(path).second) continue;
    const std::string node = path.substr(path.rfind('/') + 1);

    HidCollectionInfo base;
    base.path = path;
    base.vendorId = r->vendor_id;
    base.productId = r->product_id;
    base.releaseNumber = r->release_number;
    std::vector<HidUsagePair> collections;
    UdevDevicePtr dev(udevContext ? udev_device_new_from_subsystem_sysname(udevContext.get(), "hidraw",
                                                                          node.c_str())
                                  : nullptr);
    if (dev) {
      if (const char* devpath = udev_device_get_devpath(dev.get())) {
        base.interfaceName = InterfaceNameFromDevpath(devpath);
      }
      collections = ParseTopLevelCollections(ReadHidrawDescriptor(dev.get()));
    }
    if (base.interfaceName.empty()) {
      base.interfaceName = FormatInterfaceName(r->vendor_id, r->product_id, r->interface_number, node);
    }
    if (collections.empty()) collections.push_back({r->usage_page, r->usage});
    for (const HidUsagePair& c : collections) {
      HidCollectionInfo info = base;
      info.usagePage = c.usagePage;
      info.usage = c.usage;
      out.push_back(std::move(info));
    }
  }
  return out;
}

std::unique_ptr<HidDevice> HidapiAccess::Open(const std::string& path) {
  std::lock_guard lock(mutex_);
  if (!EnsureInitialised()) return nullptr;
  hid_device* handle = hid_open_path(path.c_str());
  if (!handle) return nullptr;
  return std::make_unique<HidapiDevice>(handle);
}

}  // namespace platform
