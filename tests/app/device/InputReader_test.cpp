#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "app/device/InputReader.h"
#include "DeviceTestSupport.h"

namespace {

class RecordingSink : public KeyEventSink {
 public:
  void PostKeyEventInput(int deviceType, int actionId) override {
    std::lock_guard lock(mutex_);
    events_.emplace_back(deviceType, actionId);
    cv_.notify_all();
  }
  bool WaitFor(size_t count, int ms = 2000) {
    std::unique_lock lock(mutex_);
    return cv_.wait_for(lock, std::chrono::milliseconds(ms), [&] { return events_.size() >= count; });
  }
  std::vector<std::pair<int, int>> Events() {
    std::lock_guard lock(mutex_);
    return events_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  std::vector<std::pair<int, int>> events_;
};

}  // namespace

TEST(InputReaderDecode, OnlyReportIdFiveCarriesAnAction) {
  const struct {
    std::vector<uint8_t> bytes;
    bool decoded;
    int action;
  } cases[] = {
      {{0x05, 0x00, 0x2A, 0x00}, true, 0x2A},
      {{0x05, 0x09, 0x00, 0x09}, true, 0},
      {{0x05}, true, 0},
      {{0x04, 0x00, 0x2A, 0x00}, false, -1},
      {{}, false, -1},
  };
  for (const auto& c : cases) {
    int action = -1;
    EXPECT_EQ(DecodeKeyEventInput(c.bytes.data(), static_cast<int>(c.bytes.size()), action), c.decoded);
    EXPECT_EQ(action, c.action);
  }
}

TEST(InputReaderRun, ActionIdsReachTheWindowWithTheModelType) {
  SimulatedRig rig;
  RecordingSink sink;
  InputReader reader(rig.bus, sink, kVid, kPid, 17);
  reader.RestartReader();
  ASSERT_TRUE(reader.IsRunning());
  rig.keyboard->SendInput({0x04, 0x00, 0x33, 0x00});  // other report ids are ignored
  rig.keyboard->SendInputReport(0x21);
  rig.keyboard->SendInputReport(0);
  ASSERT_TRUE(sink.WaitFor(2));
  reader.Stop();
  EXPECT_EQ(sink.Events(), (std::vector<std::pair<int, int>>{{17, 0x21}, {17, 0}}));
  EXPECT_FALSE(reader.IsRunning());
}

TEST(InputReaderRun, NoInputCollectionLeavesTheReaderIdle) {
  SimulatedRig rig;
  RecordingSink sink;
  InputReader other(rig.bus, sink, 0x1111, 0x2222, 5);
  other.RestartReader();
  EXPECT_FALSE(other.IsRunning());
  rig.bus->Unplug(*rig.keyboard);
  InputReader unplugged(rig.bus, sink, kVid, kPid, 5);
  unplugged.RestartReader();
  EXPECT_FALSE(unplugged.IsRunning());
}

TEST(InputReaderRun, StopAndRestartNeverLeaveAThreadOrHandle) {
  SimulatedRig rig;
  RecordingSink sink;
  const int managerHandles = rig.keyboard->OpenHandleCount();
  {
    InputReader reader(rig.bus, sink, kVid, kPid, 1);
    reader.RestartReader();
    EXPECT_EQ(rig.keyboard->OpenHandleCount(), managerHandles + 1);
    // A reader waiting in its read stops promptly.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto before = std::chrono::steady_clock::now();
    reader.RestartReader();
    EXPECT_LT(MsBetween(before, std::chrono::steady_clock::now()), 500.0);
    EXPECT_EQ(rig.keyboard->OpenHandleCount(), managerHandles + 1);

    // Unplugged and plugged again: the restart finds the keyboard's new node.
    rig.bus->Unplug(*rig.keyboard);
    rig.bus->Plug(*rig.keyboard);
    reader.RestartReader();
    ASSERT_TRUE(reader.IsRunning());
    rig.keyboard->SendInputReport(9);
    ASSERT_TRUE(sink.WaitFor(1));
  }
  // Destroying the reader stops it and closes its handle.
  EXPECT_EQ(rig.keyboard->OpenHandleCount(), managerHandles);
}
