// Text for the generated pictures (key legends, contact sheet labels), through pango.
#pragma once

#include <string>

#include "Canvas.h"

namespace skingen {

struct TextStyle {
  const char* family = "Open Sans";
  double pixels = 11;
  bool bold = false;
  Rgb colour = Rgb::Hex(0xE6E6E6);
  double alpha = 1.0;
};

// Draws UTF-8 text centred in the box. When it is wider than the box, the size shrinks
// step by step down to `minPixels`; below that it wraps onto lines and is cut with an
// ellipsis if it still does not fit. Returns the size used.
double DrawFittedText(const Painter& p, const std::string& utf8, double x, double y, double w,
                      double h, TextStyle style, double minPixels);

// Draws UTF-8 text left-aligned at (x, y) on one line, cut with an ellipsis at width w.
void DrawLabel(const Painter& p, const std::string& utf8, double x, double y, double w,
               const TextStyle& style);

}  // namespace skingen
