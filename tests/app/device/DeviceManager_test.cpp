#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/device/CommandFrames.h"
#include "app/device/KeyboardProtocol.h"
#include "DeviceTestSupport.h"
#include "platform/HidInterfaceName.h"

namespace {

using Kind = SimulatedKeyboard::ReportKind;

// A HID layer that lists what it is told and counts opens.
class ListedAccess : public platform::HidAccess {
 public:
  std::vector<platform::HidCollectionInfo> list;
  std::vector<std::string> opened;
  std::shared_ptr<SimulatedHidBus> backing = std::make_shared<SimulatedHidBus>();
  std::shared_ptr<SimulatedKeyboard> keyboard = backing->Attach({kVid, kPid, DeviceFamily::First});

  std::vector<platform::HidCollectionInfo> Enumerate() override { return list; }
  std::unique_ptr<platform::HidDevice> Open(const std::string& path) override {
    opened.push_back(path);
    return backing->Open(keyboard->Path());
  }
};

platform::HidCollectionInfo Info(const std::string& path, uint16_t page, uint16_t usage, uint16_t vid = kVid,
                                 uint16_t pid = kPid) {
  platform::HidCollectionInfo i;
  i.path = path;
  i.interfaceName = platform::FormatInterfaceName(vid, pid, 1, path.substr(path.rfind('/') + 1));
  i.vendorId = vid;
  i.productId = pid;
  i.usagePage = page;
  i.usage = usage;
  return i;
}

}  // namespace

TEST(DeviceManagerOpen, OnlyTheCommandCollectionOfAdmittedDevicesIsOpened) {
  auto access = std::make_shared<ListedAccess>();
  access->list = {
      Info("/dev/hidraw0", 0x0001, 0x06),                  // boot keyboard node
      Info("/dev/hidraw1", 0x000C, 0x01),                  // consumer control listed first...
      Info("/dev/hidraw1", 0xFF01, 0x01),                  // ...the command collection on the same node
      Info("/dev/hidraw1", 0xFFFF, 0x01),
      Info("/dev/hidraw2", 0xFF01, 0x02),                  // wrong usage
      Info("/dev/hidraw3", 0xFF01, 0x01, 0x1111, 0x2222),  // no filter
  };
  DeviceManager m(access);
  m.AddFilter(kVid, kPid, L"", Pattern(kVid, kPid));
  m.OpenAll();
  EXPECT_EQ(access->opened, std::vector<std::string>{"/dev/hidraw1"});
  ASSERT_EQ(m.Count(), 1);
  DeviceEntry e;
  ASSERT_TRUE(m.EntryInfo(0, e));
  EXPECT_EQ(e.path, "/dev/hidraw1");
  EXPECT_EQ(e.index, 0);
  EXPECT_TRUE(e.spareText.empty());
}

TEST(DeviceManagerOpen, FiltersDecideByPairAndPattern) {
  const struct {
    const char* name;
    std::vector<std::pair<std::wstring, bool>> filters;  // pattern, same pair
    bool opens;
  } cases[] = {
      {"no filters", {}, false},
      {"matching pattern", {{L"VID_24AE&PID_4076", true}}, true},
      {"empty pattern matches all", {{L"", true}}, true},
      {"pattern absent from name", {{L"MI_07", true}}, false},
      {"first filter of the pair decides", {{L"MI_07", true}, {L"", true}}, false},
      {"filter of another pair", {{L"", false}}, false},
  };
  for (const auto& c : cases) {
    auto access = std::make_shared<ListedAccess>();
    access->list = {Info("/dev/hidraw4", 0xFF01, 0x01)};
    DeviceManager m(access);
    for (const auto& [pattern, samePair] : c.filters) m.AddFilter(kVid, samePair ? kPid : 0x9999, L"", pattern);
    m.OpenAll();
    EXPECT_EQ(m.Count(), c.opens ? 1 : 0) << c.name;
  }
}

