// Painter and MImage over cairo image surfaces.
#include "CairoImpl.h"

#include <korinui/TextCodec.h>

#include <cstring>
#include <vector>

namespace {

void SetColor(cairo_t* cr, ARGB c) {
  cairo_set_source_rgba(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                        (c & 0xFF) / 255.0, ((c >> 24) & 0xFF) / 255.0);
}

ARGB Unpremultiply(std::uint32_t p) {
  unsigned a = p >> 24;
  if (a == 0) return p & 0x00FFFFFFu;  // keeps colour written without alpha visible
  if (a == 255) return p;
  auto ch = [a](unsigned v) { return (v * 255 + a / 2) / a; };
  return (a << 24) | (ch((p >> 16) & 0xFF) << 16) | (ch((p >> 8) & 0xFF) << 8) | ch(p & 0xFF);
}

struct PngReader {
  const unsigned char* data;
  size_t size;
  size_t pos = 0;
};

cairo_status_t ReadPng(void* closure, unsigned char* out, unsigned int length) {
  auto* r = static_cast<PngReader*>(closure);
  if (r->size - r->pos < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(out, r->data + r->pos, length);
  r->pos += length;
  return CAIRO_STATUS_SUCCESS;
}

std::shared_ptr<MImage> Wrap(cairo_surface_t* s);

}  // namespace

// ---- MImage ----

MImage::MImage(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
MImage::~MImage() = default;

namespace {
std::shared_ptr<MImage> Wrap(cairo_surface_t* s) {
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS || cairo_image_surface_get_width(s) <= 0) {
    cairo_surface_destroy(s);
    return nullptr;
  }
  auto impl = std::make_unique<MImage::Impl>();
  // Drawing wants ARGB32; PNGs without alpha load as RGB24.
  if (cairo_image_surface_get_format(s) != CAIRO_FORMAT_ARGB32) {
    cairo_surface_t* conv = cairo_image_surface_create(
        CAIRO_FORMAT_ARGB32, cairo_image_surface_get_width(s), cairo_image_surface_get_height(s));
    cairo_t* cr = cairo_create(conv);
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(s);
    s = conv;
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
      cairo_surface_destroy(s);
      return nullptr;
    }
  }
  impl->surface = s;
  return std::make_shared<MImage>(std::move(impl));
}
}  // namespace

std::shared_ptr<MImage> MImage::LoadFromFile(const std::wstring& path) {
  std::string p = korinui::WideToUtf8(path);
  return Wrap(cairo_image_surface_create_from_png(p.c_str()));
}

std::shared_ptr<MImage> MImage::LoadFromMemory(const void* data, size_t size) {
  if (!data || size == 0) return nullptr;
  PngReader r{static_cast<const unsigned char*>(data), size};
  return Wrap(cairo_image_surface_create_from_png_stream(ReadPng, &r));
}

int MImage::Width() const { return cairo_image_surface_get_width(impl_->surface); }
int MImage::Height() const { return cairo_image_surface_get_height(impl_->surface); }

ARGB MImage::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
  const unsigned char* d = cairo_image_surface_get_data(impl_->surface);
  int stride = cairo_image_surface_get_stride(impl_->surface);
  std::uint32_t p;
  std::memcpy(&p, d + static_cast<size_t>(y) * stride + x * 4, 4);
  return Unpremultiply(p);
}

// ---- Painter ----

Painter::Painter(int width, int height) : impl_(std::make_unique<Impl>()) {
  if (width < 1) width = 1;
  if (height < 1) height = 1;
  impl_->surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(impl_->surface) == CAIRO_STATUS_SUCCESS)
    impl_->cr = cairo_create(impl_->surface);
}

Painter::~Painter() = default;

bool Painter::IsValid() const {
  return impl_->cr && cairo_status(impl_->cr) == CAIRO_STATUS_SUCCESS;
}
int Painter::Width() const { return cairo_image_surface_get_width(impl_->surface); }
int Painter::Height() const { return cairo_image_surface_get_height(impl_->surface); }
std::uint32_t* Painter::Pixels() {
  cairo_surface_flush(impl_->surface);
  return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(impl_->surface));
}
const std::uint32_t* Painter::Pixels() const {
  cairo_surface_flush(impl_->surface);
  return reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(impl_->surface));
}
int Painter::Stride() const { return cairo_image_surface_get_stride(impl_->surface); }

ARGB Painter::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
  const auto* row = reinterpret_cast<const unsigned char*>(Pixels()) + static_cast<size_t>(y) * Stride();
  std::uint32_t p;
  std::memcpy(&p, row + x * 4, 4);
  return Unpremultiply(p);
}

void Painter::Save() { if (impl_->cr) cairo_save(impl_->cr); }
void Painter::Restore() { if (impl_->cr) cairo_restore(impl_->cr); }
void Painter::ClipRect(const CRect& r) {
  if (!impl_->cr) return;
  cairo_rectangle(impl_->cr, r.left, r.top, r.Width() > 0 ? r.Width() : 0, r.Height() > 0 ? r.Height() : 0);
  cairo_clip(impl_->cr);
}

