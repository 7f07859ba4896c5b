#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/data/ConfigReader.h"
#include "app/data/LayoutReader.h"
#include "app/data/NumberText.h"
#include "korinui/TextCodec.h"

namespace {

const std::wstring kFixtures = korinui::Utf8ToWide(KEYSTREL_TEST_FIXTURES "/data/description/");
const std::wstring kProgram = korinui::Utf8ToWide(KEYSTREL_BIN_DIR "/");

// Records every call the readers make, one line each.
class RecordingTargets : public DeviceFilterRegistry, public DeviceSelector, public FrameTexts, public InputReaderHost {
 public:
  std::vector<std::wstring> calls;
  void AddDeviceIdFilter(int vid, int pid, const std::wstring& name, const std::wstring& pattern) override {
    calls.push_back(L"filter " + std::to_wstring(vid) + L" " + std::to_wstring(pid) + L" [" + name + L"] " + pattern);
  }
  void AddDevice(const std::wstring& name, int vid, int pid, int type, bool present) override {
    calls.push_back(L"device " + name + L" " + std::to_wstring(type) + (present ? L" present" : L" absent"));
    (void)vid;
    (void)pid;
  }
  void SetCaptionText(const std::wstring& t) override { calls.push_back(L"caption " + t); }
  void SetVersionText(const std::wstring& t) override { calls.push_back(L"version " + t); }
  void SetCopyrightText(const std::wstring& t) override { calls.push_back(L"copyright " + t); }
  void StartInputReader(int vid, int pid, int type) override {
    calls.push_back(L"reader " + std::to_wstring(vid) + L" " + std::to_wstring(pid) + L" " + std::to_wstring(type));
  }
  void RegisterDeviceNotifications() override { calls.push_back(L"notifications"); }
};

class RecordingKeyboard : public OnScreenKeyboard {
 public:
  std::vector<std::wstring> calls;
  int keys = 0;
  void ClearItem() override { calls.push_back(L"clear"); keys = 0; }
  void SetRect(const CRect& r) override {
    calls.push_back(L"rect " + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," +
                    std::to_wstring(r.right) + L"," + std::to_wstring(r.bottom));
  }
  void SetKeyboardImage(const std::wstring& p) override { calls.push_back(L"image " + p); }
  void SetWidthAndHeight(int w, int h) override {
    calls.push_back(L"size " + std::to_wstring(w) + L"x" + std::to_wstring(h));
  }
  void AddKeyItem(const std::wstring& name, const std::wstring&, int code, const CRect&, const std::wstring& icon) override {
    ++keys;
    if (keys == 1) calls.push_back(L"key " + name + L" " + std::to_wstring(code) + L" [" + icon + L"]");
  }
  void SetLightModeColor(int mode, COLORREF c) override {
    calls.push_back(L"color " + std::to_wstring(mode) + L" " + std::to_wstring(c));
  }
};

TEST(DescriptionNumbers, DecimalHexAndRects) {
  struct N { const wchar_t* text; int dec; int hex; };
  const N nums[] = {{L"", 0, 0}, {L"12", 12, 0x12}, {L"0x12AB", 0, 0x12AB}, {L"12ab", 12, 0x12AB},
                    {L"x1", 0, 0}, {L"0x1g", 0, 1}, {L" -7", -7, 0}, {L"99999999999", 2147483647, 2147483647}};
  for (const auto& n : nums) {
    SCOPED_TRACE(korinui::WideToUtf8(n.text));
    EXPECT_EQ(DecimalToInt(n.text), n.dec);
    EXPECT_EQ(HexToInt(n.text), n.hex);
  }
  struct R { const wchar_t* text; CRect rect; };
  const R rects[] = {{L"10#20#30#40", CRect(10, 20, 40, 60)}, {L"1#2#3", CRect(1, 2, 4, 2)},
                     {L"", CRect()}, {L"5##7#8", CRect(5, 0, 12, 8)}, {L"a#b#c#d", CRect()}};
  for (const auto& r : rects) {
    SCOPED_TRACE(korinui::WideToUtf8(r.text));
    EXPECT_EQ(ParseKeyRect(r.text), r.rect);
  }
  EXPECT_EQ(MakeIdPattern(0x12ab, 0xcd), L"VID_12AB&PID_00CD");
}

TEST(DescriptionConfig, ModelsSoftwareAndCallsInOrder) {
  const ConfigContents c = ReadConfigFile(kFixtures + L"models.xml");
  ASSERT_TRUE(c.loaded);
  ASSERT_EQ(c.models.size(), 4u);
  EXPECT_EQ(c.models[0].vid, c.models[1].vid);  // 0x12AB and 12ab
  EXPECT_EQ(c.models[1].id_pattern, L"VID_12AB&PID_0002");
  EXPECT_EQ(c.models[3].type, 0);
  EXPECT_EQ(c.models[3].vid, 0);
  EXPECT_EQ(c.models[3].pid, 1);
  EXPECT_EQ(c.models[0].device_index, -1);
  EXPECT_EQ(FindModelByType(c.models, 7)->name, L"Upper");  // first of two with type 7
  EXPECT_EQ(FindModelByType(c.models, 99), nullptr);
  EXPECT_EQ(c.software.caption, L"Cap & tion");
  EXPECT_EQ(c.software.website_url, L"w");
  EXPECT_EQ(c.software.store_url, L"");  // missing store: upgrade is still found after it
  EXPECT_EQ(c.software.upgrade_url, L"u");

  RecordingTargets t;
  ModelList models(2);
  SoftwareIdentity sw;
  EXPECT_FALSE(LoadConfig(kFixtures, models, sw, &t, &t, &t, &t));  // reads <folder>config.xml: missing here
  EXPECT_TRUE(models.empty());
  EXPECT_EQ(t.calls, std::vector<std::wstring>{L"notifications"});
}

TEST(DescriptionConfig, SoftwareBeforeDeviceInfoIsNotFound) {
  const ConfigContents c = ReadConfigFile(kFixtures + L"software_first.xml");
  ASSERT_TRUE(c.loaded);
  ASSERT_EQ(c.models.size(), 1u);
  EXPECT_EQ(c.models[0].id_pattern, L"VID_12AB&PID_00CD");
  EXPECT_FALSE(c.has_software);
  EXPECT_EQ(c.software.caption, L"");
}

TEST(DescriptionConfig, ShippedConfigDrivesEveryTarget) {
  RecordingTargets t;
  ModelList models;
  SoftwareIdentity sw;
  sw.copyright = L"old";
  ASSERT_TRUE(LoadConfig(kProgram, models, sw, &t, &t, &t, &t));
  ASSERT_EQ(models.size(), 3u);
  const std::vector<std::wstring> expected = {
      L"filter 9390 16502 [] VID_24AE&PID_4076", L"device ORVA 100 101 absent",
      L"filter 6700 32767 [] VID_1A2C&PID_7FFF", L"device ORVA 100 SE 102 absent",
      L"filter 12125 3104 [] VID_2F5D&PID_0C20", L"device ORVA 200 201 absent",
      L"caption ORVA 100", L"version Ver: 1.0.1",
      L"copyright Copyright \u00a9 2026 The Keystrel developers. All rights reserved.",
      L"reader 9390 16502 101", L"reader 6700 32767 102", L"reader 12125 3104 201", L"notifications"};
  EXPECT_EQ(t.calls, expected);
  EXPECT_EQ(sw.version, L"1.0.1");
  EXPECT_FALSE(sw.upgrade_url.empty());
  EXPECT_EQ(sw.upgrade_url.back(), L'/');  // the version document is the base + "version"
}

TEST(DescriptionLayout, ShippedLayoutsAreComplete) {
  ModelList models;
  SoftwareIdentity sw;
  LoadConfig(kProgram, models, sw, nullptr, nullptr, nullptr, nullptr);
  ASSERT_EQ(models.size(), 3u);
  for (const ModelEntry& m : models) {
    SCOPED_TRACE(korinui::WideToUtf8(m.layout_file));
    const std::wstring path = LayoutFilePath(kProgram, m.layout_file);
    DeviceFeatures f;
    ASSERT_TRUE(ReadLayoutFeatures(path, f));
    EXPECT_NE(f.page_mask & kPageLighting, 0);
    EXPECT_EQ((f.page_mask & kPageKeyAssign) != 0, m.type < 200);
    EXPECT_FALSE(f.firmware_url.empty());
    EXPECT_GT(f.brightness_max, 0);
    EXPECT_GT(f.speed_max, 0);
    bool userLight = false, music = false, defaultListed = false;
    for (const ModeEntry& mode : f.modes) {
      userLight = userLight || mode.attribute == 0x101;
      music = music || mode.attribute == 0x200;
      defaultListed = defaultListed || mode.mode == f.default_mode;
      EXPECT_GT(DecimalToInt(mode.name), 0);
    }
    EXPECT_TRUE(userLight && music && defaultListed);

    const KeyboardGeometry g = ReadLayoutKeyboard(path);
    ASSERT_TRUE(g.found);
    EXPECT_LE(g.xpos + g.width, 1199);  // inside the 1200-pixel window, right of the settings column
    EXPECT_GE(g.xpos, 320);
    EXPECT_LE(g.ypos + g.height, 470);  // above the pages' bottom panels
    ASSERT_EQ(g.keys.size(), 104u);
    std::set<int> codes;
    for (std::size_t i = 0; i < g.keys.size(); ++i) {
      const KeyRecord& k = g.keys[i];
      EXPECT_TRUE(codes.insert(k.code).second) << k.code;
      EXPECT_NE(k.code, 0);
      EXPECT_NE(k.code, 0xFE);
      EXPECT_FALSE(k.name.empty());
      EXPECT_FALSE(k.desc.empty());
      EXPECT_GE(k.rect.left, 0);
      EXPECT_GE(k.rect.top, 0);
      EXPECT_LE(k.rect.right, g.width);
      EXPECT_LE(k.rect.bottom, g.height);
      for (std::size_t j = 0; j < i; ++j) {
        const CRect& o = g.keys[j].rect;
        const bool overlap = k.rect.left < o.right && o.left < k.rect.right && k.rect.top < o.bottom && o.top < k.rect.bottom;
        EXPECT_FALSE(overlap) << k.code << " and " << g.keys[j].code;
      }
    }
    EXPECT_EQ(codes.count(0xFF), 1u);  // Fn
    EXPECT_EQ(codes.count(0x29), 1u);  // Esc, by its HID usage
  }
}

TEST(DescriptionLayout, FeaturesKeepWhatTheFileLacks) {
  DeviceFeatures f;
  f.firmware_url = L"kept";
  ASSERT_TRUE(ReadLayoutFeatures(kFixtures + L"light_only.xml", f));
  EXPECT_EQ(f.page_mask, 0x7F);        // no function element: the default stays
  EXPECT_EQ(f.firmware_url, L"kept");
  EXPECT_EQ(f.default_mode, 2);
  EXPECT_EQ(f.brightness_max, 5);
  EXPECT_EQ(f.speed_max, 6);
  EXPECT_TRUE(f.rgb_keyboard);
  EXPECT_FALSE(f.show_sleeptime);
  ASSERT_EQ(f.modes.size(), 2u);
  EXPECT_EQ(f.modes[1].name, L"809");
  EXPECT_EQ(f.modes[1].attribute, 0x101);

  // Searches go forward only: a firmware placed after light is found (the
  // search for the missing function left the position at the start), and
  // light is then looked for after it, so the modes stay.
  ASSERT_TRUE(ReadLayoutFeatures(kFixtures + L"partial.xml", f));
  EXPECT_EQ(f.firmware_url, L"too late: after light");
  EXPECT_EQ(f.modes.size(), 2u);

  DeviceFeatures before = f;
  EXPECT_FALSE(ReadLayoutFeatures(kFixtures + L"illformed.xml", f));
  EXPECT_FALSE(ReadLayoutFeatures(kFixtures + L"missing.xml", f));
  EXPECT_EQ(f.page_mask, before.page_mask);
  EXPECT_EQ(f.modes.size(), before.modes.size());
}

TEST(DescriptionLayout, PageMaskChoosesTheKeyboards) {
  struct Case { const wchar_t* file; int mask; std::vector<std::wstring> keyPage, lightPage, settingsPage; };
  const std::vector<std::wstring> filled = {L"clear", L"rect 10,20,310,120", L"image keyboard/k.png", L"size 300x100",
                                            L"key Esc 41 []"};
  std::vector<std::wstring> settingsFilled = filled;
  settingsFilled.push_back(L"color 1 0");
  const Case cases[] = {
      {L"function1.xml", 1, filled, {}, {}},
      {L"function1.xml", 0x45, filled, filled, settingsFilled},
      {L"illformed.xml", 0x45, {L"clear"}, {L"clear"}, {L"clear"}},
      {L"missing.xml", 0x04, {}, {L"clear"}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(korinui::WideToUtf8(c.file) + " mask " + std::to_string(c.mask));
    RecordingKeyboard a, b, s;
    FillPageKeyboards(kFixtures + c.file, c.mask, PageKeyboards{&a, &b, &s});
    EXPECT_EQ(a.calls, c.keyPage);
    EXPECT_EQ(b.calls, c.lightPage);
    EXPECT_EQ(s.calls, c.settingsPage);
  }
  const KeyboardGeometry g = ReadLayoutKeyboard(kFixtures + L"function1.xml");
  ASSERT_EQ(g.keys.size(), 2u);
  EXPECT_EQ(g.keys[0].rect, CRect(10, 20, 40, 60));
  EXPECT_EQ(g.keys[1].code, 255);
}

}  // namespace
