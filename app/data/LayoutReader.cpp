#include "app/data/LayoutReader.h"

#include <vector>

#include "app/data/NumberText.h"
#include "app/data/XmlDocument.h"

namespace {

// Loads the file and steps into its `device.info` root; false if that fails.
bool EnterDeviceInfo(XmlDocument& doc, const std::wstring& path) {
  return doc.Load(path) && doc.FindElement(L"device.info") && doc.EnterElement();
}

std::vector<OnScreenKeyboard*> Enabled(int pageMask, const PageKeyboards& k) {
  std::vector<OnScreenKeyboard*> out;
  if ((pageMask & kPageKeyAssign) && k.key_page) out.push_back(k.key_page);
  if ((pageMask & kPageLighting) && k.lighting_page) out.push_back(k.lighting_page);
  if ((pageMask & kPageSettings) && k.settings_page) out.push_back(k.settings_page);
  return out;
}

}  // namespace

std::wstring LayoutFilePath(const std::wstring& programFolder, const std::wstring& layoutFile) {
  return programFolder + L"layouts/" + layoutFile + L".xml";
}

CRect ParseKeyRect(const std::wstring& text) {
  int v[4] = {0, 0, 0, 0};
  std::size_t from = 0;
  for (int i = 0; i < 4 && from <= text.size(); ++i) {
    const std::size_t hash = text.find(L'#', from);
    const std::size_t end = hash == std::wstring::npos ? text.size() : hash;
    v[i] = DecimalToInt(std::wstring_view(text).substr(from, end - from));
    if (hash == std::wstring::npos) break;
    from = hash + 1;
  }
  return CRect(v[0], v[1], v[0] + v[2], v[1] + v[3]);
}

bool ReadLayoutFeatures(const std::wstring& path, DeviceFeatures& f) {
  XmlDocument doc;
  if (!EnterDeviceInfo(doc, path)) return false;
  if (doc.FindElement(L"function")) f.page_mask = DecimalToInt(doc.GetAttribute(L"value"));
  if (doc.FindElement(L"firmware")) f.firmware_url = doc.GetAttribute(L"url");
  if (doc.FindElement(L"light")) {
    f.rgb_keyboard = DecimalToInt(doc.GetAttribute(L"rgb_keyboard")) == 1;
    f.show_sleeptime = DecimalToInt(doc.GetAttribute(L"show_sleeptime")) == 1;
    f.default_mode = DecimalToInt(doc.GetAttribute(L"default_mode"));
    f.default_brightness = DecimalToInt(doc.GetAttribute(L"default_brightness"));
    f.default_speed = DecimalToInt(doc.GetAttribute(L"default_speed"));
    f.brightness_max = DecimalToInt(doc.GetAttribute(L"brightness_max"));
    f.speed_max = DecimalToInt(doc.GetAttribute(L"speed_max"));
    f.modes.clear();
    doc.EnterElement();
    while (doc.FindElement(L"info")) {
      ModeEntry m;
      m.name = doc.GetAttribute(L"name");
      m.mode = DecimalToInt(doc.GetAttribute(L"mode"));
      m.attribute = DecimalToInt(doc.GetAttribute(L"attribute"));
      f.modes.push_back(std::move(m));
    }
  }
  return true;
}

KeyboardGeometry ReadLayoutKeyboard(const std::wstring& path) {
  KeyboardGeometry g;
  XmlDocument doc;
  if (!EnterDeviceInfo(doc, path) || !doc.FindElement(L"Keyboard")) return g;
  g.found = true;
  g.xpos = DecimalToInt(doc.GetAttribute(L"xpos"));
  g.ypos = DecimalToInt(doc.GetAttribute(L"ypos"));
  g.width = DecimalToInt(doc.GetAttribute(L"width"));
  g.height = DecimalToInt(doc.GetAttribute(L"height"));
  g.image = doc.GetAttribute(L"image");
  doc.EnterElement();
  if (!doc.FindElement(L"KeyItems")) return g;
  doc.EnterElement();
  while (doc.FindElement(L"key")) {
    KeyRecord k;
    k.code = HexToInt(doc.GetAttribute(L"code"));
    k.name = doc.GetAttribute(L"name");
    k.desc = doc.GetAttribute(L"desc");
    k.key_index = DecimalToInt(doc.GetAttribute(L"key_index"));
    k.light_index = DecimalToInt(doc.GetAttribute(L"light_index"));
    k.icon = doc.GetAttribute(L"icon");
    k.rect = ParseKeyRect(doc.GetAttribute(L"rect"));
    g.keys.push_back(std::move(k));
  }
  return g;
}

bool FillPageKeyboards(const std::wstring& path, int pageMask, const PageKeyboards& keyboards) {
  const std::vector<OnScreenKeyboard*> enabled = Enabled(pageMask, keyboards);
  for (OnScreenKeyboard* k : enabled) k->ClearItem();
  const KeyboardGeometry g = ReadLayoutKeyboard(path);
  if (!g.found) return false;
  const CRect place(g.xpos, g.ypos, g.xpos + g.width, g.ypos + g.height);
  for (OnScreenKeyboard* k : enabled) {
    k->SetRect(place);
    k->SetKeyboardImage(L"keyboard/" + g.image);
    k->SetWidthAndHeight(g.width, g.height);
  }
  for (const KeyRecord& key : g.keys) {
    for (OnScreenKeyboard* k : enabled) k->AddKeyItem(key.name, key.desc, key.code, key.rect, L"");
  }
  if ((pageMask & kPageSettings) && keyboards.settings_page) keyboards.settings_page->SetLightModeColor(1, 0);
  return true;
}
