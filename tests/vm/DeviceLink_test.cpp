// The program's own device code (DeviceManager, KeyboardProtocol, InputReader,
// DevicePresence and the hotplug monitor) on hidapi's hidraw backend, against uhid
// keyboards in the kernel: the same path a real keyboard is reached by.
#include "GuestFrames.h"
#include "UhidKeyboard.h"

#include "app/device/DeviceManager.h"
#include "app/device/DevicePresence.h"
#include "app/device/InputReader.h"
#include "app/device/KeyboardProtocol.h"
#include "platform/HidHotplugMonitor.h"
#include "platform/HidapiAccess.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <future>
#include <map>
#include <mutex>
#include <thread>

namespace {

using namespace std::chrono_literals;
using vmtest::Bytes;
using vmtest::Family;
using vmtest::Frame;
using vmtest::KeyboardModel;
using vmtest::OutputReport;
using vmtest::ReceivedReport;
using vmtest::UhidDevice;
using vmtest::UhidKeyboard;

constexpr int kFirstType = 1;
constexpr int kSecondType = 200;

KeyboardModel Model(Family family, uint16_t vendor, uint16_t product, uint16_t firmware,
                    const std::string& name, const std::string& phys) {
    KeyboardModel m;
    m.family = family;
    m.vendor = vendor;
    m.product = product;
    m.firmware = firmware;
    m.name = name;
    m.physStem = phys;
    return m;
}

std::vector<Bytes> SentData(const UhidDevice& device, ReceivedReport::Kind kind) {
    std::vector<Bytes> out;
    for (const auto& r : device.Reports()) {
        if (r.kind == kind) out.push_back(r.data);
    }
    return out;
}

std::vector<Bytes> Features(const UhidDevice& d) { return SentData(d, ReceivedReport::Kind::SetFeature); }
std::vector<Bytes> Outputs(const UhidDevice& d) { return SentData(d, ReceivedReport::Kind::Output); }

long long MsBetween(const ReceivedReport& a, const ReceivedReport& b) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(b.at - a.at).count();
}

// Whether this process holds the hidraw node open. The uhid open events cannot
// tell: the console's keyboard handler opens every keyboard input device itself.
bool HeldOpen(const UhidDevice& device) {
    const std::string node = device.HidrawPath();
    std::error_code ec;
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd", ec)) {
        std::error_code linkError;
        if (std::filesystem::read_symlink(fd.path(), linkError).string() == node) return true;
    }
    return false;
}

