// Drawing surfaces of the skin generator: an owned cairo ARGB32 image and a drawing
// context over it, plus the few path helpers every piece of art uses.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

namespace skingen {

// An sRGB colour given as 0xRRGGBB (the order designers write, not COLORREF).
struct Rgb {
  double r = 0, g = 0, b = 0;
  static constexpr Rgb Hex(std::uint32_t rgb) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0};
  }
  // Linear mix: t = 0 gives *this, t = 1 gives other.
  Rgb Mix(const Rgb& other, double t) const {
    return {r + (other.r - r) * t, g + (other.g - g) * t, b + (other.b - b) * t};
  }
};

// Owns one ARGB32 image surface. Move-only; a failed creation leaves Ok() false.
class Surface {
 public:
  Surface(int width, int height);
  ~Surface();
  Surface(Surface&& other) noexcept;
  Surface& operator=(Surface&& other) noexcept;
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  bool Ok() const;
  int Width() const { return width_; }
  int Height() const { return height_; }
  cairo_surface_t* Get() const { return surface_; }
  // Writes the image as PNG; false when the file cannot be written.
  bool WritePng(const std::string& path) const;
  // The image encoded as PNG in memory; empty on failure.
  std::vector<std::uint8_t> PngBytes() const;
  // Pixel at (x, y) as 0xAARRGGBB, premultiplied as cairo keeps it.
  std::uint32_t Pixel(int x, int y) const;

 private:
  cairo_surface_t* surface_ = nullptr;
  int width_ = 0, height_ = 0;
};

// Owns one cairo context over a surface; the surface must outlive it.
class Painter {
 public:
  explicit Painter(const Surface& target);
  ~Painter();
  Painter(const Painter&) = delete;
  Painter& operator=(const Painter&) = delete;

  cairo_t* Cr() const { return cr_; }
  void Color(const Rgb& c, double alpha = 1.0) const;
  // Adds a rounded rectangle path (radius clamped to half the shorter side).
  void RoundRect(double x, double y, double w, double h, double radius) const;
  void FillRoundRect(double x, double y, double w, double h, double radius, const Rgb& c,
                     double alpha = 1.0) const;
  // Strokes a rounded rectangle whose outer edge is the given box (pen inside it).
  void StrokeRoundRect(double x, double y, double w, double h, double radius, double pen,
                       const Rgb& c, double alpha = 1.0) const;
  void Circle(double cx, double cy, double radius) const;

 private:
  cairo_t* cr_ = nullptr;
};

}  // namespace skingen
