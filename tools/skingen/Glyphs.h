// Line-art pictograms drawn on a 24 x 24 design grid and scaled to any box, so one
// drawing serves the 20-pixel function icons, the 60-pixel tabs and the 48-pixel page icons.
#pragma once

#include "Canvas.h"

namespace skingen {

enum class Glyph {
  Home, Keyboard, Macro, Light, Gear,                          // tabs and page icons
  Pc, Calculator, Mail, Music, PlayPause, Stop, Prev, Next,    // key functions
  VolDown, VolUp, Mute, Refresh, WebStop, Back, Forward, Search,
  Close, Minimise, Globe,                                      // window buttons
  Plus, Trash, Pencil, Reset, Import, Export, Folder,          // list and dialog buttons
  ChevronUp, ChevronDown, Check, Cross,
};

// Draws `glyph` in colour into the square box (x, y, size, size). `pen` is the stroke
// width in design units (the grid is 24 units wide).
void DrawGlyph(const Painter& p, Glyph glyph, double x, double y, double size, const Rgb& colour,
               double alpha = 1.0, double pen = 2.0);

}  // namespace skingen