template <typename Predicate>
bool WaitFor(Predicate done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

// One macro key, one shortcut key, one remapped key and one default key, the
// shortcut listed first: macro blocks must still come first.
class FixedKeyTable : public KeyTableSource {
public:
    std::vector<UploadKeyRecord> KeyAssignments(int keyProfile, int fnLayer) override {
        if (keyProfile != 1 || fnLayer != 0) return {};
        return {{0x22, 7, 2}, {0x30, 2, 0x77}, {0x10, 3, 1}, {0x31, 0, 9}};
    }
    std::optional<int> MacroPlayTimes(int macroId) override {
        return macroId == 1 ? std::optional<int>(2) : std::nullopt;
    }
    std::vector<UploadMacroStep> MacroSteps(int macroId) override {
        if (macroId != 1) return {};
        return {{2, 65, 100}, {3, 65, 500}, {1, 0, 0}};
    }
};

// The 21 reports of the upload above, in order.
std::vector<Bytes> ExpectedUpload() {
    Bytes macro(768, 0);
    const Bytes macroBlock = {0x00, 0x00, 0x10, 0x02, 0x04, 0x0A, 0x04, 0xAA};
    const Bytes shortcutBlock = {0x00, 0x00, 0x22, 0x01, 0xE0, 0x01, 0x06, 0x01,
                                 0x06, 0x81, 0xE0, 0x81};
    std::copy(macroBlock.begin(), macroBlock.end(), macro.begin());
    std::copy(shortcutBlock.begin(), shortcutBlock.end(), macro.begin() + 64);
    Bytes keyMap(48, 0);
    keyMap[0] = 0x30;
    keyMap[12] = 0x77;

    std::vector<Bytes> all{Frame({0x07, 0x01, 0x23, 0x45, 0x67})};
    for (auto& r : vmtest::SubFrameReports(0x88, macro)) all.push_back(r);
    all.push_back(Frame({0x07, 0xAB, 0xCD, 0xEF, 0x00}));
    all.push_back(Frame({0x07, 0x76, 0x54, 0x32, 0x10}));
    for (auto& r : vmtest::SubFrameReports(0x99, keyMap)) all.push_back(r);
    all.push_back(Frame({0x07, 0xFE, 0xDC, 0xBA, 0x00}));
    return all;
}

class RecordingTasks : public DeviceTaskSink {
public:
    void QueueTask(int taskId) override {
        std::lock_guard<std::mutex> lock(mutex_);
        tasks_.push_back(taskId);
    }
    std::vector<int> Tasks() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return tasks_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<int> tasks_;
};

class RecordingSelector : public DeviceStateSink {
public:
    void SetDeviceState(int vid, int pid, bool present) override {
        std::lock_guard<std::mutex> lock(mutex_);
        states_[{vid, pid}] = present;
    }
    std::optional<bool> State(int vid, int pid) const {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = states_.find({vid, pid});
        return it == states_.end() ? std::nullopt : std::optional<bool>(it->second);
    }

private:
    mutable std::mutex mutex_;
    std::map<std::pair<int, int>, bool> states_;
};

class RecordingKeyEvents : public KeyEventSink {
public:
    void PostKeyEventInput(int deviceType, int actionId) override {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.emplace_back(deviceType, actionId);
    }
    std::vector<std::pair<int, int>> Events() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return events_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::pair<int, int>> events_;
};

// Two configured keyboards, one of each family, and one keyboard of the same shape
// that no model describes.
class VmDeviceLink : public ::testing::Test {
protected:
    VmDeviceLink()
        : first_(Model(Family::First, 0x24AE, 0x4076, 0x0105, "ORVA 100", "usb-0000:00:14.0-1")),
          second_(Model(Family::Second, 0x3A22, 0x0200, 0x0203, "ORVA 100 Pro", "usb-0000:00:14.0-2")),
          stranger_(Model(Family::First, 0x3A33, 0x0300, 0x0999, "Other keyboard", "usb-0000:00:14.0-4")),
          access_(std::make_shared<platform::HidapiAccess>()),
          manager_(access_) {}

    void SetUp() override {
        std::string error;
        for (UhidKeyboard* k : {&first_, &second_, &stranger_}) {
            ASSERT_TRUE(k->Plug(&error)) << error;
        }
        models_ = {
            {L"ORVA 100", kFirstType, 0x24AE, 0x4076, ModelIdPattern(0x24AE, 0x4076)},
            {L"ORVA 100 Pro", kSecondType, 0x3A22, 0x0200, ModelIdPattern(0x3A22, 0x0200)},
        };
        DevicePresence::RegisterFilters(manager_, models_);
        presence_ = std::make_unique<DevicePresence>(manager_, models_, tasks_, selector_,
                                                     [this] { ++readerRestarts_; });
        ASSERT_TRUE(presence_->ReopenDevices());
        firstIndex_ = manager_.IndexOf(0x24AE, 0x4076);
        secondIndex_ = manager_.IndexOf(0x3A22, 0x0200);
    }

    void TearDown() override { manager_.CloseAll(); }

    UhidKeyboard first_;
    UhidKeyboard second_;
    UhidKeyboard stranger_;
    std::shared_ptr<platform::HidapiAccess> access_;
    DeviceManager manager_;
    std::vector<PresenceModel> models_;
    RecordingTasks tasks_;
    RecordingSelector selector_;
    std::atomic<int> readerRestarts_{0};
    std::unique_ptr<DevicePresence> presence_;
    int firstIndex_ = -1;
    int secondIndex_ = -1;
};

TEST_F(VmDeviceLink, OpenAllOpensOnlyTheCommandCollectionOfConfiguredKeyboards) {
    ASSERT_EQ(manager_.Count(), 2);
    ASSERT_NE(firstIndex_, -1);
    ASSERT_NE(secondIndex_, -1);
    for (auto [index, keyboard] : {std::pair{firstIndex_, &first_}, std::pair{secondIndex_, &second_}}) {
        DeviceEntry entry;
        ASSERT_TRUE(manager_.EntryInfo(index, entry));
        EXPECT_EQ(entry.path, keyboard->VendorInterface().HidrawPath());
        char pattern[32];
        std::snprintf(pattern, sizeof pattern, "VID_%04X&PID_%04X", keyboard->Model().vendor,
                      keyboard->Model().product);
        const std::wstring wide(pattern, pattern + std::strlen(pattern));
        EXPECT_NE(entry.interfaceName.find(wide), std::wstring::npos);
        EXPECT_TRUE(HeldOpen(keyboard->VendorInterface()));
        EXPECT_FALSE(HeldOpen(keyboard->BootInterface()));
    }
    EXPECT_FALSE(HeldOpen(stranger_.VendorInterface()));
    EXPECT_FALSE(HeldOpen(stranger_.BootInterface()));
    EXPECT_EQ(selector_.State(0x24AE, 0x4076), std::optional<bool>(true));
    EXPECT_EQ(selector_.State(0x3A22, 0x0200), std::optional<bool>(true));
}

TEST_F(VmDeviceLink, CommandsArriveByteForByte) {
    KeyboardProtocol one(manager_, firstIndex_);
    KeyboardProtocol two(manager_, secondIndex_);
    one.SetLightMode(DeviceFamily::First, 5, 3, 2, std::nullopt);
    one.SetLightMode(DeviceFamily::First, 9, 4, 1, 2);
    one.UserLightBegin(1);
    one.UserLightKey(0x29, true);
    one.UserLightKey(0x00, true);  // key 0 is never sent
    one.UserLightKey(0x2A, false);
    one.UserLightEnd(1);
    one.FactoryReset(DeviceFamily::First);
    two.SetLightMode(DeviceFamily::Second, 5, 3, 2, std::nullopt);

    const std::vector<Bytes> expectedFirst = {
        Frame({0x07, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x00, 0x00}),
        Frame({0x07, 0xFF, 0xFF, 0x08, 0x04, 0x01, 0x00, 0x02}),
        Frame({0x07, 0x12, 0x34, 0x56, 0x78, 0x00, 0x00, 0x01}),
        Frame({0x07, 0x12, 0x34, 0x56, 0x78, 0x29, 0x01}),
        Frame({0x07, 0x12, 0x34, 0x56, 0x78, 0x2A, 0x00}),
        Frame({0x07, 0x12, 0x34, 0x56, 0x78, 0xFE, 0x00, 0x01}),
        Frame({0x07, 0xF0, 0xAA, 0x00, 0x00, 0x00}),
    };
    EXPECT_EQ(Features(first_.VendorInterface()), expectedFirst);
    for (const auto& r : first_.VendorInterface().Reports()) EXPECT_EQ(r.reportNumber, 7);
    ASSERT_TRUE(second_.VendorInterface().WaitForReports(1, 2s));
    EXPECT_EQ(Outputs(second_.VendorInterface()),
              std::vector<Bytes>{OutputReport({0xBB, 0xAA, 0x99, 0x88, 0xAA, 0x04, 0x03, 0x02})});
    EXPECT_TRUE(Features(second_.VendorInterface()).empty());
    EXPECT_TRUE(first_.BootInterface().Reports().empty());
    EXPECT_TRUE(stranger_.VendorInterface().Reports().empty());
}

TEST_F(VmDeviceLink, KeyTableUploadArrivesInFullAndPaced) {
    FixedKeyTable table;
    KeyboardProtocol(manager_, firstIndex_).UploadKeyAssignments(table, 1, 0);
    EXPECT_EQ(Features(first_.VendorInterface()), ExpectedUpload());

    const auto reports = first_.VendorInterface().Reports();
    ASSERT_EQ(reports.size(), 21u);
    // The sender waits 32 ms before each report; timestamps are taken on receipt,
    // so allow a little for the scheduler.
    for (size_t i = 1; i < reports.size(); ++i) {
        EXPECT_GE(MsBetween(reports[i - 1], reports[i]), 30) << "before report " << i;
    }
    EXPECT_GE(MsBetween(reports[17], reports[18]), 80);  // 50 ms between the tables
}

TEST_F(VmDeviceLink, SecondFamilyResetIsTwoOutputReportsAPauseApart) {
    KeyboardProtocol(manager_, secondIndex_).FactoryReset(DeviceFamily::Second);
    ASSERT_TRUE(second_.VendorInterface().WaitForReports(2, 3s));
    const std::vector<Bytes> expected = {
        OutputReport({0xBB, 0xAA, 0x99, 0x88, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}),
        OutputReport({0xBB, 0xAA, 0x99, 0x88}),
    };
    EXPECT_EQ(Outputs(second_.VendorInterface()), expected);
    const auto reports = second_.VendorInterface().Reports();
    EXPECT_GE(MsBetween(reports[0], reports[1]), 1590);
}

TEST_F(VmDeviceLink, FirmwareVersionIsTheDevicesAnswer) {
    EXPECT_EQ(KeyboardProtocol(manager_, firstIndex_).ReadFirmwareVersion(), 0x0105);
    EXPECT_EQ(KeyboardProtocol(manager_, secondIndex_).ReadFirmwareVersion(), 0x0203);
    for (UhidKeyboard* k : {&first_, &second_}) {
        const auto reports = k->VendorInterface().Reports();
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0].kind, ReceivedReport::Kind::GetFeature);
        EXPECT_EQ(reports[0].reportNumber, 7);
    }

    // A reply that does not start with the report id is asked for once more.
    Bytes odd(64, 0);
    odd[1] = 0x02;
    odd[2] = 0x01;
    first_.VendorInterface().SetFeatureReply(7, odd);
    first_.VendorInterface().ClearReports();
    EXPECT_EQ(KeyboardProtocol(manager_, firstIndex_).ReadFirmwareVersion(), 0x0201);
    EXPECT_EQ(first_.VendorInterface().Reports().size(), 2u);
}

