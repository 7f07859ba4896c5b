#include "Strip.h"

namespace skingen {

Surface DrawStrip(int frameWidth, int frameHeight, int frames, const FrameArt& art) {
  Surface strip(frameWidth * frames, frameHeight);
  Painter p(strip);
  for (int k = 0; k < frames; ++k) {
    cairo_save(p.Cr());
    cairo_translate(p.Cr(), static_cast<double>(k) * frameWidth, 0);
    cairo_rectangle(p.Cr(), 0, 0, frameWidth, frameHeight);
    cairo_clip(p.Cr());
    cairo_new_path(p.Cr());
    art(p, k, frameWidth, frameHeight);
    cairo_restore(p.Cr());
  }
  return strip;
}

}  // namespace skingen
