#include <korinui/MControl.h>
#include <korinui/PaintManager.h>

#include <algorithm>
#include <cstring>

bool MObject::IsClass(const wchar_t* name) const {
  const wchar_t* mine = GetClassNameW();
  return mine && name && std::wcscmp(mine, name) == 0;
}

MControl::MControl(MObject* parent, UINT id, CRect rect, BOOL visible, BOOL enabled)
    : parent_(parent), id_(id), rect_(rect), visible_(visible), enabled_(enabled) {}

MControl::~MControl() { RemoveAllControl(); }

BOOL MControl::PtInRect(CPoint pt) { return visible_ && GetRect().PtInRect(pt); }

CRect MControl::GetRect() const {
  std::lock_guard<std::mutex> guard(rectLock_);
  return rect_;
}

void MControl::SetControlRect(CRect rect) {
  std::lock_guard<std::mutex> guard(rectLock_);
  rect_ = rect;
}

// ---- tree ----

void MControl::SetManager(PaintManager* manager) {
  manager_ = manager;
  InitControl(manager);
}

void MControl::AddChild(UINT kind, MControl* child) {
  if (!child) return;
  if (kind == 0) {
    std::lock_guard<std::recursive_mutex> guard(areasLock_);
    areas_.push_back(child);
  } else if (kind == 1) {
    std::lock_guard<std::recursive_mutex> guard(controlsLock_);
    controls_.push_back(child);
  }
}

void MControl::DeleteControl(MControl* control) {
  if (!control) return;
  if (control->manager_) control->manager_->ForgetControl(control);
  delete control;
}

void MControl::ForgetChild(MControl* child) {
  if (currentChild_ == child) currentChild_ = nullptr;
}

MControl* MControl::GetControl(UINT id) {
  {
    std::lock_guard<std::recursive_mutex> guard(controlsLock_);
    for (MControl* c : controls_) {
      if (c->id_ == id) return c;
      if (MControl* found = c->GetControl(id)) return found;
    }
  }
  std::lock_guard<std::recursive_mutex> guard(areasLock_);
  for (MControl* c : areas_) {
    if (c->id_ == id) return c;
    if (MControl* found = c->GetControl(id)) return found;
  }
  return nullptr;
}

BOOL MControl::RemoveControl(MControl* control) {
  if (!control) return 0;
  if (manager_ && manager_->GetFocusControl() == control) manager_->SetFocusControl(nullptr);
  {
    std::lock_guard<std::recursive_mutex> guard(controlsLock_);
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end()) return 0;
    controls_.erase(it);
    ForgetChild(control);
  }
  DeleteControl(control);
  return 1;
}

void MControl::RemoveAllControl() {
  std::vector<MControl*> areas, controls;
  {
    std::lock_guard<std::recursive_mutex> guard(areasLock_);
    areas.swap(areas_);
  }
  {
    std::lock_guard<std::recursive_mutex> guard(controlsLock_);
    controls.swap(controls_);
    currentChild_ = nullptr;
  }
  for (MControl* c : areas) DeleteControl(c);
  for (MControl* c : controls) DeleteControl(c);
}

std::vector<MControl*> MControl::GetControls() {
  std::lock_guard<std::recursive_mutex> guard(controlsLock_);
  return controls_;
}

std::vector<MControl*> MControl::GetAreas() {
  std::lock_guard<std::recursive_mutex> guard(areasLock_);
  return areas_;
}

// ---- geometry and state ----

void MControl::SetRect(CRect rect) {
  CRect old = GetRect();
  SetControlRect(rect);
  if (visible_) {
    CRect u;
    u.UnionRect(old, GetRect());
    if (parent_) parent_->OnControlUpdate(u, 1, this);
  }
}

void MControl::SetVisible(int visible, int repaint) {
  if ((visible != 0) == (visible_ != 0)) return;
  SetControlVisible(visible);
  if (repaint && parent_) parent_->OnControlUpdate(GetRect(), 1, this);
}

void MControl::SetEnabled(int enabled) {
  SetControlEnabled(enabled);
  if (visible_ && parent_) parent_->OnControlUpdate(GetRect(), 1, this);
}