TEST_F(VmDeviceLink, InputReaderHandsOnTheActionOfReportFiveOnly) {
    RecordingKeyEvents events;
    InputReader reader(access_, events, 0x24AE, 0x4076, kFirstType);
    reader.RestartReader();
    ASSERT_TRUE(reader.IsRunning());

    // A consumer-control report shares the node: 01 23 02 would give action 2 to a
    // reader that does not look at the report id.
    ASSERT_TRUE(first_.SendConsumerUsage(0x0223));
    ASSERT_TRUE(first_.SendKeyEvent(0x2C));
    ASSERT_TRUE(WaitFor([&] { return !events.Events().empty(); }, 3s));
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(events.Events(), (std::vector<std::pair<int, int>>{{kFirstType, 0x2C}}));
    EXPECT_FALSE(HeldOpen(first_.BootInterface()));
    reader.Stop();
    EXPECT_FALSE(reader.IsRunning());
}

TEST_F(VmDeviceLink, UnplugDuringMacroUploadIsARemovalAndPlugAnArrival) {
    platform::HidHotplugMonitor monitor({DeviceManager::kCommandUsagePage, DeviceManager::kCommandUsage});
    ASSERT_TRUE(monitor.Start([this](platform::HidPresenceEvent e, const std::wstring& name) {
        presence_->OnDeviceChange(e, name);
    }));

    // The keyboard leaves after the fifth report of the macro upload.
    first_.VendorInterface().DestroyAfterReports(5);
    FixedKeyTable table;
    auto upload = std::async(std::launch::async, [&] {
        KeyboardProtocol(manager_, firstIndex_).UploadKeyAssignments(table, 1, 0);
    });
    ASSERT_EQ(upload.wait_for(10s), std::future_status::ready) << "the upload hangs on a gone device";
    upload.get();
    EXPECT_EQ(Features(first_.VendorInterface()).size(), 5u);
    first_.BootInterface().Destroy();  // the rest of the keyboard goes too

    ASSERT_TRUE(WaitFor([&] { return !tasks_.Tasks().empty(); }, 5s)) << "no removal seen";
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(tasks_.Tasks(), std::vector<int>{DevicePresence::kTaskRemoval});
    EXPECT_EQ(presence_->LastPresenceEvent(), PresenceEventKind::Removal);
    EXPECT_EQ(presence_->LastPresenceType(), kFirstType);
    EXPECT_EQ(readerRestarts_.load(), 1);
    presence_->ReopenDevices();
    EXPECT_EQ(manager_.IndexOf(0x24AE, 0x4076), -1);
    EXPECT_EQ(selector_.State(0x24AE, 0x4076), std::optional<bool>(false));
    EXPECT_NE(manager_.IndexOf(0x3A22, 0x0200), -1);

    std::string error;
    ASSERT_TRUE(first_.Plug(&error)) << error;
    ASSERT_TRUE(WaitFor([&] { return tasks_.Tasks().size() >= 2; }, 5s)) << "no arrival seen";
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(tasks_.Tasks(), (std::vector<int>{DevicePresence::kTaskRemoval, DevicePresence::kTaskArrival}));
    EXPECT_EQ(presence_->LastPresenceEvent(), PresenceEventKind::Arrival);
    monitor.Stop();

    presence_->ReopenDevices();
    const int index = manager_.IndexOf(0x24AE, 0x4076);
    ASSERT_NE(index, -1);
    EXPECT_EQ(selector_.State(0x24AE, 0x4076), std::optional<bool>(true));
    KeyboardProtocol(manager_, index).SetLightMode(DeviceFamily::First, 2, 1, 1, std::nullopt);
    EXPECT_EQ(Features(first_.VendorInterface()),
              std::vector<Bytes>{Frame({0x07, 0xFF, 0xFF, 0x01, 0x01, 0x01})});
}

}  // namespace
