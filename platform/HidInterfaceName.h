// Interface names for hidraw nodes. The program matches keyboards by patterns
// such as "VID_24AE&PID_4076" in a device's interface name, so every node gets
// a name of the form
//   HID#VID_xxxx&PID_xxxx&MI_ii#hidrawN   (MI_ii only for USB interfaces)
// with upper-case hexadecimal ids, built from the node's sysfs device path so
// that it can still be built when the node has just gone away.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Name for a hidraw node given its device path below /sys, for example
// "/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1/0003:24AE:4076.0005/hidraw/hidraw3".
// Empty when the path holds no HID device segment ("BBBB:VVVV:PPPP.IIII").
std::wstring InterfaceNameFromDevpath(std::string_view devpath);

// The same name from its parts; interfaceNumber < 0 leaves out "&MI_ii".
std::wstring FormatInterfaceName(uint16_t vendorId, uint16_t productId, int interfaceNumber,
                                 std::string_view node);

// Reads the vendor and product ids back from a name built above (hexadecimal
// digits of either case). False when the name does not start that way.
bool ParseInterfaceIds(std::wstring_view name, uint16_t& vendorId, uint16_t& productId);

}  // namespace platform