BOOL MControl::IsParentVisible() {
  MObject* p = parent_;
  if (!p) return 0;
  while (p && !p->IsClass(L"MDialog")) {
    auto* c = dynamic_cast<MControl*>(p);
    if (!c) break;  // another window object ends the chain too
    if (!c->visible_) return 0;
    p = c->parent_;
  }
  return 1;
}

void MControl::UpdateControl(int resetCache, int force) {
  if ((visible_ || force) && parent_) parent_->OnControlUpdate(GetRect(), resetCache, this);
}

void MControl::UpdateControl(CRect rect, int force, int resetCache) {
  if ((visible_ || force) && parent_) parent_->OnControlUpdate(rect, resetCache, this);
}

void MControl::UpdateAControl(int noAnimate, int force) {
  animate_ = !noAnimate;
  UpdateControl(0, force);
}

void MControl::SetUpdate(int update, DWORD arg) {
  update_ = update;
  CRect mine = GetRect();
  auto pass = [&](std::vector<MControl*>& list) {
    for (MControl* c : list) {
      CRect i;
      if (i.IntersectRect(c->GetRect(), mine)) c->SetUpdate(update, arg);
    }
  };
  {
    std::lock_guard<std::recursive_mutex> guard(areasLock_);
    pass(areas_);
  }
  std::lock_guard<std::recursive_mutex> guard(controlsLock_);
  pass(controls_);
}

LRESULT MControl::SetControlFocus(int focus) {
  if (focus) return 0;
  std::lock_guard<std::recursive_mutex> guard(controlsLock_);
  for (MControl* c : controls_) c->SetControlFocus(0);
  return 0;
}

void MControl::InvalidateRect(const RECT* rect, BOOL) {
  if (!manager_) return;
  if (manager_->IsLayered()) manager_->Invalidate();
  else manager_->InvalidateRect(rect ? *rect : GetRect(), 0);
}

void MControl::SetTooltip(const wchar_t* text) { tooltip_ = text ? text : L""; }

void MControl::SetTooltip(const CString& text, CRect rect) {
  tooltip_ = text;
  if (!manager_) return;
  manager_->SetTooltip(text.c_str(), rect);
  manager_->SetTooltipCtrlID(id_);
}

void MControl::ClearTooltip() {
  tooltip_.clear();
  if (manager_ && manager_->GetTooltipCtrlID() == id_) manager_->ClearTooltip();
}

BOOL MControl::SetCursorEx(const wchar_t* name) {
  static const struct { const wchar_t* name; HCURSOR cursor; } kCursors[] = {
      {L"arrow", KCURSOR_ARROW}, {L"wait", KCURSOR_WAIT},     {L"cross", KCURSOR_CROSS},
      {L"sizewe", KCURSOR_SIZEWE}, {L"sizens", KCURSOR_SIZENS}, {L"hand", KCURSOR_HAND},
      {L"help", KCURSOR_HELP}};
  if (!name) return 0;
  for (const auto& c : kCursors) {
    if (std::wcscmp(c.name, name) == 0) {
      cursor_ = c.cursor;
      return 1;
    }
  }
  return 0;
}

LRESULT MControl::OnControlSetCursor(UINT, CPoint pt) {
  if (cursor_ == KCURSOR_NONE || !GetRect().PtInRect(pt)) return 0;
  if (manager_) manager_->SetCursor(cursor_);
  return 1;
}

LRESULT MControl::OnControlKeyDown(UINT vk, UINT, UINT modifiers) {
  return hotKey_ != 0 && vk == hotKey_ && modifiers == hotKeyModifiers_;
}

BOOL MControl::IsFocusControl() { return manager_ && manager_->GetFocusControl() == this; }
MControl* MControl::GetFocusControl() { return manager_ ? manager_->GetFocusControl() : nullptr; }
MControl* MControl::GetNextFocusableControl() { return manager_ ? manager_->GetNextFocusableControl(this) : nullptr; }
MControl* MControl::GetPrevFocusableControl() { return manager_ ? manager_->GetPrevFocusableControl(this) : nullptr; }

LRESULT MControl::SendMessageW(UINT code, WPARAM wParam, LPARAM lParam) {
  return parent_ ? parent_->OnBaseMessage(id_, code, wParam, lParam) : 0;
}

void MControl::AddMTimer() {
  if (manager_) manager_->AddMTimer(this);
}

