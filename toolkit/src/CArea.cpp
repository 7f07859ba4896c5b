#include <korinui/CArea.h>
#include <korinui/Painter.h>

void CArea::SetTransparent(int on, int alpha, DWORD colour) {
  fill_ = on;
  alpha_ = alpha;
  colour_ = colour;
  UpdateControl(1);
}

void CArea::SetFrame(int width, ARGB colour, int corner) {
  frameWidth_ = width;
  frameColour_ = colour;
  corner_ = corner;
  UpdateControl(1);
}

void CArea::DrawControl(HDC& hdc, CRect) {
  if (!hdc) return;
  CRect r = rect_;
  ARGB fill = (static_cast<ARGB>(alpha_ & 0xFF) << 24) | (GetRValue(colour_) << 16) |
              (GetGValue(colour_) << 8) | GetBValue(colour_);
  if (corner_ > 0) {
    hdc->DrawRoundRect(r.left + frameWidth_ / 2.0f, r.top + frameWidth_ / 2.0f, r.Width() - frameWidth_,
                       r.Height() - frameWidth_, corner_, frameColour_, static_cast<float>(frameWidth_),
                       fill_ != 0, fill);
    return;
  }
  if (fill_) hdc->FillRect(r, fill);
  if (frameWidth_ > 0) hdc->DrawRect(r, frameColour_, static_cast<float>(frameWidth_));
}
