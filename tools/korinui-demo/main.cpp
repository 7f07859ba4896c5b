// korinui-demo [--script]
// With --script the demo drives itself (drag, tooltip, menu, close) and exits with the
// dialog's result; set KORINUI_DUMP_DIR to get the window pictures.
#include <korinui/CArea.h>
#include <korinui/MDialog.h>
#include <korinui/MenuWnd.h>
#include <korinui/Manager.h>
#include <korinui/WindowSystem.h>

#include <cstdio>
#include <cstring>

namespace win = korinui::win;

namespace {

constexpr UINT kMenuCommand = 0x0721;
constexpr UINT kButtonId = 10;

// A titled button with the three visible states of the button model.
class DemoButton : public MControlFont {
 public:
  DemoButton(MObject* parent, UINT id, CRect rect, const wchar_t* title) : MControlFont(parent, id, rect) {
    title_ = title;
    hAlign_ = 1;
    SetCursorEx(L"hand");
  }
  void DrawControl(HDC& hdc, CRect) override {
    static const ARGB kFaces[] = {0xFF373737, 0xFF4A4A4A, 0xFFCA5100};
    hdc->DrawRoundRect(rect_.left + 0.5f, rect_.top + 0.5f, rect_.Width() - 1.0f, rect_.Height() - 1.0f, 6,
                       0xFFCA5100, 1.0f, true, kFaces[state_]);
    DrawTitle(hdc, rect_, 0xFFE0E0E0);
  }
  LRESULT OnControlMouseMove(UINT, CPoint pt) override {
    SetState(rect_.PtInRect(pt) ? (state_ == 2 ? 2 : 1) : 0);
    return rect_.PtInRect(pt);
  }
  LRESULT OnControlLButtonDown(UINT, CPoint) override {
    SetState(2);
    SendMessageW(1);
    return 1;
  }
  LRESULT OnControlLButtonUp(UINT, CPoint pt) override {
    bool inside = rect_.PtInRect(pt);
    SetState(inside ? 1 : 0);
    if (inside) SendMessageW(2);
    return 1;
  }

 private:
  void SetState(int s) {
    if (s == state_) return;
    state_ = s;
    UpdateControl(0);
  }
  int state_ = 0;
};

class DemoDialog : public MDialog {
 public:
  void InitUI(CRect client) override {
    auto* band = static_cast<CArea*>(CreateArea(L"CArea", 2, CRect(1, 1, client.right - 1, 40), L""));
    band->SetTransparent(1, 255, RGB(0x37, 0x37, 0x37));
    auto* panel = static_cast<CArea*>(CreateArea(L"CArea", 3, CRect(20, 60, client.right - 20, 180), L""));
    panel->SetTransparent(1, 255, RGB(0x1A, 0x1A, 0x1A));
    panel->SetFrame(1, 0xFFCA5100, 8);
    auto* button = new DemoButton(this, kButtonId, CRect(40, 100, 200, 140), L"Menu…");
    button->SetManager(&manager_);
    button->SetTooltip(L"Opens the popup menu");
    manager_.AddControl(1, button);
  }
  LRESULT OnMessage(UINT id, UINT code, WPARAM, LPARAM) override {
    if (id == kButtonId && code == 2) OpenMenu();
    return 0;
  }
  LRESULT OnWindowMessage(UINT msg, WPARAM w, LPARAM l) override {
    if (msg == kMenuCommand) {
      std::printf("menu command %ld\n", static_cast<long>(l));
      if (l == 2) DoOK();
      if (l == 3) DoCancel();
      return 0;
    }
    return MDialog::OnWindowMessage(msg, w, l);
  }
  MenuWnd* OpenMenu() {
    auto* menu = new MenuWnd(this);
    CPoint at = ClientToScreen(CPoint(200, 100));
    if (!menu->Create(GetSafeHwnd(), at, kMenuCommand, L"", 0, 160, BACK_MODE_NORMAL)) {
      delete menu;
      return nullptr;
    }
    menu->AddMenu(L"Show overlay", 1);
    menu->AddSeparator(9);
    menu->AddMenu(L"Close with OK", 2);
    menu->AddMenu(L"Close with Cancel", 3);
    menu->ShowWindow(SW_SHOW);
    lastMenu = menu->GetSafeHwnd();
    return menu;
  }
  HWND lastMenu = nullptr;
};


void Step(int ms) { win::PumpFor(ms); }

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  bool script = argc > 1 && std::strcmp(argv[1], "--script") == 0;
  if (!Manager::InitGdiplus()) {
    std::fprintf(stderr, "korinui-demo: no window system\n");
    return 2;
  }
  DemoDialog dlg;
  if (!dlg.Create(nullptr, L"KorinUI Demo", WS_POPUP, 0, CRect(200, 150, 620, 400))) return 2;
  dlg.CenterWindow();
  std::printf("video driver: %s\n", win::VideoDriver().c_str());
  if (!script) return static_cast<int>(dlg.ShowModal());
  dlg.ShowWindow(SW_SHOW);
  HWND h = dlg.GetSafeHwnd();
  CRect before = dlg.GetWindowRect();
  Step(100);
  win::InjectMouseMove(h, CPoint(300, 20));  // drag by the empty band
  win::InjectMouseButton(h, CPoint(300, 20), false, true);
  Step(50);
  win::InjectMouseMove(h, CPoint(340, 50));
  Step(50);
  win::InjectMouseButton(h, CPoint(340, 50), false, false);
  Step(50);
  CRect after = dlg.GetWindowRect();
  std::printf("dragged from (%d,%d) to (%d,%d)\n", before.left, before.top, after.left, after.top);
  win::InjectMouseMove(h, CPoint(100, 120));  // hover the button: tooltip
  Step(300);
  std::printf("tooltip: %s\n", dlg.GetPaintManager().GetTooltipText().empty() ? "none" : "shown");
  win::InjectMouseButton(h, CPoint(100, 120), false, true);
  win::InjectMouseButton(h, CPoint(100, 120), false, false);
  Step(300);
  if (!dlg.lastMenu) return 3;
  std::printf("menu open: %d\n", win::IsWindow(dlg.lastMenu) ? 1 : 0);
  // Third row: "Close with OK" sits below the first item and the separator.
  win::InjectMouseMove(dlg.lastMenu, CPoint(40, 6 + 35 + 4 + 17));
  Step(300);
  win::InjectMouseButton(dlg.lastMenu, CPoint(40, 6 + 35 + 4 + 17), false, true);
  win::InjectMouseButton(dlg.lastMenu, CPoint(40, 6 + 35 + 4 + 17), false, false);
  // The menu must stay active: the modal loop shows the dialog without activating it.
  UINT result = dlg.ShowModal(SW_SHOWNA);
  std::printf("result %u\n", result);
  return static_cast<int>(result);
}
