#include <gtest/gtest.h>

#include "app/device/CommandFrames.h"
#include "app/device/KeyCodes.h"
#include "app/device/KeyboardProtocol.h"
#include "DeviceTestSupport.h"

namespace {

// 64 bytes: the given head, zeros after.
std::vector<uint8_t> Head(std::initializer_list<uint8_t> head) {
  std::vector<uint8_t> v(64, 0);
  std::copy(head.begin(), head.end(), v.begin());
  return v;
}

struct FrameCase {
  const char* name;
  CommandReport frame;
  std::vector<uint8_t> expected;
};

TEST(ProtocolFrames, EveryFixedCommandMatchesItsBytes) {
  const FrameCase cases[] = {
      {"light first, slot", SetLightModeFrame(DeviceFamily::First, 5, 3, 2, 1),
       Head({0x07, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x00, 0x01})},
      {"light first, no slot", SetLightModeFrame(DeviceFamily::First, 1, 4, 0, std::nullopt),
       Head({0x07, 0xFF, 0xFF, 0x00, 0x04, 0x00, 0x00, 0x00})},
      {"light second", SetLightModeFrame(DeviceFamily::Second, 3, 5, 1, 2),
       Head({0xBB, 0xAA, 0x99, 0x88, 0xAA, 0x02, 0x05, 0x01})},
      {"user light begin", UserLightBeginFrame(2), Head({0x07, 0x12, 0x34, 0x56, 0x78, 0x00, 0x00, 0x02})},
      {"user light key lit", UserLightKeyFrame(0x29, true), Head({0x07, 0x12, 0x34, 0x56, 0x78, 0x29, 0x01})},
      {"user light key dark", UserLightKeyFrame(0x29, false), Head({0x07, 0x12, 0x34, 0x56, 0x78, 0x29, 0x00})},
      {"user light end", UserLightEndFrame(1), Head({0x07, 0x12, 0x34, 0x56, 0x78, 0xFE, 0x00, 0x01})},
      {"music level", MusicLevelFrame(2, 200), Head({0x07, 0x23, 0x45, 0x67, 0x89, 0x02, 0xC8})},
      {"music level clamped", MusicLevelFrame(1, 4000), Head({0x07, 0x23, 0x45, 0x67, 0x89, 0x01, 0xFF})},
      {"macro begin", MacroBeginFrame(), Head({0x07, 0x01, 0x23, 0x45, 0x67})},
      {"macro end", MacroEndFrame(), Head({0x07, 0xAB, 0xCD, 0xEF, 0x00})},
      {"keymap begin", KeyMapBeginFrame(), Head({0x07, 0x76, 0x54, 0x32, 0x10})},
      {"keymap end", KeyMapEndFrame(), Head({0x07, 0xFE, 0xDC, 0xBA, 0x00})},
      {"reset first", FirstFamilyResetFrame(), Head({0x07, 0xF0, 0xAA})},
      {"reset second request", SecondFamilyResetFrame(true),
       Head({0xBB, 0xAA, 0x99, 0x88, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA})},
      {"reset second after", SecondFamilyResetFrame(false), Head({0xBB, 0xAA, 0x99, 0x88})},
  };
  for (const auto& c : cases) EXPECT_EQ(Bytes(c.frame), c.expected) << c.name;
}

TEST(ProtocolFrames, FamilyFollowsTheTypeNumber) {
  EXPECT_EQ(FamilyOfType(1), DeviceFamily::First);
  EXPECT_EQ(FamilyOfType(199), DeviceFamily::First);
  EXPECT_EQ(FamilyOfType(200), DeviceFamily::Second);
}

TEST(ProtocolEncodeDelay, UnitsCountsAndBounds) {
  const struct {
    bool released;
    int ms;
    uint8_t byte;
  } cases[] = {
      {false, 10, 0x01},   {true, 10, 0x81},    {false, 0, 0x01},    {false, -5, 0x01},  {false, 11, 0x01},
      {false, 100, 0x0A},  {false, 310, 0x1F},  {false, 311, 0x26},  {false, 500, 0x2A}, {false, 1550, 0x3F},
      {false, 1551, 0x4F}, {false, 2000, 0x54}, {false, 3100, 0x5F}, {false, 3101, 0x63}, {false, 5000, 0x65},
      {false, 31000, 0x7F}, {false, 99999, 0x7F}, {true, 31000, 0xFF},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeDelay(c.released, c.ms), c.byte) << c.ms << (c.released ? " released" : " pressed");
  }
}

