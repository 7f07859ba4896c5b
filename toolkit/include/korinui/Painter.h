// The one drawing surface of the toolkit: a 32-bit ARGB image (premultiplied, top
// down) with anti-aliased shapes, images and text. Every control draws through the
// painter the window hands it (HDC is a Painter*). Single thread per painter.
#pragma once

#include <korinui/MImage.h>
#include <korinui/Types.h>

#include <cstdint>
#include <memory>
#include <string>

// Font style bits (bold, italic, underline, strikeout may be combined).
enum FontStyle : int {
  FontStyleRegular = 0,
  FontStyleBold = 1,
  FontStyleItalic = 2,
  FontStyleBoldItalic = 3,
  FontStyleUnderline = 4,
  FontStyleStrikeout = 8,
};

// How a text is laid out. Horizontal alignment: 0 left, 1 centre, 2 right; vertical:
// 0 top, 4 centre, 8 bottom (the toolkit's alignment words).
struct TextFormat {
  std::wstring family;  // empty: the system's default family
  int sizePx = 18;
  int style = FontStyleRegular;
  UINT hAlign = 0;
  UINT vAlign = 0;
  bool wrap = false;
};

class Painter {
 public:
  struct Impl;

  // A transparent surface of width x height; IsValid() is false when it cannot be made.
  Painter(int width, int height);
  ~Painter();
  Painter(const Painter&) = delete;
  Painter& operator=(const Painter&) = delete;

  bool IsValid() const;
  int Width() const;
  int Height() const;
  std::uint32_t* Pixels();
  const std::uint32_t* Pixels() const;
  int Stride() const;  // bytes per row
  // Straight 0xAARRGGBB of one pixel; 0 outside.
  ARGB GetPixel(int x, int y) const;

  // Clipping is a stack: Save, narrow with ClipRect, Restore.
  void Save();
  void Restore();
  void ClipRect(const CRect& rect);

  void Clear(const CRect& rect);  // fully transparent
  void FillRect(const CRect& rect, ARGB color);
  void DrawRect(const CRect& rect, ARGB color, float penWidth = 1.0f);
  void DrawLine(float x1, float y1, float x2, float y2, ARGB color, float penWidth = 1.0f);
  void FillEllipse(const CRect& rect, ARGB color);
  void DrawRoundRect(float x, float y, float width, float height, float radius, ARGB pen,
                     float penWidth, bool fill, ARGB fillColor);
  // Draws `src` of the image into `dst`, scaled when the sizes differ (smoothly, or by
  // repeating pixels when `smooth` is false: the cheap way for flat skin parts).
  void DrawImage(const MImage& image, const CRect& dst, const CRect& src, BYTE alpha = 255,
                 bool smooth = true);
  void DrawText(const CString& text, const CRect& rect, const TextFormat& format, ARGB color);
  // Size of the text as DrawText would lay it out (no wrapping unless maxWidth > 0).
  static CSize MeasureText(const CString& text, const TextFormat& format, int maxWidth = -1);

  // Pixels in `rect` with alpha 0 and some colour become opaque (layered painting).
  void FixAlpha(const CRect& rect);
  bool WritePng(const std::string& path) const;

  Impl& impl() { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};
