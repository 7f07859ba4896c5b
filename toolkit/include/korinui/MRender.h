// Drawing helpers every control uses: image loading, nine-grid frames, alignment.
#pragma once

#include <korinui/MImage.h>
#include <korinui/Painter.h>

#include <memory>

class MRender {
 public:
  static std::shared_ptr<MImage> LoadImageFromFile(const CString& path) { return MImage::LoadFromFile(path); }
  // Cuts source (sx, sy, sw, sh) into nine parts by `corner`: corners unscaled, edges
  // stretched along their length, the centre both ways.
  static void DrawImageFrame(Painter& g, const MImage* image, const CRect& rect, int sx, int sy, int sw,
                             int sh, int corner);
  // Offset of content in an area: hAlign 1 centre, 2 right, else left; vAlign 4
  // centre, 8 bottom, else top.
  static CPoint GetOriginPoint(int width, int height, int contentWidth, int contentHeight, UINT hAlign,
                               UINT vAlign);
  // The same inside `rect`, from its top left, with 2 added to y.
  static CPoint GetOriginPoint(CRect rect, int contentWidth, int contentHeight, UINT hAlign, UINT vAlign);
  // Pure black becomes blue 1 so it survives the layered-window transparency rule.
  static void CheckAlphaColor(DWORD& colour);
  static void FillSolidRect(Painter& g, const CRect& rect, COLORREF colour);
  static void DrawRoundRectange(Painter& g, float x, float y, float width, float height, float radius,
                                ARGB colour, float penWidth, bool fill, ARGB fillColour) {
    g.DrawRoundRect(x, y, width, height, radius, colour, penWidth, fill, fillColour);
  }
};