TEST(DeviceManagerOpen, TwoKeyboardsFollowEnumerationOrder) {
  auto bus = std::make_shared<SimulatedHidBus>();
  auto a = bus->Attach({kVid, kPid, DeviceFamily::First});
  auto b = bus->Attach({0x1A2C, 0x7FFF, DeviceFamily::First});
  auto c = bus->Attach({kVid, kPid, DeviceFamily::First});
  DeviceManager m(bus);
  m.AddFilter(kVid, kPid, L"", Pattern(kVid, kPid));
  m.AddFilter(0x1A2C, 0x7FFF, L"", Pattern(0x1A2C, 0x7FFF));
  m.OpenAll();
  m.SetOpened(true);
  ASSERT_EQ(m.Count(), 3);
  EXPECT_EQ(m.IndexOf(kVid, kPid), 0);
  EXPECT_EQ(m.IndexOf(0x1A2C, 0x7FFF), 1);
  EXPECT_EQ(m.IndexOf(0x1111, 0x2222), -1);
  DeviceEntry e;
  ASSERT_TRUE(m.EntryInfo(1, e));
  EXPECT_EQ(e.product, L"Simulated keyboard");
  EXPECT_EQ(e.interfaceName, b->InterfaceName());
  // One open handle per keyboard, and CloseAll closes them.
  EXPECT_EQ(a->OpenHandleCount() + b->OpenHandleCount() + c->OpenHandleCount(), 3);
  m.CloseAll();
  EXPECT_EQ(m.Count(), 0);
  EXPECT_EQ(a->OpenHandleCount() + b->OpenHandleCount() + c->OpenHandleCount(), 0);
}

TEST(DeviceManagerGuard, NothingIsSentWithoutAnOpenedDevice) {
  SimulatedRig rig;
  const CommandReport r = MacroBeginFrame();
  int version = 77;
  for (int index : {-1, 1, 5}) {
    rig.manager.SendFeature(r.data(), index);
    EXPECT_FALSE(rig.manager.SendFeatureNoWait(r.data(), index));
    EXPECT_FALSE(rig.manager.WriteOutput(r.data(), index));
    rig.manager.ReadFirmwareVersion(index, version);
  }
  rig.manager.SetOpened(false);
  EXPECT_FALSE(rig.manager.SendFeatureNoWait(r.data(), 0));
  // CloseAll does nothing while not opened: the entry stays.
  rig.manager.CloseAll();
  EXPECT_EQ(rig.manager.Count(), 1);
  EXPECT_TRUE(rig.keyboard->Reports().empty());
  EXPECT_EQ(version, 77);
}

TEST(DeviceManagerTransfer, PacedReportsWaitThirtyTwoMilliseconds) {
  SimulatedRig rig;
  const CommandReport r = UserLightBeginFrame(1);
  auto last = std::chrono::steady_clock::now();
  for (int i = 0; i < 4; ++i) {
    EXPECT_FALSE(rig.manager.SendFeature(r.data(), 0));  // never tells
  }
  const auto reports = rig.keyboard->Reports();
  ASSERT_EQ(reports.size(), 4u);
  for (const auto& rep : reports) {
    EXPECT_GE(MsBetween(last, rep.at), 32.0);
    EXPECT_EQ(rep.bytes, Bytes(r));
    EXPECT_EQ(rep.bytes.size(), 64u);
    last = rep.at;
  }
  // The unpaced send goes at once and tells the outcome.
  const auto before = std::chrono::steady_clock::now();
  EXPECT_TRUE(rig.manager.SendFeatureNoWait(r.data(), 0));
  EXPECT_LT(MsBetween(before, rig.keyboard->Reports().back().at), 20.0);
  rig.keyboard->RejectFeatureSends(1);
  EXPECT_FALSE(rig.manager.SendFeatureNoWait(r.data(), 0));
}

TEST(DeviceManagerTransfer, OutputWriteRetriesOnceAfterThirtyTwoMilliseconds) {
  const struct {
    int rejected;
    size_t writes;
    bool result;
  } cases[] = {{0, 1, true}, {1, 2, true}, {SimulatedKeyboard::kAlways, 2, false}};
  for (const auto& c : cases) {
    SimulatedRig rig(DeviceFamily::Second);
    rig.keyboard->RejectOutputWrites(c.rejected);
    const CommandReport r = SecondFamilyResetFrame(true);
    EXPECT_EQ(rig.manager.WriteOutput(r.data(), 0), c.result) << c.rejected;
    const auto reports = rig.keyboard->Reports();
    ASSERT_EQ(reports.size(), c.writes) << c.rejected;
    for (const auto& rep : reports) {
      EXPECT_EQ(rep.kind, Kind::Output);
      EXPECT_EQ(rep.bytes, Bytes(r));  // the payload after report id 0
    }
    if (c.writes == 2) {
      EXPECT_GE(MsBetween(reports[0].at, reports[1].at), 32.0);
    }
  }
}

