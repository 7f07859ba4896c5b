#include <korinui/ControlFactory.h>
#include <korinui/CArea.h>
#include <korinui/MenuItem.h>

#include <cwchar>
#include <map>
#include <mutex>
#include <string>

namespace ControlFactory {
namespace {

// Which constructor arguments follow (parent, id, rect).
enum class Args { VisibleOne, TitleVisible, VisibleEnabled, TitleVisibleEnabled, Visible, TitleVisibleOne };

struct Row {
  const wchar_t* name;
  Args args;
  bool panel;   // the panel factory knows it
  bool window;  // the window factory knows it
};

// Both factories in their order; the rows only one of them knows are marked.
constexpr Row kTable[] = {
    {L"CArea", Args::VisibleOne, true, true},
    {L"MText", Args::TitleVisible, true, true},
    {L"MPicture", Args::VisibleEnabled, true, true},
    {L"CPhotoFrame", Args::VisibleEnabled, true, true},
    {L"CSliderPicture", Args::VisibleEnabled, true, true},
    {L"CGifPicture", Args::VisibleEnabled, true, true},
    {L"MProgress", Args::VisibleEnabled, true, true},
    {L"MSlider", Args::VisibleEnabled, true, true},
    {L"MLevelCtrl", Args::VisibleEnabled, true, true},
    {L"MButton", Args::TitleVisibleEnabled, true, true},
    {L"CImageButton", Args::TitleVisibleEnabled, true, true},
    {L"CTextButton", Args::TitleVisibleEnabled, true, true},
    {L"CCheckButton", Args::TitleVisibleEnabled, true, true},
    {L"CRadioButton", Args::TitleVisibleEnabled, true, true},
    {L"CColorButton", Args::VisibleEnabled, true, true},
    {L"MSpinButton", Args::VisibleEnabled, true, true},
    {L"CSpinButton", Args::VisibleEnabled, true, true},
    {L"CSwitchButton", Args::VisibleEnabled, true, true},
    {L"CIconButton", Args::TitleVisibleEnabled, true, true},
    {L"CTimerButton", Args::TitleVisibleEnabled, true, true},
    {L"CHelpButton", Args::TitleVisibleEnabled, true, true},
    {L"MEdit", Args::TitleVisibleEnabled, true, true},
    {L"MRichEdit", Args::TitleVisibleEnabled, true, true},
    {L"MEditEx", Args::TitleVisibleEnabled, true, true},
    {L"MComboBox", Args::VisibleEnabled, true, true},
    {L"MTabCtrl", Args::VisibleEnabled, true, true},
    {L"MTabLayout", Args::Visible, true, true},
    {L"MListBox", Args::Visible, true, true},
    {L"MPalette", Args::Visible, true, true},
    {L"CColorPalette", Args::Visible, true, true},
    {L"CColorSelect", Args::Visible, true, true},
    {L"CirclePalette", Args::VisibleOne, true, true},
    {L"CComboBoxList", Args::VisibleOne, false, true},
    {L"MenuItem", Args::TitleVisibleOne, true, true},
    {L"KeyboardCtrl", Args::Visible, true, true},
    {L"KeyFuncControl", Args::Visible, true, false},
    {L"DListBox", Args::Visible, true, false},
    {L"CRecordList", Args::Visible, true, false},
    {L"CDeviceCtrl", Args::VisibleOne, true, true},
    {L"UpgradeButton", Args::TitleVisibleOne, true, false},
    {L"DownloadButton", Args::TitleVisibleOne, true, false},
};

std::mutex& Lock() {
  static std::mutex m;
  return m;
}

std::map<std::wstring, ControlCreator>& Creators() {
  static auto* creators = new std::map<std::wstring, ControlCreator>{
      {L"CArea", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int e) -> MControl* {
         return new CArea(p, id, r, v, e);
       }},
      {L"MenuItem", [](MObject* p, UINT id, CRect r, const wchar_t* t, int v, int e) -> MControl* {
         return new MenuItem(p, id, r, t, v, e);
       }},
  };
  return *creators;
}

const Row* Find(Level level, const wchar_t* name) {
  if (!name || !*name) return nullptr;
  for (const Row& row : kTable) {
    if ((level == Level::Panel ? row.panel : row.window) && std::wcscmp(row.name, name) == 0)
      return &row;
  }
  return nullptr;
}

}  // namespace

void Register(const wchar_t* className, ControlCreator creator) {
  if (!className || !creator) return;
  std::lock_guard<std::mutex> guard(Lock());
  Creators()[className] = creator;
}

bool IsListed(Level level, const wchar_t* className) { return Find(level, className) != nullptr; }

MControl* Create(Level level, MObject* parent, const wchar_t* className, UINT id, CRect rect,
                 const wchar_t* title, int visible, int enabled) {
  const Row* row = Find(level, className);
  if (!row) return nullptr;
  ControlCreator creator;
  {
    std::lock_guard<std::mutex> guard(Lock());
    auto it = Creators().find(className);
    if (it == Creators().end()) return nullptr;
    creator = it->second;
  }
  const wchar_t* t = L"";
  int v = visible, e = enabled;
  switch (row->args) {
    case Args::VisibleOne: e = 1; break;
    case Args::TitleVisible: t = title; e = 1; break;
    case Args::VisibleEnabled: break;
    case Args::TitleVisibleEnabled: t = title; break;
    case Args::Visible: e = 1; break;
    case Args::TitleVisibleOne: t = title; e = 1; break;
  }
  return creator(parent, id, rect, t ? t : L"", v, e);
}

}  // namespace ControlFactory