TEST(ProtocolUsage, VirtualKeysMapToKeyboardPageUsages) {
  const std::pair<int, int> cases[] = {
      {65, 4},    {90, 29},   {49, 30},   {57, 38},   {48, 39},   {13, 40},   {32, 44},   {189, 45},
      {220, 49},  {666, 50},  {186, 51},  {191, 56},  {20, 57},   {112, 58},  {123, 69},  {44, 70},
      {19, 72},   {45, 73},   {34, 78},   {39, 79},   {38, 82},   {144, 83},  {107, 87},  {108, 88},
      {97, 89},   {105, 97},  {96, 98},   {110, 99},  {226, 100}, {93, 101},  {124, 104}, {135, 115},
      {136, 136}, {139, 139}, {254, 175}, {162, 224}, {91, 227},  {163, 228}, {92, 231},  {301, 236},
      {302, 235}, {0, 0},     {7, 0},     {255, 0},   {140, 0},   {-1, 0},
  };
  for (const auto& [vk, usage] : cases) EXPECT_EQ(VirtualKeyToUsage(vk), usage) << "vk " << vk;
}

TEST(ProtocolShortcuts, FifteenSequencesAndNothingOutside) {
  const auto chord = [](uint8_t m, uint8_t k) {
    return std::vector<MacroWireEvent>{{m, 0x01}, {k, 0x01}, {k, 0x81}, {m, 0x81}};
  };
  const auto menu = [](uint8_t k) {
    return std::vector<MacroWireEvent>{{0xE2, 0x01}, {0x2C, 0x01}, {k, 0x01}, {k, 0x81}, {0x2C, 0x81}, {0xE2, 0x81}};
  };
  const std::vector<MacroWireEvent> expected[] = {
      chord(0xE0, 0x04), chord(0xE0, 0x06), chord(0xE0, 0x1B), chord(0xE0, 0x19), chord(0xE0, 0x1D),
      chord(0xE0, 0x16), chord(0xE3, 0x08), chord(0xE3, 0x0F), chord(0xE3, 0x07), chord(0xE2, 0x2B),
      chord(0xE3, 0x10), chord(0xE0, 0x1A), menu(0x1B),        menu(0x11),        chord(0xE2, 0x3D),
  };
  for (int v = 1; v <= 15; ++v) EXPECT_EQ(ShortcutSequence(v), expected[v - 1]) << "value " << v;
  EXPECT_TRUE(ShortcutSequence(0).empty());
  EXPECT_TRUE(ShortcutSequence(16).empty());
}

TEST(ProtocolSubFrames, EachReportCarriesFortyEightPayloadBytes) {
  std::vector<uint8_t> payload(96);
  for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<uint8_t>(i + 1);
  const CommandReport second = PackSubFrames(kMacroMarker, payload.data(), payload.size(), 1);
  for (size_t g = 0; g < 8; ++g) {
    EXPECT_EQ(second[8 * g], 0x07);
    EXPECT_EQ(second[8 * g + 1], 0x88);
    for (size_t b = 0; b < 6; ++b) EXPECT_EQ(second[8 * g + 2 + b], 48 + 6 * g + b + 1);
  }
  // Past the payload: markers stay, data is zero.
  const CommandReport third = PackSubFrames(kKeyMapMarker, payload.data(), payload.size(), 2);
  EXPECT_EQ(third[0], 0x07);
  EXPECT_EQ(third[1], 0x99);
  EXPECT_EQ(third[2], 0);
}

TEST(ProtocolMacroPayload, BlocksRepeatCountsAndOrder) {
  FakeKeyTable t;
  t.records = {
      {0x10, kAssignShortcut, 2},  // shortcut listed first still goes after the macros
      {0x11, kAssignMacro, 7},
      {0x12, kAssignMacro, 8},
      {0x13, kAssignMacro, 9},     // no such macro
      {0x14, 2, 0x05},             // a remap: not a block
      {0x15, kAssignDefault, 0},
  };
  t.playTimes = {{7, 0}, {8, 300}};
  t.steps[7] = {{2, 65, 100}, {1, 0, 0}, {3, 65, 10}};  // kind 1 is not sent
  t.steps[8] = {{2, 160, 5000}};
  const auto p = BuildMacroPayload(t.records, t);

  const std::vector<uint8_t> block0 = {0, 0, 0x11, 1, 0x04, 0x0A, 0x04, 0x81};
  EXPECT_EQ(std::vector<uint8_t>(p.begin(), p.begin() + 8), block0);
  EXPECT_EQ(p[8], 0);
  const std::vector<uint8_t> block1 = {0, 0, 0x12, 255, 0xE1, 0x65, 0};
  EXPECT_EQ(std::vector<uint8_t>(p.begin() + 64, p.begin() + 71), block1);
  const std::vector<uint8_t> block2 = {0, 0, 0x13, 1, 0};
  EXPECT_EQ(std::vector<uint8_t>(p.begin() + 128, p.begin() + 133), block2);
  const std::vector<uint8_t> block3 = {0, 0, 0x10, 1, 0xE0, 0x01, 0x06, 0x01, 0x06, 0x81, 0xE0, 0x81, 0};
  EXPECT_EQ(std::vector<uint8_t>(p.begin() + 192, p.begin() + 205), block3);
  EXPECT_TRUE(std::all_of(p.begin() + 256, p.end(), [](uint8_t b) { return b == 0; }));
}