TEST(DeviceManagerFirmware, RequestRetryAndFailures) {
  const struct {
    const char* name;
    std::vector<uint8_t> badIds;  // reply ids queued before the read
    int rejectReads;
    size_t requests;
    int version;  // out after the call (starts at -1)
  } cases[] = {
      {"plain reply", {}, 0, 1, 0x0105},
      {"first reply not 7: one more request", {0x06}, 0, 2, 0x0105},
      {"both replies bad: taken as they stand", {0x06, 0x00}, 0, 2, 0x0105},
      {"first read fails", {}, SimulatedKeyboard::kAlways, 1, -1},
  };
  for (const auto& c : cases) {
    SimulatedRig rig;
    for (uint8_t id : c.badIds) rig.keyboard->QueueFirmwareReplyId(id);
    rig.keyboard->RejectFeatureReads(c.rejectReads);
    int version = -1;
    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(rig.manager.ReadFirmwareVersion(0, version));
    const auto reports = rig.keyboard->Reports();
    ASSERT_EQ(reports.size(), c.requests) << c.name;
    EXPECT_EQ(version, c.version) << c.name;
    auto last = before;
    for (const auto& rep : reports) {
      EXPECT_EQ(rep.kind, Kind::Get);
      EXPECT_EQ(rep.bytes, Bytes(CommandReport{0x07, 0x02}));
      EXPECT_GE(MsBetween(last, rep.at), 32.0);
      last = rep.at;
    }
  }
}

TEST(DeviceManagerFirmware, FailedSecondReadKeepsTheVersionUnset) {
  SimulatedRig rig;
  rig.keyboard->QueueFirmwareReplyId(0x06);
  // The first read succeeds, the second is refused: the buffer would still hold
  // the request 07 02 00, which must not be taken as version 0x0200.
  rig.keyboard->RejectFeatureReads(1, 1);
  int version = -1;
  rig.manager.ReadFirmwareVersion(0, version);
  ASSERT_EQ(rig.keyboard->Reports().size(), 2u);
  EXPECT_EQ(version, -1);
}

TEST(DeviceManagerPresence, RemovedKeyboardFailsUntilReopened) {
  SimulatedRig rig;
  const CommandReport r = MacroBeginFrame();
  rig.bus->Unplug(*rig.keyboard);
  EXPECT_FALSE(rig.manager.SendFeatureNoWait(r.data(), 0));
  EXPECT_EQ(rig.manager.Count(), 1);  // stays listed until the next re-open
  rig.Reopen();
  EXPECT_EQ(rig.manager.IndexOf(kVid, kPid), -1);
  rig.bus->Plug(*rig.keyboard);
  rig.Reopen();
  EXPECT_EQ(rig.manager.IndexOf(kVid, kPid), 0);
  EXPECT_TRUE(rig.manager.SendFeatureNoWait(r.data(), 0));
}

TEST(DeviceManagerPresence, RemovalDuringMacroUploadFinishes) {
  SimulatedRig rig;
  FakeKeyTable table;
  std::thread unplug([&] {
    rig.keyboard->WaitForReports(5, 3000);
    rig.bus->Unplug(*rig.keyboard);
    rig.Reopen();  // the worker's task 3 on another thread
  });
  const auto before = std::chrono::steady_clock::now();
  KeyboardProtocol(rig.manager, 0).UploadKeyAssignments(table, 1, 0);
  unplug.join();
  EXPECT_LT(MsBetween(before, std::chrono::steady_clock::now()), 2000.0);
  const auto reports = rig.keyboard->Reports();
  EXPECT_GE(reports.size(), 5u);
  EXPECT_LT(reports.size(), 21u);
}

// The user-interface thread's immediate sends, the audio thread's unpaced
// frames and the worker's re-opens and uploads run at once.
TEST(DeviceManagerConcurrency, SendsAndReopensRunTogether) {
  SimulatedRig rig;
  std::atomic<bool> stop{false};
  std::thread audio([&] {
    KeyboardProtocol p(rig.manager, 0);
    while (!stop) {
      p.MusicLevel(1, 100);
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  });
  std::thread ui([&] {
    KeyboardProtocol p(rig.manager, 0);
    while (!stop) p.UserLightKey(0x04, true);
  });
  std::thread worker([&] {
    FakeKeyTable t;
    for (int i = 0; i < 6; ++i) {
      rig.Reopen();
      KeyboardProtocol(rig.manager, rig.manager.IndexOf(kVid, kPid)).MacroUpload(t, 1, 0);
      if (i == 2) rig.bus->Unplug(*rig.keyboard);
      if (i == 3) rig.bus->Plug(*rig.keyboard);
    }
    stop = true;
  });
  worker.join();
  ui.join();
  audio.join();
  rig.Reopen();
  EXPECT_EQ(rig.keyboard->OpenHandleCount(), 1);
  EXPECT_GT(rig.keyboard->Reports().size(), 20u);
}
