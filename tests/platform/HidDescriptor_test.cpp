#include <gtest/gtest.h>

#include "platform/HidInterfaceName.h"
#include "platform/HidReportDescriptor.h"

using platform::HidUsagePair;
using platform::ParseTopLevelCollections;

TEST(DeviceDescriptorParse, TopLevelCollectionsInOrder) {
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    std::vector<HidUsagePair> expected;
  } cases[] = {
      {"empty", {}, {}},
      {"boot keyboard", {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x81, 0x02, 0xC0},
       {{0x0001, 0x0006}}},
      {"consumer, vendor command, vendor input",
       {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x81, 0x00, 0xC0,
        0x06, 0x01, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x07, 0x09, 0x01, 0xB1, 0x02, 0xC0,
        0x06, 0xFF, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x05, 0x09, 0x01, 0x81, 0x02, 0xC0},
       {{0x000C, 0x0001}, {0xFF01, 0x0001}, {0xFFFF, 0x0001}}},
      {"nested collections are not top level",
       {0x06, 0x01, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x09, 0x02, 0xA1, 0x02, 0xC0, 0xC0},
       {{0xFF01, 0x0001}}},
      {"four-byte usage carries its page",
       {0x05, 0x01, 0x0B, 0x01, 0x00, 0xFF, 0xFF, 0xA1, 0x01, 0xC0}, {{0xFFFF, 0x0001}}},
      {"push and pop restore the page",
       {0x06, 0x01, 0xFF, 0xA4, 0x05, 0x0C, 0xB4, 0x09, 0x01, 0xA1, 0x01, 0xC0}, {{0xFF01, 0x0001}}},
      {"long item skipped", {0xFE, 0x02, 0x10, 0xAA, 0xBB, 0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0xC0},
       {{0x000C, 0x0001}}},
      {"truncated item stops the walk", {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0xC0, 0x06, 0x01}, {{0x000C, 0x0001}}},
      {"truncated long item", {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0xC0, 0xFE, 0x40, 0x00}, {{0x000C, 0x0001}}},
      {"unbalanced end", {0xC0, 0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01}, {}},
      {"pop without push", {0xB4, 0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseTopLevelCollections(c.bytes), c.expected) << c.name;
}

TEST(DeviceInterfaceName, BuiltFromTheSysfsPath) {
  const struct {
    const char* devpath;
    const wchar_t* name;
  } cases[] = {
      {"/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1/0003:24AE:4076.0005/hidraw/hidraw3",
       L"HID#VID_24AE&PID_4076&MI_01#hidraw3"},
      {"/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2.4/1-2.4:1.0/0003:1a2c:7fff.000A/hidraw/hidraw0",
       L"HID#VID_1A2C&PID_7FFF&MI_00#hidraw0"},
      {"/devices/virtual/misc/uhid/0003:24AE:4076.0001/hidraw/hidraw7", L"HID#VID_24AE&PID_4076#hidraw7"},
      {"/devices/virtual/misc/uhid/hidraw/hidraw7", L""},
      {"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(platform::InterfaceNameFromDevpath(c.devpath), c.name) << c.devpath;
}

TEST(DeviceInterfaceName, IdsReadBack) {
  uint16_t vid = 0, pid = 0;
  EXPECT_TRUE(platform::ParseInterfaceIds(L"HID#VID_24AE&PID_4076&MI_01#hidraw3", vid, pid));
  EXPECT_EQ(vid, 0x24AE);
  EXPECT_EQ(pid, 0x4076);
  EXPECT_TRUE(platform::ParseInterfaceIds(L"HID#VID_1a2c&PID_7fff#hidraw0", vid, pid));
  EXPECT_EQ(vid, 0x1A2C);
  for (const wchar_t* bad : {L"", L"HID#VID_24A&PID_4076", L"HID#VID_24AE&PID_40", L"USB#VID_24AE&PID_4076",
                             L"HID#VID_24AG&PID_4076"}) {
    EXPECT_FALSE(platform::ParseInterfaceIds(bad, vid, pid)) << bad;
  }
}
