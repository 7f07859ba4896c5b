#include "ToolkitFixture.h"

#include <korinui/MenuWnd.h>

#include <gtest/gtest.h>

namespace win = korinui::win;

namespace {

// Posts a close request once the modal loop runs.
class ClosingDialog : public RecordingDialog {
 public:
  enum class How { Cancel, Ok, CloseButton };
  How how = How::Cancel;
  bool ownerWasEnabled = true;
  void InitUI(CRect) override { SetTimer(1, 20); }
  LRESULT OnTimer(UINT id) override {
    if (id != 1) return 0;
    KillTimer(1);
    if (HWND o = korinui::win::GetOwner(GetSafeHwnd())) ownerWasEnabled = korinui::win::IsWindowEnabled(o);
    if (how == How::Cancel) DoCancel();
    else if (how == How::Ok) DoOK();
    else PostMessageW(WM_CLOSE, 0, 0);
    return 0;
  }
};

TEST(MDialogModal, ResultsOfTheCloseRoads) {
  struct Case { ClosingDialog::How how; UINT result; };
  for (const Case& c : {Case{ClosingDialog::How::Cancel, 2}, Case{ClosingDialog::How::Ok, 1},
                        Case{ClosingDialog::How::CloseButton, 0}}) {
    ClosingDialog dlg;
    dlg.how = c.how;
    ASSERT_NE(CreateDialog(dlg, L"Modal", CRect(0, 0, 100, 80)), nullptr);
    EXPECT_EQ(dlg.ShowModal(), c.result);
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
  }
}

TEST(MDialogModal, NoWindowGivesMinusOne) {
  MDialog dlg;
  EXPECT_EQ(dlg.ShowModal(), static_cast<UINT>(-1));
}

TEST(MDialogModal, OwnerIsDisabledWhileModalAndEnabledAfter) {
  RecordingDialog owner;
  HWND o = CreateDialog(owner, L"Owner", CRect(0, 0, 200, 200));
  owner.ShowWindow(SW_SHOW);
  ClosingDialog child;
  ASSERT_NE(CreateDialog(child, L"Child", CRect(10, 10, 60, 60), o), nullptr);
  EXPECT_EQ(child.ShowModal(), 2u);
  EXPECT_FALSE(child.ownerWasEnabled);
  EXPECT_TRUE(win::IsWindowEnabled(o));
}

TEST(MDialogKeys, AltF4DoesNotClose) {
  RecordingDialog dlg;
  HWND h = CreateDialog(dlg, L"AltF4", CRect(0, 0, 100, 80));
  dlg.ShowWindow(SW_SHOW);
  win::InjectKey(h, VK_MENU, true);
  win::InjectKey(h, VK_F4, true);
  MSG msg;
  for (int i = 0; i < 50 && win::PeekMessage(&msg); ++i)
    if (!dlg.PreTranslateMessage(&msg)) win::DispatchMessage(&msg);
  win::InjectKey(h, VK_F4, false);
  win::InjectKey(h, VK_MENU, false);
  win::PumpFor(30);
  EXPECT_TRUE(win::IsWindow(h));
}

TEST(MDialogKeys, TabWrapsToTheFirstFocusableControl) {
  RecordingDialog dlg;
  HWND h = CreateDialog(dlg, L"Tabs", CRect(0, 0, 100, 80));
  PaintManager& pm = dlg.GetPaintManager();
  std::vector<RecordingControl*> cs;
  for (UINT id = 1; id <= 3; ++id) {
    auto* c = new RecordingControl(&dlg, id, CRect(0, 0, 10, 10), nullptr);
    c->SetManager(&pm);
    c->SetTabStop(id != 2);
    pm.AddControl(1, c);
    cs.push_back(c);
  }
  pm.SetFocusControl(cs[2]);
  MSG tab{h, WM_KEYDOWN, VK_TAB, 1, 0, {}};
  EXPECT_TRUE(dlg.PreTranslateMessage(&tab));
  EXPECT_EQ(pm.GetFocusControl(), cs[0]);
  EXPECT_TRUE(dlg.PreTranslateMessage(&tab));
  EXPECT_EQ(pm.GetFocusControl(), cs[2]);  // the one without a tab stop is skipped
}

TEST(MDialogMouse, PressOnEmptyPlaceDragsTheWindow) {
  for (bool dragOn : {true, false}) {
    RecordingDialog dlg;
    HWND h = CreateDialog(dlg, L"Drag", CRect(100, 100, 300, 200));
    dlg.EnableWndDrag(dragOn);
    dlg.ShowWindow(SW_SHOW);
    win::PumpFor(20);
    win::InjectMouseMove(h, CPoint(20, 20));
    win::InjectMouseButton(h, CPoint(20, 20), false, true);
    win::PumpFor(20);
    win::InjectMouseMove(h, CPoint(50, 60));
    win::PumpFor(20);
    win::InjectMouseButton(h, CPoint(50, 60), false, false);
    win::PumpFor(20);
    CRect r = win::GetWindowRect(h);
    if (dragOn) EXPECT_EQ(r.TopLeft(), CPoint(130, 140));
    else EXPECT_EQ(r.TopLeft(), CPoint(100, 100));
  }
}

TEST(MDialogMouse, ControlNotificationReachesTheDialog) {
  RecordingDialog dlg;
  CreateDialog(dlg, L"Notes", CRect(0, 0, 100, 80));
  auto* c = new RecordingControl(&dlg, 33, CRect(0, 0, 10, 10), nullptr);
  c->SetManager(&dlg.GetPaintManager());
  dlg.GetPaintManager().AddControl(1, c);
  c->SendMessageW(2, 5, 6);
  ASSERT_EQ(dlg.notes.size(), 1u);
  EXPECT_EQ(dlg.notes[0].id, 33u);
  EXPECT_EQ(dlg.notes[0].w, 5u);
}

// The owner of a menu: remembers the command messages it receives.
class MenuOwner : public RecordingDialog {
 public:
  LRESULT OnWindowMessage(UINT msg, WPARAM w, LPARAM l) override {
    if (msg == 0x0721) commands.push_back(l);
    return RecordingDialog::OnWindowMessage(msg, w, l);
  }
  std::vector<LPARAM> commands;
};

TEST(MenuWndTest, ClickPostsTheCommandAndCloses) {
  MenuOwner owner;
  HWND o = CreateDialog(owner, L"MenuOwner", CRect(0, 0, 300, 300));
  owner.ShowWindow(SW_SHOW);
  auto* menu = new MenuWnd(&owner);
  HWND m = menu->Create(o, CPoint(10, 10), 0x0721);
  ASSERT_NE(m, nullptr);
  menu->AddMenu(L"First", 501);
  menu->AddMenu(L"Second", 502);
  menu->ShowWindow(SW_SHOW);
  // Let the menu window be mapped before input is injected into it.
  win::PumpFor(200);
  // Items are 35 high from y = 6; the second one's middle is at y = 58.
  win::InjectMouseMove(m, CPoint(40, 58));
  win::InjectMouseButton(m, CPoint(40, 58), false, true);
  win::InjectMouseButton(m, CPoint(40, 58), false, false);
  // Wait for the posted command with a generous bound: sanitizer builds on a busy
  // machine can take far longer than a fixed pump.
  for (int i = 0; i < 100 && owner.commands.empty(); ++i) win::PumpFor(20);
  win::PumpFor(20);
  ASSERT_EQ(owner.commands.size(), 1u);
  EXPECT_EQ(owner.commands[0], 502);
  EXPECT_FALSE(win::IsWindow(m));  // closed and deleted itself
}

TEST(MenuWndTest, ClosesWhenAnotherWindowIsActivatedAndPostsNothing) {
  MenuOwner owner;
  HWND o = CreateDialog(owner, L"MenuOwner2", CRect(0, 0, 300, 300));
  owner.ShowWindow(SW_SHOW);
  auto* menu = new MenuWnd(&owner);
  HWND m = menu->Create(o, CPoint(10, 10), 0x0721);
  menu->AddMenu(L"Only", 601);
  menu->ShowWindow(SW_SHOW);
  EXPECT_EQ(win::GetActiveWindow(), m);
  win::SetActiveWindow(o);
  win::PumpFor(40);
  EXPECT_FALSE(win::IsWindow(m));
  EXPECT_TRUE(owner.commands.empty());
}

TEST(MenuWndTest, WideItemWidensTheMenuAndCheckItemsToggle) {
  MenuOwner owner;
  HWND o = CreateDialog(owner, L"MenuOwner3", CRect(0, 0, 300, 300));
  auto* menu = new MenuWnd(&owner);
  HWND m = menu->Create(o, CPoint(0, 0), 0x0721, L"", 0, 60, BACK_MODE_NORMAL);
  EXPECT_EQ(menu->GetMenuWidth(), 60);
  MenuItem* item = menu->AddMenu(L"A rather long menu entry text", 1, L"", 1, 0);
  EXPECT_GT(menu->GetMenuWidth(), 60);
  EXPECT_EQ(win::GetWindowRect(m).Width(), menu->GetMenuWidth());
  EXPECT_EQ(win::GetClientRect(m).Height(), 6 + 35 + 6);
  menu->AddSeparator(2);
  EXPECT_EQ(win::GetClientRect(m).Height(), 6 + 35 + 4 + 6);
  CRect r = item->GetRect();
  CPoint mid(r.left + 5, r.top + 5);
  item->OnLButtonDown(MK_LBUTTON, mid);
  item->OnLButtonUp(0, mid);
  EXPECT_EQ(item->GetCheck(), 1);
  win::PumpFor(20);
  ASSERT_EQ(owner.commands.size(), 1u);  // code 7 on press, the menu stays open
  EXPECT_TRUE(win::IsWindow(m));
  menu->CloseWindow();
  win::PumpFor(20);
}

}  // namespace