void Painter::Clear(const CRect& r) {
  cairo_t* cr = impl_->cr;
  if (!cr || r.IsRectEmpty()) return;
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
  cairo_rectangle(cr, r.left, r.top, r.Width(), r.Height());
  cairo_fill(cr);
  cairo_restore(cr);
}

void Painter::FillRect(const CRect& r, ARGB color) {
  cairo_t* cr = impl_->cr;
  if (!cr || r.IsRectEmpty()) return;
  SetColor(cr, color);
  cairo_rectangle(cr, r.left, r.top, r.Width(), r.Height());
  cairo_fill(cr);
}

void Painter::DrawRect(const CRect& r, ARGB color, float penWidth) {
  cairo_t* cr = impl_->cr;
  if (!cr || r.IsRectEmpty()) return;
  SetColor(cr, color);
  cairo_set_line_width(cr, penWidth);
  double h = penWidth / 2.0;
  cairo_rectangle(cr, r.left + h, r.top + h, r.Width() - penWidth, r.Height() - penWidth);
  cairo_stroke(cr);
}

void Painter::DrawLine(float x1, float y1, float x2, float y2, ARGB color, float penWidth) {
  cairo_t* cr = impl_->cr;
  if (!cr) return;
  SetColor(cr, color);
  cairo_set_line_width(cr, penWidth);
  cairo_move_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
  cairo_stroke(cr);
}

void Painter::FillEllipse(const CRect& r, ARGB color) {
  cairo_t* cr = impl_->cr;
  if (!cr || r.IsRectEmpty()) return;
  cairo_save(cr);
  cairo_translate(cr, r.left + r.Width() / 2.0, r.top + r.Height() / 2.0);
  cairo_scale(cr, r.Width() / 2.0, r.Height() / 2.0);
  cairo_arc(cr, 0, 0, 1, 0, 6.283185307179586);
  cairo_restore(cr);
  SetColor(cr, color);
  cairo_fill(cr);
}

void Painter::DrawRoundRect(float x, float y, float w, float h, float radius, ARGB pen,
                            float penWidth, bool fill, ARGB fillColor) {
  cairo_t* cr = impl_->cr;
  if (!cr || w <= 0 || h <= 0) return;
  double r = radius;
  if (r * 2 > w) r = w / 2;
  if (r * 2 > h) r = h / 2;
  const double pi = 3.141592653589793;
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -pi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, pi / 2);
  cairo_arc(cr, x + r, y + h - r, r, pi / 2, pi);
  cairo_arc(cr, x + r, y + r, r, pi, 3 * pi / 2);
  cairo_close_path(cr);
  if (fill) {
    SetColor(cr, fillColor);
    cairo_fill_preserve(cr);
  }
  if (penWidth > 0) {
    SetColor(cr, pen);
    cairo_set_line_width(cr, penWidth);
    cairo_stroke(cr);
  }
  cairo_new_path(cr);
}

void Painter::DrawImage(const MImage& image, const CRect& dst, const CRect& src, BYTE alpha, bool smooth) {
  cairo_t* cr = impl_->cr;
  if (!cr || dst.IsRectEmpty() || src.IsRectEmpty()) return;
  cairo_save(cr);
  cairo_rectangle(cr, dst.left, dst.top, dst.Width(), dst.Height());
  cairo_clip(cr);
  if (dst.Width() == src.Width() && dst.Height() == src.Height()) {
    cairo_set_source_surface(cr, image.impl().surface, dst.left - src.left, dst.top - src.top);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  } else {
    // A sub-surface with padded edges keeps the neighbouring frame's pixels out of a
    // stretched part.
    cairo_surface_t* sub = cairo_surface_create_for_rectangle(image.impl().surface, src.left,
                                                             src.top, src.Width(), src.Height());
    cairo_translate(cr, dst.left, dst.top);
    cairo_scale(cr, double(dst.Width()) / src.Width(), double(dst.Height()) / src.Height());
    cairo_set_source_surface(cr, sub, 0, 0);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(cairo_get_source(cr), smooth ? CAIRO_FILTER_BILINEAR : CAIRO_FILTER_NEAREST);
    cairo_surface_destroy(sub);
  }
  if (alpha == 255) cairo_paint(cr);
  else cairo_paint_with_alpha(cr, alpha / 255.0);
  cairo_restore(cr);
}

void Painter::FixAlpha(const CRect& rect) {
  CRect r;
  if (!r.IntersectRect(rect, CRect(0, 0, Width(), Height()))) return;
  unsigned char* base = reinterpret_cast<unsigned char*>(Pixels());
  for (int y = r.top; y < r.bottom; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(base + static_cast<size_t>(y) * Stride());
    for (int x = r.left; x < r.right; ++x)
      if ((row[x] >> 24) == 0 && (row[x] & 0x00FFFFFFu) != 0) row[x] |= 0xFF000000u;
  }
  cairo_surface_mark_dirty(impl_->surface);
}

bool Painter::WritePng(const std::string& path) const {
  return cairo_surface_write_to_png(impl_->surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}
