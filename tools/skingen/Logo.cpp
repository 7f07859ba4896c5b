#include "Logo.h"

#include <cmath>

#include "Style.h"

namespace skingen {

void DrawLogo(const Painter& p, double x, double y, double size) {
  cairo_t* cr = p.Cr();
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, size / 48.0, size / 48.0);

  // Hexagon with flat left and right sides, slightly rounded by a round line join.
  cairo_new_path(cr);
  for (int i = 0; i < 6; ++i) {
    const double a = M_PI / 3 * i + M_PI / 6;
    const double px = 24 + 20.5 * std::cos(a), py = 24 + 20.5 * std::sin(a);
    if (i == 0) cairo_move_to(cr, px, py); else cairo_line_to(cr, px, py);
  }
  cairo_close_path(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 3, 0, 45);
  cairo_pattern_add_color_stop_rgb(g, 0, style::kAccentHover.r, style::kAccentHover.g,
                                   style::kAccentHover.b);
  cairo_pattern_add_color_stop_rgb(g, 1, style::kAccentPressed.r, style::kAccentPressed.g,
                                   style::kAccentPressed.b);
  cairo_set_source(cr, g);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, 4);
  cairo_fill_preserve(cr);
  cairo_stroke(cr);
  cairo_pattern_destroy(g);

  // The K: stem plus two strokes, the upper one swept like a wing.
  p.Color(style::kWhite);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, 5);
  cairo_move_to(cr, 17.5, 13);
  cairo_line_to(cr, 17.5, 35);
  cairo_stroke(cr);
  cairo_move_to(cr, 32, 12.5);
  cairo_curve_to(cr, 27, 17, 23, 20.5, 19.5, 24);
  cairo_line_to(cr, 32.5, 35.5);
  cairo_stroke(cr);
  cairo_restore(cr);
}

}  // namespace skingen
