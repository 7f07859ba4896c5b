#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/device/DeviceSimulation.h"
#include "app/device/KeyboardProtocol.h"
#include "DeviceTestSupport.h"
#include "platform/HidReportDescriptor.h"

TEST(SimulatedKeyboardBus, OneKeyboardPerModelWithBothVendorCollections) {
  SimulatedHidBus bus;
  std::vector<PresenceModel> models(2);
  models[0].vid = 0x24AE, models[0].pid = 0x4076, models[0].type = 101, models[0].name = L"One";
  models[1].vid = 0x2F5D, models[1].pid = 0x0C20, models[1].type = 201;
  const auto keyboards = AttachSimulatedKeyboards(bus, models);
  ASSERT_EQ(keyboards.size(), 2u);
  EXPECT_EQ(keyboards[1]->Spec().family, DeviceFamily::Second);
  EXPECT_EQ(keyboards[0]->Spec().product, L"One (simulated)");
  const auto all = bus.Enumerate();
  ASSERT_EQ(all.size(), 6u);
  // The node is named by consumer control first, as real hardware is.
  EXPECT_EQ(all[0].usagePage, 0x000C);
  EXPECT_EQ(all[1].usagePage, 0xFF01);
  EXPECT_EQ(all[2].usagePage, 0xFFFF);
  EXPECT_EQ(all[0].path, all[2].path);
  EXPECT_EQ(all[3].interfaceName.find(L"HID#VID_2F5D&PID_0C20#"), 0u);
}

TEST(SimulatedKeyboardLog, OneLinePerReport) {
  const auto path = std::filesystem::temp_directory_path() / ("keystrel-simlog-" + std::to_string(::getpid()));
  std::filesystem::remove(path);
  {
    auto bus = std::make_shared<SimulatedHidBus>(path.string());
    auto first = bus->Attach({kVid, kPid, DeviceFamily::First, 0x0203});
    auto second = bus->Attach({0x2F5D, 0x0C20, DeviceFamily::Second});
    DeviceManager m(bus);
    m.AddFilter(kVid, kPid, L"", Pattern(kVid, kPid));
    m.AddFilter(0x2F5D, 0x0C20, L"", Pattern(0x2F5D, 0x0C20));
    m.OpenAll();
    m.SetOpened(true);
    KeyboardProtocol(m, 0).SetLightMode(DeviceFamily::First, 1, 2, 3, std::nullopt);
    KeyboardProtocol(m, 1).SetLightMode(DeviceFamily::Second, 1, 2, 3, std::nullopt);
    EXPECT_EQ(KeyboardProtocol(m, 0).ReadFirmwareVersion(), 0x0203);
  }
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  ASSERT_EQ(lines.size(), 3u);
  const auto rest = [](const std::string& l) { return l.substr(l.find(' ') + 1); };
  EXPECT_EQ(rest(lines[0]).substr(0, 35), "feature 07 FF FF 00 02 03 00 00 00 ");
  EXPECT_EQ(rest(lines[1]).substr(0, 34), "output BB AA 99 88 AA 00 02 03 00 ");
  EXPECT_EQ(rest(lines[2]).substr(0, 15), "get 07 02 00 00");
  EXPECT_EQ(rest(lines[0]).size(), std::string("feature").size() + 64 * 3);
  EXPECT_GE(std::stol(lines[1]), std::stol(lines[0]));
  std::filesystem::remove(path);
}

TEST(SimulatedKeyboardLog, LineFormat) {
  EXPECT_EQ(SimulationLog::FormatLine(1234, "get", {0x07, 0x02, 0xAB}), "1234 get 07 02 AB");
}
