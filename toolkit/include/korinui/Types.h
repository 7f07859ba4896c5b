// Basic value types shared by the toolkit and the program: wide strings,
// pixel geometry (right and bottom exclusive) and colour words.
#pragma once

#include <cstdint>
#include <string>

using UINT = unsigned int;
using DWORD = std::uint32_t;
using BYTE = std::uint8_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using BOOL = int;

// COLORREF is 0x00BBGGRR (red in the low byte); ARGB is 0xAARRGGBB.
using COLORREF = std::uint32_t;
using ARGB = std::uint32_t;

constexpr COLORREF RGB(unsigned r, unsigned g, unsigned b) {
  return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}
constexpr unsigned GetRValue(COLORREF c) { return c & 0xFFu; }
constexpr unsigned GetGValue(COLORREF c) { return (c >> 8) & 0xFFu; }
constexpr unsigned GetBValue(COLORREF c) { return (c >> 16) & 0xFFu; }

// The program's wide string: value semantics, one wchar_t per code point on Linux.
using CString = std::wstring;

struct CPoint {
  int x = 0;
  int y = 0;
  constexpr CPoint() = default;
  constexpr CPoint(int px, int py) : x(px), y(py) {}
  constexpr bool operator==(const CPoint&) const = default;
};

struct CSize {
  int cx = 0;
  int cy = 0;
  constexpr CSize() = default;
  constexpr CSize(int w, int h) : cx(w), cy(h) {}
  constexpr bool operator==(const CSize&) const = default;
};

struct CRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  constexpr CRect() = default;
  constexpr CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
  constexpr bool operator==(const CRect&) const = default;

  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
  constexpr CSize Size() const { return {Width(), Height()}; }
  constexpr CPoint TopLeft() const { return {left, top}; }
  constexpr CPoint BottomRight() const { return {right, bottom}; }
  constexpr bool IsRectEmpty() const { return right <= left || bottom <= top; }
  constexpr bool PtInRect(CPoint p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  constexpr void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
  constexpr void InflateRect(int dx, int dy) { left -= dx; right += dx; top -= dy; bottom += dy; }
  constexpr void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
  constexpr void SetRectEmpty() { left = top = right = bottom = 0; }

  // Intersection; an empty result is normalised to all zeros, as the platform did.
  constexpr bool IntersectRect(const CRect& a, const CRect& b) {
    CRect r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top,
            a.right < b.right ? a.right : b.right, a.bottom < b.bottom ? a.bottom : b.bottom};
    if (r.IsRectEmpty()) { SetRectEmpty(); return false; }
    *this = r;
    return true;
  }
  // Union of two rectangles; an empty operand does not count.
  constexpr bool UnionRect(const CRect& a, const CRect& b) {
    if (a.IsRectEmpty()) { *this = b.IsRectEmpty() ? CRect{} : b; return !IsRectEmpty(); }
    if (b.IsRectEmpty()) { *this = a; return true; }
    *this = CRect{a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
                  a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom};
    return true;
  }
};
