// Keyboard pictures drawn from a layout's key rectangles, so picture and keys agree.
// Each key gets a lit rim on its rectangle's edge, exactly where the on-screen keyboard
// draws its per-key outlines: the preview's black outlines dim that rim, the coloured
// outlines of user light and music modes replace it.
#pragma once

#include "Canvas.h"
#include "LayoutReader.h"

namespace skingen {

// Colours the keyboard picture uses; tests check the picture against them.
struct KeyboardColours {
  Rgb chassis;
  Rgb cap;
  Rgb rim;
  double rimAlpha;
};
KeyboardColours KeyboardPalette();

// The layout's picture, layout.width x layout.height pixels.
Surface DrawKeyboardPicture(const KeyboardLayout& layout);

}  // namespace skingen
