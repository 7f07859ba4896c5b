#include <korinui/CScrollBar.h>
#include <korinui/Painter.h>

CScrollBase::CScrollBase(MObject* parent, UINT id, CRect rect, bool vertical)
    : MControl(parent, id, rect, 0, 1), vertical_(vertical) {}

bool CScrollBase::SetPosition(int pos) {
  if (pos < 0) pos = 0;
  if (pos > range_) pos = range_;
  if (pos == pos_) return false;
  pos_ = pos;
  return true;
}

CRect CScrollBase::ThumbRect() const {
  CRect r = GetRect();
  int len = vertical_ ? r.Height() : r.Width();
  int total = range_ + page_;
  int thumb = total > 0 ? len * page_ / total : len;
  if (thumb < 10) thumb = len < 10 ? len : 10;
  int off = range_ > 0 ? (len - thumb) * pos_ / range_ : 0;
  if (vertical_) return CRect(r.left, r.top + off, r.right, r.top + off + thumb);
  return CRect(r.left + off, r.top, r.left + off + thumb, r.bottom);
}

int CScrollBase::PositionAt(CPoint pt) const {
  CRect r = GetRect();
  int len = vertical_ ? r.Height() : r.Width();
  int at = vertical_ ? pt.y - r.top : pt.x - r.left;
  return len > 0 ? at * range_ / len : 0;
}

void CScrollBase::DrawControl(HDC& hdc, CRect) {
  hdc->FillRect(GetRect(), 0x40FFFFFF);
  hdc->FillRect(ThumbRect(), 0xC0CA5100);
}

LRESULT CScrollBase::OnControlLButtonDown(UINT, CPoint pt) {
  dragging_ = true;
  if (SetPosition(PositionAt(pt))) SendMessageW(8, pos_, 0);
  return 1;
}
LRESULT CScrollBase::OnControlMouseMove(UINT, CPoint pt) {
  if (dragging_ && SetPosition(PositionAt(pt))) SendMessageW(8, pos_, 0);
  return dragging_;
}
LRESULT CScrollBase::OnControlLButtonUp(UINT, CPoint) {
  bool was = dragging_;
  dragging_ = false;
  return was;
}