int MControl::PositionItem2Value(const TARN_POSITION_ITEM& item, int a, int b) {
  switch (item.kind) {
    case 0:
      return item.fromEnd ? b - static_cast<int>(item.value) : a + static_cast<int>(item.value);
    case 1: {
      int mid = a + (b - a) / 2;
      return item.fromEnd ? mid - static_cast<int>(item.value) : mid + static_cast<int>(item.value);
    }
    case 2: {
      int v = a + static_cast<int>((b - a) * item.value / 100.0f);
      return v > b ? b : v;
    }
    default:
      return 0;
  }
}

// ---- drawing and timers ----

void MControl::Draw(HDC& hdc, CRect clip) {
  CRect mine = GetRect(), i;
  if (!visible_ || !i.IntersectRect(mine, clip)) return;
  {
    std::lock_guard<std::recursive_mutex> guard(areasLock_);
    for (MControl* a : areas_)
      if (i.IntersectRect(a->GetRect(), mine)) a->Draw(hdc, clip);
  }
  DrawControl(hdc, clip);
  DrawSubControls(hdc, clip);
}

void MControl::DrawSubControls(HDC& hdc, CRect clip) {
  std::lock_guard<std::recursive_mutex> guard(controlsLock_);
  for (MControl* c : controls_)
    if (c->visible_) c->Draw(hdc, clip);
}

LRESULT MControl::OnTimer() {
  LRESULT any = OnControlTimer();
  std::lock_guard<std::recursive_mutex> guard(controlsLock_);
  for (MControl* c : controls_)
    if (c->visible_ && c->runTimer_ && c->OnTimer()) any = 1;
  return any;
}

// ---- mouse routing ----

CPoint MControl::PointFor(MControl* child, CPoint raw, CPoint translated) const {
  // The two scroll bars of a panel live in untranslated coordinates.
  return (child->id_ == 1 || child->id_ == 2) ? raw : translated;
}

LRESULT MControl::OnMouseMove(UINT flags, CPoint pt) {
  if (!visible_ || !response_) return 0;
  CPoint raw = pt;
  OnMousePointChange(pt);
  std::lock_guard<std::recursive_mutex> guard(controlsLock_);
  if (MControl* cur = currentChild_) {
    CPoint cp = PointFor(cur, raw, pt);
    if (pressedInside_ || (cur->PtInRect(cp) && cur->OnCheckMouseResponse(flags, cp))) {
      cur->OnMouseMove(flags, cp);
      return 1;
    }
  }
  currentChild_ = nullptr;
  if (!tooltip_.empty() && GetRect().PtInRect(raw) && manager_ &&
      manager_->GetTooltipCtrlID() != id_) {
    manager_->SetTooltip(tooltip_.c_str(), GetRect());
    manager_->SetTooltipCtrlID(id_);
  }
  OnControlSetCursor(flags, raw);
  LRESULT handled = OnControlMouseMove(flags, raw);
  if (!pressedInside_) {
    for (size_t i = 0; i < controls_.size(); ++i) {
      MControl* c = controls_[i];
      CPoint cp = PointFor(c, raw, pt);
      if (c->OnMouseMove(flags, cp) && c->PtInRect(cp)) currentChild_ = c;
    }
  }
  return currentChild_ != nullptr || handled;
}

LRESULT MControl::RoutePress(UINT flags, CPoint pt, bool right) {
  if (!visible_ || !response_) return 0;
  CPoint raw = pt;
  OnMousePointChange(pt);
  pressedInside_ = GetRect().PtInRect(raw);
  MControl* target = nullptr;
  {
    std::lock_guard<std::recursive_mutex> guard(controlsLock_);
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
      MControl* c = *it;
      if (c->visible_ && c->enabled_ && c->response_ && c->PtInRect(PointFor(c, raw, pt))) {
        target = c;
        break;
      }
    }
    currentChild_ = target;
  }
  if (target) {
    CPoint cp = PointFor(target, raw, pt);
    return right ? target->OnRButtonDown(flags, cp) : target->OnLButtonDown(flags, cp);
  }
  if (manager_) manager_->SetFocusControl(this);
  return right ? OnControlRButtonDown(flags, raw) : OnControlLButtonDown(flags, raw);
}

