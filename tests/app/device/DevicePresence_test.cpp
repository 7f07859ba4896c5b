#include <gtest/gtest.h>

#include <map>

#include "app/device/DevicePresence.h"
#include "app/device/InputReader.h"
#include "DeviceTestSupport.h"

namespace {

struct RecordingTasks : DeviceTaskSink {
  std::vector<int> tasks;
  void QueueTask(int id) override { tasks.push_back(id); }
};

struct RecordingSelector : DeviceStateSink {
  std::map<std::pair<int, int>, bool> state;
  void SetDeviceState(int vid, int pid, bool present) override { state[{vid, pid}] = present; }
};

struct NullSink : KeyEventSink {
  void PostKeyEventInput(int, int) override {}
};

PresenceModel Model(int type, int vid, int pid) {
  PresenceModel m;
  m.name = L"model";
  m.type = type;
  m.vid = vid;
  m.pid = pid;
  m.idPattern = ModelIdPattern(vid, pid);
  return m;
}

// Models, presence, a reader per model and the bus events wired as the
// controller wires them (events delivered straight to the presence handler).
struct PresenceRig {
  std::shared_ptr<SimulatedHidBus> bus = std::make_shared<SimulatedHidBus>();
  DeviceManager manager{bus};
  RecordingTasks tasks;
  RecordingSelector selector;
  NullSink sink;
  std::vector<std::unique_ptr<InputReader>> readers;
  int restarts = 0;
  std::unique_ptr<DevicePresence> presence;

  explicit PresenceRig(std::vector<PresenceModel> models) {
    DevicePresence::RegisterFilters(manager, models);
    for (const auto& m : models) readers.push_back(std::make_unique<InputReader>(bus, sink, m.vid, m.pid, m.type));
    presence = std::make_unique<DevicePresence>(manager, models, tasks, selector, [this] {
      ++restarts;
      for (auto& r : readers) r->RestartReader();
    });
    bus->Start([this](platform::HidPresenceEvent e, const std::wstring& name) { presence->OnDeviceChange(e, name); });
  }
  ~PresenceRig() { bus->Stop(); }
};

}  // namespace

TEST(PresenceHotplug, OneTaskPerArrivalAndRemoval) {
  PresenceRig rig({Model(1, kVid, kPid), Model(200, 0x3333, 0x4444)});
  EXPECT_FALSE(rig.presence->ReopenDevices());
  EXPECT_FALSE(rig.presence->Connected());

  auto kb = rig.bus->Attach({kVid, kPid, DeviceFamily::First});
  EXPECT_EQ(rig.tasks.tasks, std::vector<int>{2});
  EXPECT_EQ(rig.restarts, 1);
  EXPECT_EQ(rig.presence->LastPresenceEvent(), PresenceEventKind::Arrival);
  EXPECT_EQ(rig.presence->LastPresenceType(), 1);
  EXPECT_TRUE(rig.readers[0]->IsRunning());
  EXPECT_FALSE(rig.readers[1]->IsRunning());

  EXPECT_TRUE(rig.presence->ReopenDevices());  // task 2 on the worker
  EXPECT_TRUE(rig.presence->Models()[0].present);
  EXPECT_EQ(rig.presence->Models()[0].deviceIndex, 0);
  EXPECT_TRUE((rig.selector.state[{kVid, kPid}]));
  EXPECT_FALSE((rig.selector.state[{0x3333, 0x4444}]));

  rig.presence->ClearLastPresenceEvent();
  rig.bus->Unplug(*kb);
  EXPECT_EQ(rig.tasks.tasks, (std::vector<int>{2, 3}));
  EXPECT_EQ(rig.restarts, 2);
  EXPECT_EQ(rig.presence->LastPresenceEvent(), PresenceEventKind::Removal);
  EXPECT_FALSE(rig.presence->Models()[0].present);
  EXPECT_FALSE(rig.readers[0]->IsRunning());
  EXPECT_FALSE(rig.presence->ReopenDevices());

  // A second removal of the same model (another node of it) is not present any more.
  rig.presence->OnDeviceChange(platform::HidPresenceEvent::Removal, kb->InterfaceName());
  EXPECT_EQ(rig.tasks.tasks.size(), 2u);
}

TEST(PresenceHotplug, UnknownDevicesAndAbsentModelsAreIgnored) {
  PresenceRig rig({Model(1, kVid, kPid)});
  auto stranger = rig.bus->Attach({0x1111, 0x2222, DeviceFamily::First});
  rig.bus->Unplug(*stranger);
  // Removal of a configured model that was never marked present.
  auto kb = rig.bus->Attach({kVid, kPid, DeviceFamily::First});
  rig.bus->Unplug(*kb);
  EXPECT_EQ(rig.tasks.tasks, std::vector<int>{2});
  rig.presence->OnDeviceChange(platform::HidPresenceEvent::Arrival, L"HID#VID_24AE&PID_4077#hidraw9");
  EXPECT_EQ(rig.tasks.tasks.size(), 1u);
  // Names are matched upper-cased.
  rig.presence->OnDeviceChange(platform::HidPresenceEvent::Arrival, L"hid#vid_24ae&pid_4076#hidraw9");
  EXPECT_EQ(rig.tasks.tasks, (std::vector<int>{2, 2}));
}

TEST(PresenceHotplug, SameIdsTwiceOnlyTheFirstEntryHearsArrivals) {
  PresenceRig rig({Model(5, kVid, kPid), Model(6, kVid, kPid)});
  rig.bus->Attach({kVid, kPid, DeviceFamily::First});
  EXPECT_EQ(rig.tasks.tasks, std::vector<int>{2});
  EXPECT_EQ(rig.presence->LastPresenceType(), 5);
}

TEST(PresenceReopen, BothIdentitiesAreShownOnce) {
  const struct {
    bool primary, secondary;
    bool shownPrimary, shownSecondary;
  } cases[] = {
      {true, true, true, false},
      {false, true, false, true},
      {true, false, true, false},
      {false, false, false, false},
  };
  for (const auto& c : cases) {
    PresenceRig rig({Model(1, 0x1A2C, 0x7FFF), Model(2, 0x24AE, 0x4076)});
    if (c.secondary) rig.bus->Attach({0x1A2C, 0x7FFF, DeviceFamily::First});
    if (c.primary) rig.bus->Attach({0x24AE, 0x4076, DeviceFamily::First});
    EXPECT_EQ(rig.presence->ReopenDevices(), c.primary || c.secondary);
    EXPECT_EQ((rig.selector.state[{0x24AE, 0x4076}]), c.shownPrimary);
    EXPECT_EQ((rig.selector.state[{0x1A2C, 0x7FFF}]), c.shownSecondary);
    // The model itself is present whenever its interface is open.
    EXPECT_EQ(rig.presence->Models()[0].present, c.secondary);
  }
}
