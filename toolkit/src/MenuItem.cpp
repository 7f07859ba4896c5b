#include <korinui/Manager.h>
#include <korinui/MenuItem.h>
#include <korinui/PaintManager.h>

MenuItem::MenuItem(MObject* parent, UINT id, CRect rect, const wchar_t* title, BOOL visible, BOOL enabled)
    : MControlFont(parent, id, rect, visible, enabled) {
  title_ = title ? title : L"";
}

void MenuItem::SetState(int state) {
  if (state == state_) return;
  state_ = state;
  UpdateControl(0);
}

void MenuItem::DrawControl(HDC& hdc, CRect) {
  if (!hdc) return;
  CRect r = rect_;
  if (separator_) {
    if (image_) DrawImageFrameIndex(hdc, 0, r);
    else hdc->FillRect(r, 0xFF575757);
    return;
  }
  bool hot = state_ == 1 || state_ == 6 || state_ == 2;
  if (image_) DrawImageFrameIndex(hdc, enabled_ ? (hot ? 1 : 0) : 3, r);
  else if (hot && enabled_) hdc->FillRect(r, 0x40FFFFFF);
  CRect text = r;
  text.left += padding_;
  if (checkable_) {
    int s = r.Height() / 3;
    CRect box(r.right - s - 10, r.top + s, r.right - 10, r.top + 2 * s);
    hdc->DrawRect(box, textColor_, 1.0f);
    if (check_) {
      CRect in = box;
      in.DeflateRect(3, 3);
      hdc->FillRect(in, Manager::GetSelectColor());
    }
  }
  DrawTitle(hdc, text, enabled_ ? textColor_ : 0xFF808080);
}

LRESULT MenuItem::OnControlMouseMove(UINT, CPoint pt) {
  if (!enabled_ || separator_) return 0;
  bool inside = rect_.PtInRect(pt);
  if (!pressed_) SetState(inside ? (check_ ? 6 : 1) : 0);
  return inside;
}

LRESULT MenuItem::OnControlLButtonDown(UINT, CPoint pt) {
  if (!enabled_ || separator_ || !rect_.PtInRect(pt)) return 0;
  pressed_ = true;
  SetState(2);
  if (checkable_) SendMessageW(7, check_, 1);
  return 1;
}

LRESULT MenuItem::OnControlLButtonUp(UINT, CPoint pt) {
  if (!pressed_) return 0;
  pressed_ = false;
  if (!rect_.PtInRect(pt)) {
    SetState(0);
    return 1;
  }
  if (checkable_) {
    check_ = !check_;
    SetState(check_ ? 6 : 1);
    return 1;
  }
  SetState(1);
  SendMessageW(2, 0, 0);
  return 1;
}

void MenuItem::SetControlEnabled(int enabled) {
  MControlFont::SetControlEnabled(enabled);
  state_ = enabled ? 0 : 3;
}