TEST(ProtocolMacroPayload, ShortcutValuesOutsideTheTableGiveAnEmptyBlock) {
  FakeKeyTable t;
  t.records = {{0x21, kAssignShortcut, 0}, {0x22, kAssignShortcut, 16}};
  const auto p = BuildMacroPayload(t.records, t);
  EXPECT_EQ(std::vector<uint8_t>(p.begin(), p.begin() + 5), (std::vector<uint8_t>{0, 0, 0x21, 1, 0}));
  EXPECT_EQ(std::vector<uint8_t>(p.begin() + 64, p.begin() + 69), (std::vector<uint8_t>{0, 0, 0x22, 1, 0}));
}

TEST(ProtocolMacroPayload, MoreThanTwelveBlocksKeepsTheFirstTwelve) {
  FakeKeyTable t;
  for (int k = 1; k <= 14; ++k) t.records.push_back({k, kAssignShortcut, 1});
  t.records.insert(t.records.begin(), {0x40, kAssignMacro, 1});
  t.playTimes[1] = 1;
  const auto p = BuildMacroPayload(t.records, t);
  EXPECT_EQ(p[2], 0x40);
  EXPECT_EQ(p[64 * 11 + 2], 11);  // the eleventh shortcut fills the last block
}

TEST(ProtocolMacroPayload, LongMacroIsCutWithoutLeavingKeysHeld) {
  std::vector<UploadMacroStep> steps = {{2, 160, 10}};  // Shift held through the macro
  for (int i = 0; i < 20; ++i) {
    steps.push_back({2, 65 + i, 10});
    steps.push_back({3, 65 + i, 10});
  }
  steps.push_back({3, 160, 10});
  const auto events = MacroEvents(steps);
  ASSERT_LE(events.size(), kMacroEventsPerBlock);
  EXPECT_EQ(events.front(), (MacroWireEvent{0xE1, 0x01}));
  EXPECT_EQ(events.back(), (MacroWireEvent{0xE1, 0x81}));
  int held = 0;
  for (const auto& e : events) held += (e.delay & 0x80) ? -1 : 1;
  EXPECT_EQ(held, 0);

  // Exactly 30 events are sent as recorded.
  std::vector<UploadMacroStep> thirty;
  for (int i = 0; i < 30; ++i) thirty.push_back({2, 65, 10});
  EXPECT_EQ(MacroEvents(thirty).size(), 30u);
}

TEST(ProtocolKeyMapPayload, PairsSkipTypesZeroThreeAndSeven) {
  std::vector<UploadKeyRecord> records = {
      {0x04, kAssignDefault, 9}, {0x05, 2, 0x1E}, {0x06, kAssignMacro, 3},
      {0x07, kAssignShortcut, 1}, {0x08, 8, 0x1FF},
  };
  const auto p = BuildKeyMapPayload(records);
  std::array<uint8_t, 48> expected{};
  expected[0] = 0x05;
  expected[1] = 0x08;
  expected[12] = 0x1E;
  expected[13] = 0xFF;  // low byte of the value
  EXPECT_EQ(p, expected);

  std::vector<UploadKeyRecord> many;
  for (int k = 1; k <= 13; ++k) many.push_back({k, 2, 100 + k});
  const auto q = BuildKeyMapPayload(many);
  EXPECT_EQ(q[11], 12);
  EXPECT_EQ(q[23], 112);
  EXPECT_TRUE(std::all_of(q.begin() + 24, q.end(), [](uint8_t b) { return b == 0; }));
}

TEST(ProtocolUpload, EmptyLayerSendsFramesWithZeroPayload) {
  SimulatedRig rig;
  FakeKeyTable t;
  KeyboardProtocol(rig.manager, 0).UploadKeyAssignments(t, 1, 0);
  const auto reports = rig.keyboard->Reports();
  ASSERT_EQ(reports.size(), 21u);
  EXPECT_EQ(reports[0].bytes, Bytes(MacroBeginFrame()));
  for (size_t k = 1; k <= 16; ++k) {
    for (size_t g = 0; g < 8; ++g) {
      EXPECT_EQ(reports[k].bytes[8 * g], 0x07);
      EXPECT_EQ(reports[k].bytes[8 * g + 1], 0x88);
      for (size_t b = 2; b < 8; ++b) EXPECT_EQ(reports[k].bytes[8 * g + b], 0);
    }
  }
  EXPECT_EQ(reports[17].bytes, Bytes(MacroEndFrame()));
  EXPECT_EQ(reports[18].bytes, Bytes(KeyMapBeginFrame()));
  const std::array<uint8_t, 48> zero{};
  EXPECT_EQ(reports[19].bytes, Bytes(PackSubFrames(kKeyMapMarker, zero.data(), zero.size(), 0)));
  EXPECT_EQ(reports[20].bytes, Bytes(KeyMapEndFrame()));
  // 50 ms between the tables on top of the pacing.
  EXPECT_GE(MsBetween(reports[17].at, reports[18].at), 50.0 + 32.0);
  for (const auto& r : reports) EXPECT_EQ(r.kind, SimulatedKeyboard::ReportKind::Feature);
}

