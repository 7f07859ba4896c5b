// The Keystrel mark: a stylised K on an orange hexagon. Shared by the page logo and the
// program icon so both always match.
#pragma once

#include "Canvas.h"

namespace skingen {

// Draws the mark into the square box (x, y, size, size).
void DrawLogo(const Painter& p, double x, double y, double size);

}  // namespace skingen
