// Text of the painter through pango (fontconfig fallback supplies CJK glyphs).
#include "CairoImpl.h"

#include <korinui/TextCodec.h>

#include <pango/pangocairo.h>

namespace {

PangoFontDescription* MakeFont(const TextFormat& f) {
  PangoFontDescription* d = pango_font_description_new();
  std::string family = f.family.empty() ? std::string("Sans") : korinui::WideToUtf8(f.family);
  pango_font_description_set_family(d, family.c_str());
  pango_font_description_set_absolute_size(d, (f.sizePx > 0 ? f.sizePx : 1) * PANGO_SCALE);
  pango_font_description_set_weight(d, (f.style & FontStyleBold) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(d, (f.style & FontStyleItalic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  return d;
}

// Lays out `text` in `ctx`; the caller unrefs the layout.
PangoLayout* MakeLayout(PangoContext* ctx, const CString& text, const TextFormat& f, int width) {
  PangoLayout* layout = pango_layout_new(ctx);
  PangoFontDescription* d = MakeFont(f);
  pango_layout_set_font_description(layout, d);
  pango_font_description_free(d);
  std::string utf8 = korinui::WideToUtf8(text);
  pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
  if (f.style & (FontStyleUnderline | FontStyleStrikeout)) {
    PangoAttrList* attrs = pango_attr_list_new();
    if (f.style & FontStyleUnderline) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (f.style & FontStyleStrikeout) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
    pango_layout_set_attributes(layout, attrs);
    pango_attr_list_unref(attrs);
  }
  if (width > 0) {
    pango_layout_set_width(layout, width * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_alignment(layout, f.hAlign == 1 ? PANGO_ALIGN_CENTER
                                       : f.hAlign == 2 ? PANGO_ALIGN_RIGHT : PANGO_ALIGN_LEFT);
  }
  return layout;
}

PangoContext* MeasureContext() {
  // One per thread: pango contexts are not shared across threads.
  thread_local struct Holder {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(surface);
    PangoContext* ctx = pango_cairo_create_context(cr);
    ~Holder() {
      g_object_unref(ctx);
      cairo_destroy(cr);
      cairo_surface_destroy(surface);
    }
  } holder;
  return holder.ctx;
}

}  // namespace

Painter::Impl::~Impl() {
  if (pango) g_object_unref(reinterpret_cast<PangoContext*>(pango));
  if (cr) cairo_destroy(cr);
  if (surface) cairo_surface_destroy(surface);
}

void Painter::DrawText(const CString& text, const CRect& rect, const TextFormat& f, ARGB color) {
  cairo_t* cr = impl_->cr;
  if (!cr || text.empty() || rect.IsRectEmpty()) return;
  if (!impl_->pango) impl_->pango = pango_cairo_create_context(cr);
  auto* ctx = reinterpret_cast<PangoContext*>(impl_->pango);
  // Single lines are laid out unbounded and placed by alignment, so they never wrap.
  PangoLayout* layout = MakeLayout(ctx, text, f, f.wrap ? rect.Width() : -1);
  int w = 0, h = 0;
  pango_layout_get_pixel_size(layout, &w, &h);
  double x = rect.left, y = rect.top;
  if (!f.wrap) {
    if (f.hAlign == 1) x += (rect.Width() - w) / 2.0;
    else if (f.hAlign == 2) x += rect.Width() - w;
  }
  if (f.vAlign == 4) y += (rect.Height() - h) / 2.0;
  else if (f.vAlign == 8) y += rect.Height() - h;
  cairo_save(cr);
  cairo_rectangle(cr, rect.left, rect.top, rect.Width(), rect.Height());
  cairo_clip(cr);
  cairo_set_source_rgba(cr, ((color >> 16) & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                        (color & 0xFF) / 255.0, ((color >> 24) & 0xFF) / 255.0);
  cairo_move_to(cr, static_cast<int>(x), static_cast<int>(y));
  pango_cairo_update_context(cr, ctx);
  pango_cairo_show_layout(cr, layout);
  cairo_restore(cr);
  g_object_unref(layout);
}

CSize Painter::MeasureText(const CString& text, const TextFormat& f, int maxWidth) {
  if (text.empty()) return {};
  PangoLayout* layout = MakeLayout(MeasureContext(), text, f, maxWidth);
  int w = 0, h = 0;
  pango_layout_get_pixel_size(layout, &w, &h);
  g_object_unref(layout);
  return {w, h};
}
