// Window and dialog backgrounds, the key tip window, its unused balloon arrows and the
// page logo.
#include <cmath>
#include <string>

#include "Logo.h"
#include "Skin.h"
#include "Strip.h"
#include "Style.h"

namespace skingen {
namespace {

using namespace style;

// Main window: a dark vertical gradient, a header band matching the translucent header
// bars, and a faint diagonal hatching so large empty pages do not look flat.
Surface MainBackground() {
  const int w = 1200, h = 720;
  Surface s(w, h);
  Painter p(s);
  cairo_t* cr = p.Cr();
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h);
  const Rgb top = Rgb::Hex(0x1C1C1C), bottom = Rgb::Hex(0x0C0C0C);
  cairo_pattern_add_color_stop_rgb(g, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(g, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, g);
  cairo_paint(cr);
  cairo_pattern_destroy(g);

  cairo_pattern_t* glow = cairo_pattern_create_radial(w / 2.0, 0, 0, w / 2.0, 0, 520);
  cairo_pattern_add_color_stop_rgba(glow, 0, kAccent.r, kAccent.g, kAccent.b, 0.07);
  cairo_pattern_add_color_stop_rgba(glow, 1, kAccent.r, kAccent.g, kAccent.b, 0.0);
  cairo_set_source(cr, glow);
  cairo_paint(cr);
  cairo_pattern_destroy(glow);

  p.Color(kWhite, 0.018);
  cairo_set_line_width(cr, 1);
  for (int x = -h; x < w; x += 16) {
    cairo_move_to(cr, x + 0.5, h);
    cairo_line_to(cr, x + h + 0.5, 0);
  }
  cairo_stroke(cr);

  cairo_rectangle(cr, 0, 0, w, 51);
  p.Color(kBand, 0.35);
  cairo_fill(cr);
  cairo_rectangle(cr, 0, 50, w, 1);
  p.Color(kAccent, 0.45);
  cairo_fill(cr);
  return s;
}

// Message box: drawn as a nine-grid with corner 30, so the title band is exactly one
// corner high and every edge detail lies inside the corner cells or the stretchable edges.
Surface PromptBackground() {
  const int w = 380, h = 200;
  Surface s(w, h);
  Painter p(s);
  cairo_t* cr = p.Cr();
  p.FillRoundRect(0, 0, w, h, 6, kBody);
  cairo_save(cr);
  p.RoundRect(0, 0, w, h, 6);
  cairo_clip(cr);
  cairo_rectangle(cr, 0, 0, w, 30);
  p.Color(kBand);
  cairo_fill(cr);
  cairo_rectangle(cr, 0, 0, w, 2);
  p.Color(kAccent);
  cairo_fill(cr);
  cairo_restore(cr);
  p.StrokeRoundRect(0, 0, w, h, 6, 1, kLine);
  return s;
}

// Key tip window: the same frame and body colours the tip paints itself, so the picture
// and the painted fallback agree; a short accent rule under the title.
Surface TipBackground() {
  const int w = 190, h = 100;
  Surface s(w, h);
  Painter p(s);
  cairo_t* cr = p.Cr();
  cairo_rectangle(cr, 0, 0, w, h);
  p.Color(kTipFrame);
  cairo_fill(cr);
  cairo_rectangle(cr, 1, 1, w - 2, h - 2);
  p.Color(kTipBody);
  cairo_fill(cr);
  cairo_rectangle(cr, 40, 34, w - 80, 1);
  p.Color(kAccent, 0.8);
  cairo_fill(cr);
  return s;
}

// Balloon arrows: a body-coloured triangle with the frame colour on its two outer sides.
Surface TipArrow(int w, int h, double ax, double ay, double bx, double by, double cx, double cy) {
  Surface s(w, h);
  Painter p(s);
  cairo_t* cr = p.Cr();
  cairo_move_to(cr, ax, ay);
  cairo_line_to(cr, bx, by);
  cairo_line_to(cr, cx, cy);
  cairo_close_path(cr);
  p.Color(kTipBody);
  cairo_fill(cr);
  cairo_move_to(cr, ax, ay);
  cairo_line_to(cr, bx, by);
  cairo_line_to(cr, cx, cy);
  p.Color(kTipFrame);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  return s;
}

}  // namespace

void DrawPanels(SkinOutput& out) {
  const std::string skin = SkinOutput::SkinFolder();
  out.SavePng(skin + "main_bkg.png", MainBackground(), 1);
  out.SavePng(skin + "bk_prompt.png", PromptBackground(), 1);
  out.SavePng(skin + "img_tip_bk.png", TipBackground(), 1);
  out.SavePng(skin + "img_tip_arrow_left.png", TipArrow(8, 16, 8, 0, 0.5, 8, 8, 16), 1);
  out.SavePng(skin + "img_tip_arrow_right.png", TipArrow(8, 16, 0, 0, 7.5, 8, 0, 16), 1);
  out.SavePng(skin + "img_tip_arrow_top.png", TipArrow(16, 8, 0, 8, 8, 0.5, 16, 8), 1);

  Surface logo(48, 48);
  {
    Painter p(logo);
    DrawLogo(p, 0, 0, 48);
  }
  out.SavePng(skin + "logo/logo.png", logo, 1);
}

}  // namespace skingen
