#include "ToolkitFixture.h"

#include <gtest/gtest.h>

namespace {

// A container of recording children, standing where a dialog would.
struct Tree {
  std::vector<Event> log;
  RecordingControl root{nullptr, 100, CRect(0, 0, 200, 200), &log};
  RecordingControl* Add(UINT id, CRect r) {
    auto* c = new RecordingControl(&root, id, r, &log);
    root.AddChild(1, c);
    return c;
  }
};

TEST(MControlRouting, LaterOverlappingChildTakesThePress) {
  Tree t;
  t.Add(1001, CRect(10, 10, 100, 100));
  t.Add(1002, CRect(50, 50, 150, 150));
  t.root.OnLButtonDown(MK_LBUTTON, CPoint(60, 60));
  ASSERT_EQ(t.log.size(), 1u);
  EXPECT_EQ(t.log[0].what, "down");
  EXPECT_EQ(t.log[0].id, 1002u);
}

TEST(MControlRouting, PressDraggedOutsideKeepsMovesUntilRelease) {
  Tree t;
  auto* a = t.Add(1001, CRect(10, 10, 50, 50));
  t.Add(1002, CRect(100, 100, 150, 150));
  t.root.OnMouseMove(0, CPoint(20, 20));
  t.root.OnLButtonDown(MK_LBUTTON, CPoint(20, 20));
  t.log.clear();
  t.root.OnMouseMove(MK_LBUTTON, CPoint(120, 120));  // over the other child
  ASSERT_EQ(t.log.size(), 1u);
  EXPECT_EQ(t.log[0].id, a->GetControlID());
  t.root.OnLButtonUp(0, CPoint(120, 120));
  EXPECT_EQ(t.log.back().what, "up");
  EXPECT_EQ(t.log.back().id, a->GetControlID());
  t.log.clear();
  t.root.OnMouseMove(0, CPoint(120, 120));  // released: the other child gets it now
  ASSERT_FALSE(t.log.empty());
  EXPECT_EQ(t.log.back().id, 1002u);
}

TEST(MControlRouting, DoubleClickWithoutFlagIsASecondPress) {
  Tree t;
  auto* a = t.Add(1001, CRect(10, 10, 50, 50));
  t.root.OnLButtonDown(MK_LBUTTON, CPoint(20, 20));
  t.root.OnLButtonUp(0, CPoint(20, 20));
  t.log.clear();
  t.root.OnLButtonDblClk(MK_LBUTTON, CPoint(20, 20));
  ASSERT_EQ(t.log.size(), 1u);
  EXPECT_EQ(t.log[0].what, "down");
  a->SetDblClk(1);
  t.log.clear();
  t.root.OnLButtonDblClk(MK_LBUTTON, CPoint(20, 20));
  ASSERT_EQ(t.log.size(), 1u);
  EXPECT_EQ(t.log[0].what, "dbl");
}

TEST(MControlRouting, InvisibleOrUnresponsiveControlIgnoresMouse) {
  Tree t;
  auto* a = t.Add(1001, CRect(10, 10, 50, 50));
  a->SetRresponse(0);
  t.root.OnLButtonDown(MK_LBUTTON, CPoint(20, 20));
  EXPECT_EQ(t.log.back().id, 100u);  // the press fell through to the container
  t.log.clear();
  t.root.SetControlVisible(0);
  EXPECT_EQ(t.root.OnLButtonDown(MK_LBUTTON, CPoint(20, 20)), 0);
  EXPECT_TRUE(t.log.empty());
}

TEST(MControlKeys, FocusedChildGetsTheKeyAndNotifiesWithModifiers) {
  RecordingDialog dlg;  // stands in as the parent that hears notification 14
  std::vector<Event> log;
  RecordingControl root(&dlg, 100, CRect(0, 0, 100, 100), &log);
  auto* a = new RecordingControl(&root, 1001, CRect(0, 0, 10, 10), &log);
  auto* b = new RecordingControl(&root, 1002, CRect(20, 0, 30, 10), &log);
  root.AddChild(1, a);
  root.AddChild(1, b);
  b->SetControlFocus(1);
  b->SetNotifyKeyDown(1);
  b->SetParent(&dlg);
  UINT mods = PaintManager::MakeModifierValue(true, true, false);
  root.OnKeyDown('K', 1, mods);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].id, 1002u);
  ASSERT_EQ(dlg.notes.size(), 1u);
  EXPECT_EQ(dlg.notes[0].code, 14u);
  EXPECT_EQ(dlg.notes[0].w, WPARAM('K'));
  EXPECT_EQ(dlg.notes[0].l, 17);
}