TEST(ProtocolUpload, DataReportsCarryThePayloadInOrder) {
  SimulatedRig rig;
  FakeKeyTable t;
  t.records = {{0x11, kAssignMacro, 7}, {0x30, 2, 0x31}};
  t.playTimes[7] = 2;
  t.steps[7] = {{2, 66, 20}, {3, 66, 20}};
  KeyboardProtocol protocol(rig.manager, 0);
  protocol.MacroUpload(t, 1, 0);
  protocol.KeyMapUpload(t, 1, 0);
  const auto reports = rig.keyboard->Reports();
  ASSERT_EQ(reports.size(), 21u);
  const auto payload = BuildMacroPayload(t.records, t);
  for (size_t k = 0; k < 16; ++k) {
    EXPECT_EQ(reports[1 + k].bytes, Bytes(PackSubFrames(kMacroMarker, payload.data(), payload.size(), k)));
  }
  EXPECT_EQ(reports[1].bytes[2], 0);
  EXPECT_EQ(reports[1].bytes[4], 0x11);
  EXPECT_EQ(reports[1].bytes[5], 2);
  EXPECT_EQ(reports[19].bytes[2], 0x30);
  EXPECT_EQ(reports[19].bytes[8 * 2 + 2], 0x31);  // payload byte 12 opens sub-frame 2
}

TEST(ProtocolCommands, FamiliesUseTheirPrimitives) {
  SimulatedRig first;
  KeyboardProtocol p1(first.manager, 0);
  p1.SetLightMode(DeviceFamily::First, 2, 3, 4, std::nullopt);
  p1.UserLightBegin(0);
  p1.UserLightKey(0, true);  // key 0 sends nothing
  p1.UserLightKey(0x04, true);
  p1.UserLightEnd(0);
  EXPECT_TRUE(p1.MusicLevel(1, 300));
  p1.FactoryReset(DeviceFamily::First);
  auto r1 = first.keyboard->Reports();
  ASSERT_EQ(r1.size(), 6u);
  EXPECT_EQ(r1[2].bytes, Bytes(UserLightKeyFrame(0x04, true)));
  EXPECT_EQ(r1[4].bytes, Bytes(MusicLevelFrame(1, 255)));
  EXPECT_EQ(r1[5].bytes, Bytes(FirstFamilyResetFrame()));

  SimulatedRig second(DeviceFamily::Second, 0x1234, 0x5678);
  KeyboardProtocol p2(second.manager, 0);
  p2.SetLightMode(DeviceFamily::Second, 2, 3, 4, std::nullopt);
  const auto before = std::chrono::steady_clock::now();
  p2.FactoryReset(DeviceFamily::Second);
  auto r2 = second.keyboard->Reports();
  ASSERT_EQ(r2.size(), 3u);
  for (const auto& r : r2) EXPECT_EQ(r.kind, SimulatedKeyboard::ReportKind::Output);
  EXPECT_EQ(r2[0].bytes, Bytes(SetLightModeFrame(DeviceFamily::Second, 2, 3, 4, std::nullopt)));
  EXPECT_EQ(r2[1].bytes, Bytes(SecondFamilyResetFrame(true)));
  EXPECT_EQ(r2[2].bytes, Bytes(SecondFamilyResetFrame(false)));
  EXPECT_GE(MsBetween(r2[1].at, r2[2].at), 1600.0);
  EXPECT_LT(MsBetween(before, r2[1].at), 32.0);  // output reports are not paced
}

TEST(ProtocolCommands, FirmwareVersionAndFailures) {
  SimulatedRig rig;
  EXPECT_EQ(KeyboardProtocol(rig.manager, 0).ReadFirmwareVersion(), 0x0105);
  rig.keyboard->RejectFeatureReads(SimulatedKeyboard::kAlways);
  EXPECT_EQ(KeyboardProtocol(rig.manager, 0).ReadFirmwareVersion(), 0);
  EXPECT_EQ(KeyboardProtocol(rig.manager, -1).ReadFirmwareVersion(), 0);
}

}  // namespace
