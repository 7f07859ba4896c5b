#include <gtest/gtest.h>

#include <chrono>

#include "app/device/DeviceManager.h"
#include "platform/HidHotplugMonitor.h"
#include "platform/HidapiAccess.h"

// On the real stack: nothing configured means nothing opened, whatever HID
// devices this machine has.
TEST(DeviceHidapiStack, NoFiltersOpensNothing) {
  DeviceManager m(std::make_shared<platform::HidapiAccess>());
  m.OpenAll();
  m.SetOpened(true);
  EXPECT_EQ(m.Count(), 0);
  const uint8_t report[64] = {0x07};
  EXPECT_FALSE(m.SendFeatureNoWait(report, 0));
  m.CloseAll();
}

TEST(DeviceHidapiStack, EnumeratedNodesCarryInterfaceNames) {
  platform::HidapiAccess access;
  for (const auto& info : access.Enumerate()) {
    EXPECT_EQ(info.interfaceName.rfind(L"HID#VID_", 0), 0u) << info.path;
  }
}

TEST(DeviceHotplugMonitor, StopsPromptly) {
  platform::HidHotplugMonitor monitor({0xFF01, 0x0001});
  if (!monitor.Start([](platform::HidPresenceEvent, const std::wstring&) {})) {
    GTEST_SKIP() << "no uevent socket here";
  }
  EXPECT_FALSE(monitor.Start([](platform::HidPresenceEvent, const std::wstring&) {}));
  const auto before = std::chrono::steady_clock::now();
  monitor.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(500));
  monitor.Stop();  // twice is harmless
}
