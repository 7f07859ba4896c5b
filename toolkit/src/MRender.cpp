#include <korinui/MRender.h>

void MRender::DrawImageFrame(Painter& g, const MImage* image, const CRect& rect, int sx, int sy, int sw,
                             int sh, int c) {
  if (!image || rect.IsRectEmpty() || sw <= 0 || sh <= 0) return;
  if (c < 0) c = 0;
  int l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
  // Columns and rows of source and target: [start, start + c), middle, [end - c, end).
  int sxs[4] = {sx, sx + c, sx + sw - c, sx + sw};
  int sys[4] = {sy, sy + c, sy + sh - c, sy + sh};
  int dxs[4] = {l, l + c, r - c, r};
  int dys[4] = {t, t + c, b - c, b};
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col)
      g.DrawImage(*image, CRect(dxs[col], dys[row], dxs[col + 1], dys[row + 1]),
                  CRect(sxs[col], sys[row], sxs[col + 1], sys[row + 1]), 255, false);
}

CPoint MRender::GetOriginPoint(int width, int height, int cw, int ch, UINT h, UINT v) {
  CPoint p;
  if (h == 1) p.x = (width - cw) / 2;
  else if (h == 2) p.x = width - cw;
  if (v == 4) p.y = (height - ch) / 2;
  else if (v == 8) p.y = height - ch;
  return p;
}

CPoint MRender::GetOriginPoint(CRect rect, int cw, int ch, UINT h, UINT v) {
  CPoint p = GetOriginPoint(rect.Width(), rect.Height(), cw, ch, h, v);
  return CPoint(rect.left + p.x, rect.top + p.y + 2);
}

void MRender::CheckAlphaColor(DWORD& colour) {
  if ((colour & 0x00FFFFFFu) == 0) colour = (colour & 0xFF000000u) | RGB(0, 0, 1);
}

void MRender::FillSolidRect(Painter& g, const CRect& rect, COLORREF c) {
  g.FillRect(rect, 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
}