LRESULT MControl::RouteRelease(UINT flags, CPoint pt, bool right) {
  if (!visible_ || !response_) return 0;
  CPoint raw = pt;
  OnMousePointChange(pt);
  pressedInside_ = 0;
  if (MControl* cur = currentChild_) {
    CPoint cp = PointFor(cur, raw, pt);
    return right ? cur->OnRButtonUp(flags, cp) : cur->OnLButtonUp(flags, cp);
  }
  return right ? OnControlRButtonUp(flags, raw) : OnControlLButtonUp(flags, raw);
}

LRESULT MControl::OnLButtonDown(UINT flags, CPoint pt) { return RoutePress(flags, pt, false); }
LRESULT MControl::OnRButtonDown(UINT flags, CPoint pt) { return RoutePress(flags, pt, true); }
LRESULT MControl::OnLButtonUp(UINT flags, CPoint pt) { return RouteRelease(flags, pt, false); }
LRESULT MControl::OnRButtonUp(UINT flags, CPoint pt) { return RouteRelease(flags, pt, true); }

LRESULT MControl::OnLButtonDblClk(UINT flags, CPoint pt) {
  if (!visible_ || !response_) return 0;
  CPoint raw = pt;
  OnMousePointChange(pt);
  if (MControl* cur = currentChild_) {
    CPoint cp = PointFor(cur, raw, pt);
    LRESULT r = cur->OnLButtonDblClk(flags, cp);
    if (!r && !cur->dblClk_) r = cur->OnLButtonDown(flags, cp);
    return r;
  }
  if (!dblClk_) return OnControlLButtonDown(flags, raw);
  if (notifyDblClk_ && GetRect().PtInRect(raw))
    SendMessageW(3, flags, reinterpret_cast<LPARAM>(&raw));
  return OnControlLButtonDblClk(flags, raw);
}

LRESULT MControl::OnRButtonDblClk(UINT flags, CPoint pt) {
  if (!visible_ || !response_) return 0;
  CPoint raw = pt;
  OnMousePointChange(pt);
  if (MControl* cur = currentChild_) {
    CPoint cp = PointFor(cur, raw, pt);
    LRESULT r = cur->OnRButtonDblClk(flags, cp);
    if (!r && !cur->dblClk_) r = cur->OnRButtonDown(flags, cp);
    return r;
  }
  if (!dblClk_) return OnControlRButtonDown(flags, raw);
  return OnControlRButtonDblClk(flags, raw);
}

LRESULT MControl::OnScroll(int kind, UINT direction, CPoint pt) {
  if (!visible_ || !response_ || !enabled_) return 0;
  CPoint raw = pt;
  OnMousePointChange(pt);
  std::lock_guard<std::recursive_mutex> guard(controlsLock_);
  if (MControl* cur = currentChild_) {
    CPoint cp = PointFor(cur, raw, pt);
    if (cur->PtInRect(cp) && cur->OnCheckMouseResponse(0, cp) && cur->OnScroll(kind, direction, cp))
      return 1;
  }
  if (!GetRect().PtInRect(raw)) return 0;
  if (OnControlScroll(kind, direction, raw)) return 1;
  for (size_t i = 0; i < controls_.size(); ++i) {
    MControl* c = controls_[i];
    CPoint cp = PointFor(c, raw, pt);
    if (c->PtInRect(cp) && c->OnScroll(kind, direction, cp)) return 1;
  }
  return 0;
}

// ---- keys ----

LRESULT MControl::OnKeyDown(UINT vk, UINT repeat, UINT modifiers) {
  if (!visible_ || !response_) return 0;
  MControl* focusedChild = nullptr;
  {
    std::lock_guard<std::recursive_mutex> guard(controlsLock_);
    for (MControl* c : controls_)
      if (c->focused_) { focusedChild = c; break; }
  }
  if (focusedChild) return focusedChild->OnKeyDown(vk, repeat, modifiers);
  LRESULT handled = 0;
  if (MControl* cur = currentChild_) handled = cur->OnKeyDown(vk, repeat, modifiers);
  if (!handled) handled = OnControlKeyDown(vk, repeat, modifiers);
  if (!handled) {
    std::lock_guard<std::recursive_mutex> guard(controlsLock_);
    for (size_t i = 0; i < controls_.size() && !handled; ++i)
      handled = controls_[i]->OnKeyDown(vk, repeat, modifiers);
  }
  // Handled or not, a listening control reports the key.
  if (notifyKeyDown_) SendMessageW(14, vk, modifiers);
  return handled;
}
