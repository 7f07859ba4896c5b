#include "Glyphs.h"

#include <cmath>
#include <initializer_list>
#include <utility>

namespace skingen {
namespace {

using Pt = std::pair<double, double>;

void Poly(cairo_t* cr, std::initializer_list<Pt> pts, bool close = false) {
  bool first = true;
  for (const auto& [px, py] : pts) {
    if (first) cairo_move_to(cr, px, py); else cairo_line_to(cr, px, py);
    first = false;
  }
  if (close) cairo_close_path(cr);
}

void Line(cairo_t* cr, double x1, double y1, double x2, double y2) {
  cairo_move_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
}

void Stroke(cairo_t* cr) { cairo_stroke(cr); }
void Fill(cairo_t* cr) { cairo_fill(cr); }

void Disc(cairo_t* cr, double cx, double cy, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_fill(cr);
}

void Ring(cairo_t* cr, double cx, double cy, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_stroke(cr);
}

// Filled arrow head with its tip at (x, y) pointing along (dx, dy).
void ArrowHead(cairo_t* cr, double x, double y, double dx, double dy, double size) {
  const double len = std::hypot(dx, dy);
  dx /= len;
  dy /= len;
  const double bx = x - dx * size, by = y - dy * size;
  const double nx = -dy * size * 0.7, ny = dx * size * 0.7;
  Poly(cr, {{x, y}, {bx + nx, by + ny}, {bx - nx, by - ny}}, true);
  cairo_fill(cr);
}

// A circular arrow running clockwise with its head near the top, pointing right.
void CircularArrow(cairo_t* cr) {
  const double cx = 12, cy = 13, r = 6.8;
  const double a0 = M_PI * 0.12, a1 = M_PI * 1.58;
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, a0, a1);
  Stroke(cr);
  const double dx = -std::sin(a1), dy = std::cos(a1);
  const double ex = cx + r * std::cos(a1), ey = cy + r * std::sin(a1);
  ArrowHead(cr, ex + dx * 3.2, ey + dy * 3.2, dx, dy, 6.0);
}

void Speaker(cairo_t* cr) {
  Poly(cr, {{3, 9.5}, {7, 9.5}, {12, 5}, {12, 19}, {7, 14.5}, {3, 14.5}}, true);
  Fill(cr);
}

void House(cairo_t* cr) {
  Poly(cr, {{3, 11.5}, {12, 3.5}, {21, 11.5}});
  Stroke(cr);
  Poly(cr, {{5.5, 9.5}, {5.5, 20.5}, {18.5, 20.5}, {18.5, 9.5}});
  Stroke(cr);
  Poly(cr, {{10, 20.5}, {10, 14.5}, {14, 14.5}, {14, 20.5}});
  Stroke(cr);
}

void GearShape(cairo_t* cr) {
  const int teeth = 8;
  const double cx = 12, cy = 12, outer = 10.2, inner = 7.6;
  for (int i = 0; i < teeth; ++i) {
    const double a = 2 * M_PI * i / teeth;
    const double half = M_PI / teeth;
    const double pts[4][2] = {{inner, a - half * 0.95}, {outer, a - half * 0.45},
                              {outer, a + half * 0.45}, {inner, a + half * 0.95}};
    for (int k = 0; k < 4; ++k) {
      const double px = cx + pts[k][0] * std::cos(pts[k][1]);
      const double py = cy + pts[k][0] * std::sin(pts[k][1]);
      if (i == 0 && k == 0) cairo_move_to(cr, px, py); else cairo_line_to(cr, px, py);
    }
  }
  cairo_close_path(cr);
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, 3.4, 0, 2 * M_PI);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  Fill(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
}

void DrawDesign(const Painter& p, Glyph glyph) {
  cairo_t* cr = p.Cr();
  switch (glyph) {
    case Glyph::Home:
      House(cr);
      break;
    case Glyph::Keyboard:
      p.RoundRect(2, 6, 20, 12.5, 2.2);
      Stroke(cr);
      for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 5; ++col) {
          cairo_rectangle(cr, 4.6 + col * 3.25, 8.6 + row * 3.2, 1.8, 1.8);
          Fill(cr);
        }
      Line(cr, 7.5, 15.6, 16.5, 15.6);
      Stroke(cr);
      break;
    case Glyph::Macro:
      Disc(cr, 6.5, 12, 3.6);
      Line(cr, 13, 7.5, 21, 7.5);
      Line(cr, 13, 12, 21, 12);
      Line(cr, 13, 16.5, 18.5, 16.5);
      Stroke(cr);
      break;
    case Glyph::Light:
      Ring(cr, 12, 12, 4.2);
      for (int i = 0; i < 8; ++i) {
        const double a = M_PI / 4 * i;
        Line(cr, 12 + 7 * std::cos(a), 12 + 7 * std::sin(a), 12 + 10 * std::cos(a),
             12 + 10 * std::sin(a));
      }
      Stroke(cr);
      break;
    case Glyph::Gear:
      GearShape(cr);
      break;
    case Glyph::Pc:
      p.RoundRect(3, 4, 18, 12, 1.5);
      Stroke(cr);
      Line(cr, 12, 16, 12, 19.5);
      Line(cr, 8, 20, 16, 20);
      Stroke(cr);
      break;
    case Glyph::Calculator:
      p.RoundRect(5, 2.5, 14, 19, 2);
      Stroke(cr);
      cairo_rectangle(cr, 8, 5.6, 8, 3);
      Fill(cr);
      for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) Disc(cr, 8.75 + c * 3.25, 12.5 + r * 3, 1.0);
      break;
    case Glyph::Mail:
      p.RoundRect(3, 5.5, 18, 13, 1.5);
      Stroke(cr);
      Poly(cr, {{4, 7}, {12, 13}, {20, 7}});
      Stroke(cr);
      break;
    case Glyph::Music:
      Line(cr, 9, 17, 9, 6.5);
      Line(cr, 18, 15, 18, 4.5);
      Stroke(cr);
      cairo_set_line_width(cr, 2.8);
      Line(cr, 9, 6.5, 18, 4.5);
      Stroke(cr);
      Disc(cr, 6.6, 17.3, 2.7);
      Disc(cr, 15.6, 15.3, 2.7);
      break;
    case Glyph::PlayPause:
      Poly(cr, {{3.5, 5}, {3.5, 19}, {12, 12}}, true);
      Fill(cr);
      cairo_rectangle(cr, 14, 5, 2.6, 14);
      cairo_rectangle(cr, 18.4, 5, 2.6, 14);
      Fill(cr);
      break;
    case Glyph::Stop:
      p.RoundRect(6, 6, 12, 12, 1.5);
      Fill(cr);
      break;
    case Glyph::Prev:
      cairo_rectangle(cr, 4, 6, 2.4, 12);
      Fill(cr);
      Poly(cr, {{13, 6}, {13, 18}, {6.8, 12}}, true);
      Poly(cr, {{20, 6}, {20, 18}, {13.8, 12}}, true);
      Fill(cr);
      break;
    case Glyph::Next:
      cairo_rectangle(cr, 17.6, 6, 2.4, 12);
      Fill(cr);
      Poly(cr, {{11, 6}, {11, 18}, {17.2, 12}}, true);
      Poly(cr, {{4, 6}, {4, 18}, {10.2, 12}}, true);
      Fill(cr);
      break;
    case Glyph::VolDown:
      Speaker(cr);
      Line(cr, 15.5, 12, 21, 12);
      Stroke(cr);
      break;
    case Glyph::VolUp:
      Speaker(cr);
      cairo_new_sub_path(cr);
      cairo_arc(cr, 12, 12, 4.2, -M_PI / 4, M_PI / 4);
      Stroke(cr);
      cairo_new_sub_path(cr);
      cairo_arc(cr, 12, 12, 8.2, -M_PI / 3.5, M_PI / 3.5);
      Stroke(cr);
      break;
    case Glyph::Mute:
      Speaker(cr);
      Line(cr, 15, 9, 21, 15);
      Line(cr, 21, 9, 15, 15);
      Stroke(cr);
      break;
    case Glyph::Refresh:
      CircularArrow(cr);
      break;
    case Glyph::Reset:
      cairo_translate(cr, 24, 0);
      cairo_scale(cr, -1, 1);
      CircularArrow(cr);
      break;
    case Glyph::WebStop:
      Ring(cr, 12, 12, 8.5);
      Line(cr, 8.8, 8.8, 15.2, 15.2);
      Line(cr, 15.2, 8.8, 8.8, 15.2);
      Stroke(cr);
      break;
    case Glyph::Back:
      Ring(cr, 12, 12, 8.5);
      Line(cr, 16.5, 12, 8, 12);
      Stroke(cr);
      Poly(cr, {{11.3, 8.4}, {7.7, 12}, {11.3, 15.6}});
      Stroke(cr);
      break;
    case Glyph::Forward:
      Ring(cr, 12, 12, 8.5);
      Line(cr, 7.5, 12, 16, 12);
      Stroke(cr);
      Poly(cr, {{12.7, 8.4}, {16.3, 12}, {12.7, 15.6}});
      Stroke(cr);
      break;
    case Glyph::Search:
      Ring(cr, 10, 10, 6);
      cairo_set_line_width(cr, cairo_get_line_width(cr) * 1.3);
      Line(cr, 14.6, 14.6, 20.5, 20.5);
      Stroke(cr);
      break;
    case Glyph::Close:
    case Glyph::Cross:
      Line(cr, 6.5, 6.5, 17.5, 17.5);
      Line(cr, 17.5, 6.5, 6.5, 17.5);
      Stroke(cr);
      break;
    case Glyph::Minimise:
      Line(cr, 6.5, 13, 17.5, 13);
      Stroke(cr);
      break;
    case Glyph::Globe:
      Ring(cr, 12, 12, 8.5);
      cairo_save(cr);
      cairo_translate(cr, 12, 12);
      cairo_scale(cr, 0.42, 1);
      cairo_new_sub_path(cr);
      cairo_arc(cr, 0, 0, 8.5, 0, 2 * M_PI);
      cairo_restore(cr);
      Stroke(cr);
      Line(cr, 3.5, 12, 20.5, 12);
      Line(cr, 5, 7.8, 19, 7.8);
      Line(cr, 5, 16.2, 19, 16.2);
      Stroke(cr);
      break;
    case Glyph::Plus:
      Line(cr, 12, 5, 12, 19);
      Line(cr, 5, 12, 19, 12);
      Stroke(cr);
      break;
    case Glyph::Trash:
      Line(cr, 4, 6.5, 20, 6.5);
      Stroke(cr);
      Poly(cr, {{9.5, 6.5}, {9.5, 3.8}, {14.5, 3.8}, {14.5, 6.5}});
      Stroke(cr);
      Poly(cr, {{6.2, 6.5}, {7.2, 20}, {16.8, 20}, {17.8, 6.5}});
      Stroke(cr);
      Line(cr, 10.2, 10, 10.2, 16.5);
      Line(cr, 13.8, 10, 13.8, 16.5);
      Stroke(cr);
      break;
    case Glyph::Pencil:
      Poly(cr, {{15.5, 4.5}, {19.5, 8.5}, {8.5, 19.5}, {4, 20}, {4.5, 15.5}}, true);
      Stroke(cr);
      Line(cr, 13, 7, 17, 11);
      Stroke(cr);
      break;
    case Glyph::Import:
      Poly(cr, {{4, 14}, {4, 20}, {20, 20}, {20, 14}});
      Stroke(cr);
      Line(cr, 12, 3.5, 12, 14.5);
      Stroke(cr);
      Poly(cr, {{8, 10.5}, {12, 14.5}, {16, 10.5}});
      Stroke(cr);
      break;
    case Glyph::Export:
      Poly(cr, {{4, 14}, {4, 20}, {20, 20}, {20, 14}});
      Stroke(cr);
      Line(cr, 12, 15, 12, 4);
      Stroke(cr);
      Poly(cr, {{8, 8}, {12, 4}, {16, 8}});
      Stroke(cr);
      break;
    case Glyph::Folder:
      Poly(cr, {{3, 6}, {3, 19}, {21, 19}, {21, 8.5}, {11.5, 8.5}, {9.5, 5.5}, {3.5, 5.5}}, true);
      Stroke(cr);
      Line(cr, 3, 11, 21, 11);
      Stroke(cr);
      break;
    case Glyph::ChevronUp:
      Poly(cr, {{6, 15}, {12, 9}, {18, 15}});
      Stroke(cr);
      break;
    case Glyph::ChevronDown:
      Poly(cr, {{6, 9}, {12, 15}, {18, 9}});
      Stroke(cr);
      break;
    case Glyph::Check:
      Poly(cr, {{5.5, 12.5}, {10, 17}, {18.5, 7.5}});
      Stroke(cr);
      break;
  }
}

}  // namespace

void DrawGlyph(const Painter& p, Glyph glyph, double x, double y, double size, const Rgb& colour,
               double alpha, double pen) {
  cairo_t* cr = p.Cr();
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, size / 24.0, size / 24.0);
  p.Color(colour, alpha);
  cairo_set_line_width(cr, pen);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_new_path(cr);
  DrawDesign(p, glyph);
  cairo_restore(cr);
}

}  // namespace skingen
