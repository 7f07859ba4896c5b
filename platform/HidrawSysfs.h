// What sysfs tells about a hidraw node.
#pragma once

#include <libudev.h>

#include <cstdint>
#include <vector>

namespace platform {

// The report descriptor of the HID device behind a hidraw node (at most the
// kernel's 4096 bytes); empty when it cannot be read.
std::vector<uint8_t> ReadHidrawDescriptor(udev_device* hidraw);

}  // namespace platform