TEST(MControlKeys, ModifierValues) {
  struct Case { bool shift, ctrl, alt; UINT value; };
  const Case cases[] = {{false, false, false, 0}, {true, false, false, 16}, {false, true, false, 17},
                        {true, true, false, 17},  {false, false, true, 18}, {true, false, true, 18}};
  for (const auto& c : cases)
    EXPECT_EQ(PaintManager::MakeModifierValue(c.shift, c.ctrl, c.alt), c.value)
        << c.shift << c.ctrl << c.alt;
}

TEST(MControlKeys, HotKeyNeedsKeyAndModifiers) {
  RecordingControl c(nullptr, 1, CRect(0, 0, 5, 5), nullptr);
  c.SetHotKey('S', 17);
  EXPECT_TRUE(c.MControl::OnControlKeyDown('S', 1, 17));
  EXPECT_FALSE(c.MControl::OnControlKeyDown('S', 1, 0));
  EXPECT_FALSE(c.MControl::OnControlKeyDown('T', 1, 17));
}

TEST(MControlTree, GetControlIsDepthFirstControlsBeforeAreas) {
  std::vector<Event> log;
  RecordingControl root(nullptr, 100, CRect(0, 0, 100, 100), &log);
  auto* area = new RecordingControl(&root, 7, CRect(), &log);
  auto* first = new RecordingControl(&root, 1, CRect(), &log);
  auto* nested = new RecordingControl(first, 7, CRect(), &log);
  auto* later = new RecordingControl(&root, 7, CRect(), &log);
  root.AddChild(0, area);
  root.AddChild(1, first);
  first->AddChild(1, nested);
  root.AddChild(1, later);
  EXPECT_EQ(root.GetControl(7), nested);
  EXPECT_EQ(root.GetControl(99), nullptr);
  EXPECT_TRUE(root.RemoveControl(first));
  EXPECT_EQ(root.GetControl(7), later);
  EXPECT_FALSE(root.RemoveControl(area));  // areas are not in the control list
}

// Counts repaint requests that reach the parent.
struct CountingParent : MObject {
  int requests = 0;
  CRect last;
  LRESULT OnControlUpdate(CRect rect, int, MControl*) override {
    ++requests;
    last = rect;
    return 1;
  }
};

TEST(MControlState, RepaintRules) {
  CountingParent parent;
  RecordingControl c(&parent, 1, CRect(0, 0, 10, 10), nullptr);
  c.SetVisible(1);  // unchanged: nothing
  EXPECT_EQ(parent.requests, 0);
  c.SetVisible(0);
  EXPECT_EQ(parent.requests, 1);
  c.SetVisible(1, 0);  // changed, no repaint asked
  EXPECT_EQ(parent.requests, 1);
  c.SetRect(CRect(20, 20, 30, 30));
  EXPECT_EQ(parent.requests, 2);
  EXPECT_EQ(parent.last, CRect(0, 0, 30, 30));  // old and new together
  c.SetVisible(0, 0);
  c.SetRect(CRect(0, 0, 5, 5));  // invisible: no repaint
  EXPECT_EQ(parent.requests, 2);
}

TEST(MControlState, CursorNames) {
  RecordingControl c(nullptr, 1, CRect(), nullptr);
  EXPECT_TRUE(c.SetCursorEx(L"hand"));
  EXPECT_EQ(c.GetCursor(), KCURSOR_HAND);
  EXPECT_FALSE(c.SetCursorEx(L"Hand"));
  EXPECT_EQ(c.GetCursor(), KCURSOR_HAND);
}

