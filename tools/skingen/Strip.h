// State strips: N frames of one size side by side, frame k at x = k * frame width.
#pragma once

#include <functional>

#include "Canvas.h"

namespace skingen {

// Draws one frame; the painter is translated to the frame's top left and clipped to it.
using FrameArt = std::function<void(const Painter& p, int frame, double width, double height)>;

Surface DrawStrip(int frameWidth, int frameHeight, int frames, const FrameArt& art);

}  // namespace skingen
