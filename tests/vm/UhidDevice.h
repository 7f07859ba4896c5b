// One HID device created in the kernel through /dev/uhid, as a USB keyboard's
// interface appears to the HID layer: the kernel parses its report descriptor, gives
// it a hidraw node and hands every report the host sends to this object.
//
// Only usable where the kernel has the uhid module (the test virtual machine).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vmtest {

// A report the host sent to the device, as the kernel handed it over.
struct ReceivedReport {
    enum class Kind { SetFeature, Output, GetFeature };
    Kind kind = Kind::SetFeature;
    // Report number the kernel names (SET_REPORT / GET_REPORT); 0 for output reports.
    uint8_t reportNumber = 0;
    // The bytes as they arrived, report id byte included when the host sent one.
    // Empty for GetFeature (a GET_REPORT request carries no data).
    std::vector<uint8_t> data;
    std::chrono::steady_clock::time_point at;
};

struct UhidIdentity {
    std::string name;  // HID_NAME; hidapi reports it as the product string off USB
    std::string phys;  // HID_PHYS
    std::string uniq;  // HID_UNIQ (serial)
    uint16_t bus = 0;  // BUS_* of <linux/input.h>
    uint16_t vendor = 0;
    uint16_t product = 0;
    uint32_t version = 0;
};

class UhidDevice {
public:
    UhidDevice(UhidIdentity identity, std::vector<uint8_t> descriptor);
    ~UhidDevice();  // destroys the kernel device if it exists
    UhidDevice(const UhidDevice&) = delete;
    UhidDevice& operator=(const UhidDevice&) = delete;

    // Opens /dev/uhid, creates the device and starts the thread that answers the
    // kernel. Returns false with a reason in *error on failure. Calling it while
    // the device exists does nothing and returns true. Any thread but the event thread.
    bool Create(std::string* error);
    // Removes the device from the kernel (an unplug); pending host transfers fail.
    // Waits for the event thread. Safe to call when not created.
    void Destroy();
    bool Exists() const;

    // Waits until the kernel has started the device and its hidraw node exists.
    // The node is found by the device's phys text, so that must be unique.
    bool WaitStarted(std::chrono::milliseconds timeout);
    // "/dev/hidrawN" of the device once WaitStarted succeeded, else empty.
    std::string HidrawPath() const;

    // Sends one input report (report id byte first when the descriptor numbers
    // input reports). False when the device does not exist or the write fails.
    bool SendInput(const std::vector<uint8_t>& report);

    // Reply given to every GET_REPORT for feature report number `reportNumber`
    // (bytes as the host will see them, report id included). Other numbers are
    // answered with an error.
    void SetFeatureReply(uint8_t reportNumber, std::vector<uint8_t> reply);

    // The reports received since creation or the last ClearReports, in order.
    std::vector<ReceivedReport> Reports() const;
    void ClearReports();
    // Waits until at least `count` reports are recorded; true when they are.
    bool WaitForReports(size_t count, std::chrono::milliseconds timeout) const;
    // Makes the device remove itself from the kernel (as Destroy) as soon as the
    // `count`-th report has been recorded: an unplug in the middle of a transfer,
    // at an exact point. The report that triggers it is still answered.
    void DestroyAfterReports(size_t count);

private:
    void EventLoop();
    void HandleEvent(const void* event);
    bool WriteEvent(const void* event, size_t size);
    void Record(ReceivedReport report);
    void DestroyKernelDevice();

    const UhidIdentity identity_;
    const std::vector<uint8_t> descriptor_;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    int fd_ = -1;
    int wakeFd_ = -1;  // eventfd that ends the event loop
    bool started_ = false;
    std::string hidrawPath_;
    bool destroyed_ = false;  // kernel device removed (by Destroy or DestroyAfterReports)
    size_t destroyAfter_ = 0;  // 0: never
    std::vector<ReceivedReport> reports_;
    std::vector<std::pair<uint8_t, std::vector<uint8_t>>> featureReplies_;
    std::thread thread_;
};

}  // namespace vmtest
