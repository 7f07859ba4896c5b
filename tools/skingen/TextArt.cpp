#include "TextArt.h"

#include <pango/pangocairo.h>

#include <memory>

namespace skingen {
namespace {

struct LayoutDeleter {
  void operator()(PangoLayout* l) const { g_object_unref(l); }
};
struct FontDeleter {
  void operator()(PangoFontDescription* d) const { pango_font_description_free(d); }
};
using LayoutPtr = std::unique_ptr<PangoLayout, LayoutDeleter>;
using FontPtr = std::unique_ptr<PangoFontDescription, FontDeleter>;

LayoutPtr MakeLayout(const Painter& p, const std::string& utf8, const TextStyle& style,
                     double pixels) {
  LayoutPtr layout(pango_cairo_create_layout(p.Cr()));
  FontPtr font(pango_font_description_new());
  pango_font_description_set_family(font.get(), style.family);
  pango_font_description_set_weight(font.get(),
                                    style.bold ? PANGO_WEIGHT_SEMIBOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_absolute_size(font.get(), pixels * PANGO_SCALE);
  pango_layout_set_font_description(layout.get(), font.get());
  pango_layout_set_text(layout.get(), utf8.c_str(), -1);
  return layout;
}

void Show(const Painter& p, PangoLayout* layout, double x, double y, const TextStyle& style) {
  cairo_move_to(p.Cr(), x, y);
  p.Color(style.colour, style.alpha);
  pango_cairo_show_layout(p.Cr(), layout);
}

}  // namespace

double DrawFittedText(const Painter& p, const std::string& utf8, double x, double y, double w,
                      double h, TextStyle style, double minPixels) {
  double pixels = style.pixels;
  LayoutPtr layout = MakeLayout(p, utf8, style, pixels);
  PangoRectangle ink, logical;
  pango_layout_get_pixel_extents(layout.get(), &ink, &logical);
  while (logical.width > w && pixels > minPixels) {
    pixels -= 0.5;
    layout = MakeLayout(p, utf8, style, pixels);
    pango_layout_get_pixel_extents(layout.get(), &ink, &logical);
  }
  if (logical.width > w) {
    pango_layout_set_width(layout.get(), static_cast<int>(w * PANGO_SCALE));
    pango_layout_set_height(layout.get(), static_cast<int>(h * PANGO_SCALE));
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
    pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
    pango_layout_set_alignment(layout.get(), PANGO_ALIGN_CENTER);
    pango_layout_get_pixel_extents(layout.get(), &ink, &logical);
    Show(p, layout.get(), x, y + (h - logical.height) / 2.0, style);
    return pixels;
  }
  Show(p, layout.get(), x + (w - logical.width) / 2.0 - logical.x, y + (h - logical.height) / 2.0,
       style);
  return pixels;
}

void DrawLabel(const Painter& p, const std::string& utf8, double x, double y, double w,
               const TextStyle& style) {
  LayoutPtr layout = MakeLayout(p, utf8, style, style.pixels);
  pango_layout_set_width(layout.get(), static_cast<int>(w * PANGO_SCALE));
  pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
  Show(p, layout.get(), x, y, style);
}

}  // namespace skingen
