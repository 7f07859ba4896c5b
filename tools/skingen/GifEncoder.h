// A minimal GIF89a writer: one global palette of up to 256 colours, full-size frames,
// a fixed delay and an endless loop. Enough for the skin's animated pictures.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace skingen {

using PaletteColor = std::array<std::uint8_t, 3>;  // r, g, b

// LZW-compresses palette indices as GIF image data (without the code-size byte and
// without sub-block framing). `minCodeSize` is 2..8; every index must be below
// 1 << minCodeSize.
std::vector<std::uint8_t> LzwEncode(const std::vector<std::uint8_t>& indices, int minCodeSize);

// Builds a complete looping GIF file. Each frame holds width * height palette indices.
// `delayCentis` is the display time of each frame in hundredths of a second. Returns an
// empty vector when the arguments are inconsistent (no frames, wrong frame size, more
// than 256 colours, sizes outside 1..65535).
std::vector<std::uint8_t> EncodeGif(int width, int height, const std::vector<PaletteColor>& palette,
                                    const std::vector<std::vector<std::uint8_t>>& frames,
                                    int delayCentis);

}  // namespace skingen
