#include <korinui/ControlFactory.h>
#include <korinui/MPanel.h>
#include <korinui/PaintManager.h>

MPanel::MPanel(MObject* parent, UINT id, CRect rect, BOOL visible, BOOL enabled)
    : MControlFont(parent, id, rect, visible, enabled),
      vbar_(new CScrollVertical(this, 1, CRect())),
      hbar_(new CScrollHorizontal(this, 2, CRect())) {
  AddChild(1, vbar_);
  AddChild(1, hbar_);
  LayoutBars();
}

void MPanel::InitControl(PaintManager* manager) {
  attached_ = 1;
  vbar_->SetManager(manager);
  hbar_->SetManager(manager);
}

MControl* MPanel::CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title,
                             int visible, int enabled) {
  return CreateControl(0, this, className, id, rect, title, visible, enabled);
}

MControl* MPanel::CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* title,
                                int visible, int enabled) {
  return CreateControl(1, this, className, id, rect, title, visible, enabled);
}

MControl* MPanel::CreateControl(UINT kind, MObject* parent, const wchar_t* className, UINT id,
                                CRect rect, const wchar_t* title, int visible, int enabled) {
  MControl* c = ControlFactory::Create(ControlFactory::Level::Panel, parent, className, id, rect,
                                       title, visible, enabled);
  if (!c) return nullptr;
  if (manager_) c->SetManager(manager_);
  if (kind == 0 || kind == 1) AddChild(kind, c);
  else return c;  // in no list: the caller owns it
  return c;
}

void MPanel::SetControlRect(CRect rect) {
  MControlFont::SetControlRect(rect);
  UpdateVirtualSize();
}

void MPanel::UpdateVirtualSize() {
  CRect r = GetRect();
  int bottom = r.top, right = r.left;
  {
    std::lock_guard<std::recursive_mutex> guard(controlsLock_);
    for (MControl* c : controls_) {
      if (c == vbar_ || c == hbar_) continue;
      CRect cr = c->GetRect();
      if (cr.bottom > bottom) bottom = cr.bottom;
      if (cr.right > right) right = cr.right;
    }
  }
  virtualHeight_ = bottom - r.top;
  virtualWidth_ = right - r.left;
  LayoutBars();
}

void MPanel::LayoutBars() {
  CRect r = GetRect();
  vbar_->SetControlRect(CRect(r.right - barThickness_, r.top, r.right, r.bottom));
  hbar_->SetControlRect(CRect(r.left, r.bottom - barThickness_, r.right, r.bottom));
  bool vOver = virtualHeight_ > r.Height();
  bool hOver = virtualWidth_ > r.Width();
  vbar_->SetControlVisible(vOver);
  hbar_->SetControlVisible(hOver);
  vbar_->SetRange(vOver ? virtualHeight_.load() : 0);
  hbar_->SetRange(hOver ? virtualWidth_.load() : 0);
  vbar_->SetPage(r.Height());
  hbar_->SetPage(r.Width());
}

CPoint MPanel::GetScrollOffset() const {
  CPoint off;
  if (!enableScroll_) return off;
  CRect r = GetRect();
  int vr = vbar_->GetRange(), hr = hbar_->GetRange();
  if (virtualHeight_ > r.Height() && vr > 0)
    off.y = (r.top + virtualHeight_ - r.bottom) * vbar_->GetPosition() / vr;
  if (virtualWidth_ > r.Width() && hr > 0)
    off.x = (r.left + virtualWidth_ - r.right) * hbar_->GetPosition() / hr;
  return off;
}

LRESULT MPanel::OnMousePointChange(CPoint& pt) {
  CPoint off = GetScrollOffset();
  pt.x += off.x;
  pt.y += off.y;
  return 0;
}

LRESULT MPanel::OnControlScroll(int, UINT direction, CPoint) {
  CRect r = GetRect();
  if (virtualHeight_ <= r.Height()) return 0;
  int pos = vbar_->GetPosition() + (direction == 1 ? vbar_->GetLineStep() : -vbar_->GetLineStep());
  if (vbar_->SetPosition(pos)) UpdateControl(1);
  return 1;
}

LRESULT MPanel::OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) {
  if ((id == 1 || id == 2) && code == 8) UpdateControl(1);  // a bar moved: redraw the content
  return OnMessage(id, code, wParam, lParam);
}

LRESULT MPanel::OnControlUpdate(CRect rect, int resetCache, MControl* control) {
  if (control && control != vbar_ && control != hbar_) {
    CPoint off = GetScrollOffset();
    rect.OffsetRect(-off.x, -off.y);
  }
  if (resetCache && control) control->SetUpdate(0);
  {
    std::lock_guard<std::recursive_mutex> guard(controlsLock_);
    bool after = false;
    for (MControl* c : controls_) {
      if (c == control) { after = true; continue; }
      CRect i;
      if (after && c->IsVisible() && i.IntersectRect(c->GetRect(), rect)) {
        c->SetUpdate(0);
        rect.UnionRect(rect, c->GetRect());
      }
    }
  }
  CRect mine = GetRect(), clipped;
  if (!clipped.IntersectRect(rect, mine)) return 0;
  if (parent_) return parent_->OnControlUpdate(clipped, 0, this);
  return 0;
}
