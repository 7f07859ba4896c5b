// A plain background area: a colour (or nothing) with an optional frame.
#pragma once

#include <korinui/MControl.h>

class CArea : public MControl {
 public:
  CArea(MObject* parent, UINT id, CRect rect, BOOL visible = 1, BOOL enabled = 1)
      : MControl(parent, id, rect, visible, enabled) {}
  // on: fill with `colour` (COLORREF) at `alpha`; off: transparent.
  void SetTransparent(int on, int alpha, DWORD colour);
  void SetFrame(int width, ARGB colour, int corner);
  void DrawControl(HDC& hdc, CRect clip) override;

 private:
  int fill_ = 0, alpha_ = 255;
  DWORD colour_ = 0;
  int frameWidth_ = 0, corner_ = 0;
  ARGB frameColour_ = 0;
};
