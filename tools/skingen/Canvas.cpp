#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <utility>

namespace skingen {

Surface::Surface(int width, int height) : width_(width), height_(height) {
  surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface_);
    surface_ = nullptr;
  }
}

Surface::~Surface() {
  if (surface_ != nullptr) cairo_surface_destroy(surface_);
}

Surface::Surface(Surface&& other) noexcept
    : surface_(std::exchange(other.surface_, nullptr)), width_(other.width_), height_(other.height_) {}

Surface& Surface::operator=(Surface&& other) noexcept {
  if (this != &other) {
    if (surface_ != nullptr) cairo_surface_destroy(surface_);
    surface_ = std::exchange(other.surface_, nullptr);
    width_ = other.width_;
    height_ = other.height_;
  }
  return *this;
}

bool Surface::Ok() const { return surface_ != nullptr; }

bool Surface::WritePng(const std::string& path) const {
  if (surface_ == nullptr) return false;
  cairo_surface_flush(surface_);
  return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

std::vector<std::uint8_t> Surface::PngBytes() const {
  std::vector<std::uint8_t> bytes;
  if (surface_ == nullptr) return bytes;
  cairo_surface_flush(surface_);
  auto append = [](void* closure, const unsigned char* data, unsigned int length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(closure);
    out->insert(out->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
  };
  if (cairo_surface_write_to_png_stream(surface_, append, &bytes) != CAIRO_STATUS_SUCCESS)
    bytes.clear();
  return bytes;
}

std::uint32_t Surface::Pixel(int x, int y) const {
  if (surface_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  cairo_surface_flush(surface_);
  const unsigned char* row =
      cairo_image_surface_get_data(surface_) + static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(surface_);
  std::uint32_t v;
  std::memcpy(&v, row + static_cast<std::ptrdiff_t>(x) * 4, sizeof v);
  return v;
}

Painter::Painter(const Surface& target) {
  // cairo_create never returns null; on a null surface it yields an error context that
  // ignores every call, which is what a failed surface should draw.
  cairo_surface_t* s = target.Get();
  if (s == nullptr) s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cr_ = cairo_create(s);
  if (s != target.Get()) cairo_surface_destroy(s);
}

Painter::~Painter() { cairo_destroy(cr_); }

void Painter::Color(const Rgb& c, double alpha) const {
  cairo_set_source_rgba(cr_, c.r, c.g, c.b, alpha);
}

void Painter::RoundRect(double x, double y, double w, double h, double radius) const {
  const double r = std::max(0.0, std::min(radius, std::min(w, h) / 2));
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr_, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr_, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr_, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr_);
}

void Painter::FillRoundRect(double x, double y, double w, double h, double radius, const Rgb& c,
                            double alpha) const {
  RoundRect(x, y, w, h, radius);
  Color(c, alpha);
  cairo_fill(cr_);
}

void Painter::StrokeRoundRect(double x, double y, double w, double h, double radius, double pen,
                              const Rgb& c, double alpha) const {
  const double half = pen / 2;
  RoundRect(x + half, y + half, w - pen, h - pen, std::max(0.0, radius - half));
  Color(c, alpha);
  cairo_set_line_width(cr_, pen);
  cairo_stroke(cr_);
}

void Painter::Circle(double cx, double cy, double radius) const {
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, cx, cy, radius, 0, 2 * M_PI);
}

}  // namespace skingen
