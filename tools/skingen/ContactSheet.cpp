// One review picture of everything the generator wrote: each image on a checkerboard
// (so transparent parts show), scaled to its cell, with its path, frame count and size,
// and thin marks between the frames of a strip.
#include <algorithm>
#include <cstdio>
#include <string>

#include "Skin.h"
#include "TextArt.h"

namespace skingen {
namespace {

constexpr int kColumns = 4;
constexpr int kCellW = 400, kCellH = 190, kLabelH = 34, kMargin = 10;

void Checkerboard(const Painter& p, double x, double y, double w, double h) {
  cairo_t* cr = p.Cr();
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  p.Color(Rgb::Hex(0x2C2C2C));
  cairo_paint(cr);
  p.Color(Rgb::Hex(0x363636));
  for (double yy = y; yy < y + h; yy += 8)
    for (double xx = x + (static_cast<int>((yy - y) / 8) % 2) * 8; xx < x + w; xx += 16)
      cairo_rectangle(cr, xx, yy, 8, 8);
  cairo_fill(cr);
  cairo_restore(cr);
}

}  // namespace

bool WriteContactSheet(const SkinOutput& out, const std::string& path) {
  const auto& records = out.Records();
  const int rows = (static_cast<int>(records.size()) + kColumns - 1) / kColumns;
  Surface sheet(kColumns * kCellW, std::max(1, rows) * kCellH);
  Painter p(sheet);
  cairo_t* cr = p.Cr();
  p.Color(Rgb::Hex(0x121212));
  cairo_paint(cr);
  for (std::size_t i = 0; i < records.size(); ++i) {
    const ImageRecord& rec = records[i];
    const double cx = static_cast<double>(i % kColumns) * kCellW + kMargin;
    const double cy = static_cast<double>(i / kColumns) * kCellH + kMargin;
    const double areaW = kCellW - 2 * kMargin, areaH = kCellH - kLabelH - 2 * kMargin;

    cairo_surface_t* image = nullptr;
    if (rec.preview) {
      image = cairo_surface_reference(rec.preview->Get());
    } else {
      image = cairo_image_surface_create_from_png((out.Root() + rec.path).c_str());
    }
    TextStyle label;
    label.pixels = 11;
    label.colour = Rgb::Hex(0xE6E6E6);
    char info[96];
    std::snprintf(info, sizeof info, "%d frame%s, %d x %d", rec.frames, rec.frames == 1 ? "" : "s",
                  rec.width, rec.height);
    DrawLabel(p, rec.path, cx, cy, areaW, label);
    label.colour = Rgb::Hex(0x9A9A9A);
    DrawLabel(p, info, cx, cy + 15, areaW, label);

    const double top = cy + kLabelH;
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS || rec.width <= 0 || rec.height <= 0) {
      cairo_surface_destroy(image);
      continue;
    }
    // Small art is enlarged (up to 3x) so its pixels can be judged; large art shrinks.
    const double scale = std::min({3.0, areaW / rec.width, areaH / rec.height});
    const double w = rec.width * scale, h = rec.height * scale;
    Checkerboard(p, cx, top, w, h);
    cairo_save(cr);
    cairo_translate(cr, cx, top);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), scale >= 1 ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(image);
    if (rec.frames > 1) {
      p.Color(Rgb::Hex(0x00C8FF), 0.8);
      for (int f = 1; f < rec.frames; ++f) {
        const double fx = cx + w * f / rec.frames;
        cairo_rectangle(cr, fx - 0.5, top - 4, 1, 4);
        cairo_rectangle(cr, fx - 0.5, top + h, 1, 4);
      }
      cairo_fill(cr);
    }
  }
  if (!sheet.WritePng(path)) {
    std::fprintf(stderr, "skingen: cannot write the contact sheet %s\n", path.c_str());
    return false;
  }
  return true;
}

}  // namespace skingen
