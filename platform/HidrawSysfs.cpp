#include "platform/HidrawSysfs.h"

#include <fstream>
#include <string>

namespace platform {
namespace {
constexpr size_t kMaxDescriptorBytes = 4096;
}

std::vector<uint8_t> ReadHidrawDescriptor(udev_device* hidraw) {
  udev_device* hid = hidraw ? udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr) : nullptr;
  const char* syspath = hid ? udev_device_get_syspath(hid) : nullptr;
  if (!syspath) return {};
  std::ifstream in(std::string(syspath) + "/report_descriptor", std::ios::binary);
  std::vector<uint8_t> bytes;
  char c = 0;
  while (in && bytes.size() < kMaxDescriptorBytes && in.get(c)) bytes.push_back(static_cast<uint8_t>(c));
  return bytes;
}

}  // namespace platform