TEST(MControlGeometry, PositionItem2Value) {
  struct Case { int kind; BOOL fromEnd; float value; int a, b, expected; };
  const Case cases[] = {
      {0, 0, 5.7f, 10, 100, 15}, {0, 1, 5.0f, 10, 100, 95},  {1, 0, 5, 10, 100, 60},
      {1, 1, 5, 10, 100, 50},    {2, 0, 50, 10, 110, 60},    {2, 0, 150, 10, 110, 110},
      {3, 0, 5, 10, 100, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MControl::PositionItem2Value({c.kind, c.fromEnd, c.value}, c.a, c.b), c.expected) << c.kind;
}

TEST(ControlFactoryNames, TablesDecideWhatEachFactoryKnows) {
  using ControlFactory::Level;
  for (const wchar_t* name : {L"KeyFuncControl", L"DListBox", L"CRecordList", L"UpgradeButton", L"DownloadButton"}) {
    EXPECT_TRUE(ControlFactory::IsListed(Level::Panel, name));
    EXPECT_FALSE(ControlFactory::IsListed(Level::Window, name));
  }
  EXPECT_TRUE(ControlFactory::IsListed(Level::Window, L"CComboBoxList"));
  EXPECT_FALSE(ControlFactory::IsListed(Level::Panel, L"CComboBoxList"));
  EXPECT_FALSE(ControlFactory::IsListed(Level::Panel, L"carea"));  // case matters
  EXPECT_EQ(ControlFactory::Create(Level::Panel, nullptr, L"", 1, CRect(), L"", 1, 1), nullptr);
  EXPECT_EQ(ControlFactory::Create(Level::Panel, nullptr, L"Nope", 1, CRect(), L"", 1, 1), nullptr);
}

TEST(ControlFactoryNames, RegisteredPanelOnlyClassIsCreatedInPanelsOnly) {
  ControlFactory::Register(L"DListBox", [](MObject* p, UINT id, CRect r, const wchar_t*, int v, int e) -> MControl* {
    auto* c = new RecordingControl(p, id, r, nullptr);
    c->SetControlVisible(v);
    c->SetControlEnabled(e);
    return c;
  });
  MPanel panel(nullptr, 50, CRect(0, 0, 100, 100));
  MControl* c = panel.CreateControl(L"DListBox", 9, CRect(0, 0, 10, 10), L"", 1, 0);
  ASSERT_NE(c, nullptr);
  EXPECT_TRUE(c->IsEnabled());  // the row passes a fixed 1 for enabled
  EXPECT_EQ(panel.GetControl(9), c);
  EXPECT_EQ(ControlFactory::Create(ControlFactory::Level::Window, nullptr, L"DListBox", 1, CRect(), L"", 1, 1), nullptr);
}

TEST(MPanelScroll, ContentThatFitsHasNoBarsAndNoOffset) {
  MPanel panel(nullptr, 50, CRect(0, 0, 100, 100));
  panel.CreateControl(L"CArea", 3, CRect(0, 0, 90, 90), L"");
  panel.UpdateVirtualSize();
  EXPECT_FALSE(panel.GetScrollVertical()->IsVisible());
  CPoint p(10, 10);
  panel.OnMousePointChange(p);
  EXPECT_EQ(p, CPoint(10, 10));
}

TEST(MPanelScroll, TallContentScrollsByWheelAndTranslatesPoints) {
  MPanel panel(nullptr, 50, CRect(0, 0, 100, 100));
  panel.CreateControl(L"CArea", 3, CRect(0, 0, 90, 300), L"");
  panel.UpdateVirtualSize();
  auto* bar = panel.GetScrollVertical();
  EXPECT_TRUE(bar->IsVisible());
  EXPECT_EQ(bar->GetRange(), 300);
  panel.OnScroll(1, 1, CPoint(10, 10));
  EXPECT_EQ(bar->GetPosition(), bar->GetLineStep());
  CPoint p(10, 10);
  panel.OnMousePointChange(p);
  EXPECT_EQ(p.y, 10 + 200 * bar->GetLineStep() / 300);
  for (int i = 0; i < 50; ++i) panel.OnScroll(1, 0, CPoint(10, 10));
  EXPECT_EQ(bar->GetPosition(), 0);  // clamped at the top
}

}  // namespace
