// A keyboard shaped like a real one of each device family, made of two uhid devices
// as its two USB interfaces appear to the HID layer:
//   interface 0: the boot keyboard collection;
//   interface 1: consumer control first, then the vendor command collection (usage
//     page 0xFF01, usage 1: feature report 7 of 64 bytes with its id, and for the
//     second family a 64-byte output report without id), then the vendor input
//     collection (usage page 0xFFFF, usage 1: input report 5 of 4 bytes with its id).
// It answers the firmware-version request, records what the host sends, sends input
// reports on request and can be unplugged and plugged again.
#pragma once

#include "UhidDevice.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vmtest {

enum class Family { First, Second };

struct KeyboardModel {
    Family family = Family::First;
    uint16_t vendor = 0;
    uint16_t product = 0;
    std::string name;          // the product string the host reads
    uint16_t firmware = 0;     // answered to the version request: 07, high, low
    // BUS_* of <linux/input.h>. Bluetooth: hidapi drops USB-bus devices that have no
    // USB device above them, which is what a uhid device is.
    uint16_t bus = 0x05;
    std::string physStem;      // e.g. "usb-0000:00:14.0-2"; "/input<n>" is appended
};

class UhidKeyboard {
public:
    static constexpr uint8_t kCommandReportId = 7;
    static constexpr uint8_t kInputReportId = 5;
    // Report id of the consumer-control input of the first family (the second
    // family's consumer report has none, so its output report can have none either).
    static constexpr uint8_t kConsumerReportId = 1;

    explicit UhidKeyboard(KeyboardModel model);

    // Creates both interfaces and waits until the kernel has started them.
    bool Plug(std::string* error);
    // Removes both interfaces from the kernel.
    void Unplug();

    UhidDevice& BootInterface() { return *boot_; }
    UhidDevice& VendorInterface() { return *vendor_; }
    const KeyboardModel& Model() const { return model_; }

    // Input report id 5 of the vendor input collection: 05 00 action 00.
    bool SendKeyEvent(uint8_t actionId);
    // A consumer-control input report on the same node (first family: id 1, then
    // the 16-bit usage).
    bool SendConsumerUsage(uint16_t usage);

    static std::vector<uint8_t> BootKeyboardDescriptor();
    static std::vector<uint8_t> VendorDescriptor(Family family);

private:
    KeyboardModel model_;
    std::unique_ptr<UhidDevice> boot_;
    std::unique_ptr<UhidDevice> vendor_;
};

}  // namespace vmtest
