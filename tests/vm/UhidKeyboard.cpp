#include "UhidKeyboard.h"

#include <chrono>

namespace vmtest {

namespace {

constexpr auto kStartTimeout = std::chrono::seconds(5);

// Consumer control: one 16-bit usage. `withId` puts report id 1 in front.
void AppendConsumerControl(std::vector<uint8_t>& d, bool withId) {
    d.insert(d.end(), {0x05, 0x0C,        // Usage Page (Consumer)
                       0x09, 0x01,        // Usage (Consumer Control)
                       0xA1, 0x01});      // Collection (Application)
    if (withId) d.insert(d.end(), {0x85, UhidKeyboard::kConsumerReportId});
    d.insert(d.end(), {0x15, 0x00,        //   Logical Minimum (0)
                       0x26, 0xFF, 0x03,  //   Logical Maximum (1023)
                       0x19, 0x00,        //   Usage Minimum (0)
                       0x2A, 0xFF, 0x03,  //   Usage Maximum (1023)
                       0x75, 0x10,        //   Report Size (16)
                       0x95, 0x01,        //   Report Count (1)
                       0x81, 0x00,        //   Input (Data, Array, Absolute)
                       0xC0});            // End Collection
}

void AppendVendorCommand(std::vector<uint8_t>& d, bool withOutput) {
    d.insert(d.end(), {0x06, 0x01, 0xFF,  // Usage Page (Vendor 0xFF01)
                       0x09, 0x01,        // Usage (1)
                       0xA1, 0x01,        // Collection (Application)
                       0x15, 0x00,        //   Logical Minimum (0)
                       0x26, 0xFF, 0x00,  //   Logical Maximum (255)
                       0x75, 0x08});      //   Report Size (8)
    // The report id is a global item that no later item can set back to "none", so
    // the unnumbered output report has to come before the first report id.
    if (withOutput) {
        d.insert(d.end(), {0x09, 0x03,    //   Usage (3)
                           0x95, 0x40,    //   Report Count (64)
                           0x91, 0x02});  //   Output (Data, Variable, Absolute)
    }
    d.insert(d.end(), {0x85, UhidKeyboard::kCommandReportId,  //   Report ID (7)
                       0x09, 0x02,        //   Usage (2)
                       0x95, 0x3F,        //   Report Count (63): 64 bytes with the id
                       0xB1, 0x02,        //   Feature (Data, Variable, Absolute)
                       0xC0});            // End Collection
}

void AppendVendorInput(std::vector<uint8_t>& d) {
    d.insert(d.end(), {0x06, 0xFF, 0xFF,  // Usage Page (Vendor 0xFFFF)
                       0x09, 0x01,        // Usage (1)
                       0xA1, 0x01,        // Collection (Application)
                       0x85, UhidKeyboard::kInputReportId,  //   Report ID (5)
                       0x09, 0x01,        //   Usage (1)
                       0x15, 0x00,        //   Logical Minimum (0)
                       0x26, 0xFF, 0x00,  //   Logical Maximum (255)
                       0x75, 0x08,        //   Report Size (8)
                       0x95, 0x03,        //   Report Count (3): 4 bytes with the id
                       0x81, 0x02,        //   Input (Data, Variable, Absolute)
                       0xC0});            // End Collection
}

}  // namespace

std::vector<uint8_t> UhidKeyboard::BootKeyboardDescriptor() {
    return {
        0x05, 0x01,        // Usage Page (Generic Desktop)
        0x09, 0x06,        // Usage (Keyboard)
        0xA1, 0x01,        // Collection (Application)
        0x05, 0x07,        //   Usage Page (Keyboard/Keypad)
        0x19, 0xE0,        //   Usage Minimum (Left Control)
        0x29, 0xE7,        //   Usage Maximum (Right GUI)
        0x15, 0x00,        //   Logical Minimum (0)
        0x25, 0x01,        //   Logical Maximum (1)
        0x75, 0x01,        //   Report Size (1)
        0x95, 0x08,        //   Report Count (8)
        0x81, 0x02,        //   Input (Data, Variable, Absolute): modifiers
        0x95, 0x01,        //   Report Count (1)
        0x75, 0x08,        //   Report Size (8)
        0x81, 0x01,        //   Input (Constant): reserved byte
        0x95, 0x05,        //   Report Count (5)
        0x75, 0x01,        //   Report Size (1)
        0x05, 0x08,        //   Usage Page (LEDs)
        0x19, 0x01,        //   Usage Minimum (Num Lock)
        0x29, 0x05,        //   Usage Maximum (Kana)
        0x91, 0x02,        //   Output (Data, Variable, Absolute): LEDs
        0x95, 0x01,        //   Report Count (1)
        0x75, 0x03,        //   Report Size (3)
        0x91, 0x01,        //   Output (Constant): padding
        0x95, 0x06,        //   Report Count (6)
        0x75, 0x08,        //   Report Size (8)
        0x15, 0x00,        //   Logical Minimum (0)
        0x25, 0x65,        //   Logical Maximum (101)
        0x05, 0x07,        //   Usage Page (Keyboard/Keypad)
        0x19, 0x00,        //   Usage Minimum (0)
        0x29, 0x65,        //   Usage Maximum (101)
        0x81, 0x00,        //   Input (Data, Array, Absolute): key array
        0xC0,              // End Collection
    };
}

std::vector<uint8_t> UhidKeyboard::VendorDescriptor(Family family) {
    const bool second = family == Family::Second;
    std::vector<uint8_t> d;
    AppendConsumerControl(d, !second);
    AppendVendorCommand(d, second);
    AppendVendorInput(d);
    return d;
}

UhidKeyboard::UhidKeyboard(KeyboardModel model) : model_(std::move(model)) {
    auto identity = [&](int interfaceNumber) {
        UhidIdentity id;
        id.name = model_.name;
        id.phys = model_.physStem + "/input" + std::to_string(interfaceNumber);
        id.bus = model_.bus;
        id.vendor = model_.vendor;
        id.product = model_.product;
        id.version = 0x0100;
        return id;
    };
    boot_ = std::make_unique<UhidDevice>(identity(0), BootKeyboardDescriptor());
    vendor_ = std::make_unique<UhidDevice>(identity(1), VendorDescriptor(model_.family));
    std::vector<uint8_t> reply(64, 0);
    reply[0] = kCommandReportId;
    reply[1] = static_cast<uint8_t>(model_.firmware >> 8);
    reply[2] = static_cast<uint8_t>(model_.firmware & 0xFF);
    vendor_->SetFeatureReply(kCommandReportId, std::move(reply));
}

bool UhidKeyboard::Plug(std::string* error) {
    if (!boot_->Create(error) || !vendor_->Create(error)) return false;
    if (!boot_->WaitStarted(kStartTimeout) || !vendor_->WaitStarted(kStartTimeout)) {
        *error = "the kernel did not start the uhid devices (is hid-generic loaded?)";
        return false;
    }
    return true;
}

void UhidKeyboard::Unplug() {
    vendor_->Destroy();
    boot_->Destroy();
}

bool UhidKeyboard::SendKeyEvent(uint8_t actionId) {
    return vendor_->SendInput({kInputReportId, 0x00, actionId, 0x00});
}

bool UhidKeyboard::SendConsumerUsage(uint16_t usage) {
    std::vector<uint8_t> report;
    // The second family's descriptor numbers its input reports (id 5) but not the
    // consumer one: the kernel then takes byte 0 as the id, so it must be 0.
    report.push_back(model_.family == Family::First ? kConsumerReportId : 0);
    report.push_back(static_cast<uint8_t>(usage & 0xFF));
    report.push_back(static_cast<uint8_t>(usage >> 8));
    return vendor_->SendInput(report);
}

}  // namespace vmtest
