// The busy picture "loading.gif": twelve dots chasing round a ring, one step per frame.
// The busy window's picture advances one frame every fifth 10 ms tick, so the frame
// delay written into the file (5 hundredths) matches the pace inside the program.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "GifEncoder.h"
#include "Skin.h"
#include "Style.h"

namespace skingen {
namespace {

using namespace style;

constexpr int kSize = 100;
constexpr int kFrames = 12;
constexpr int kDelayCentis = 5;

Surface LoadingFrame(int frame) {
  Surface s(kSize, kSize);
  Painter p(s);
  cairo_t* cr = p.Cr();
  p.Color(kBody);
  cairo_paint(cr);
  const double c = kSize / 2.0, ring = 30;
  for (int j = 0; j < kFrames; ++j) {
    const int behind = (frame - j + kFrames) % kFrames;  // 0 is the leading dot
    const double t = std::max(0.12, std::pow(1.0 - behind / static_cast<double>(kFrames), 1.6));
    const double a = 2 * M_PI * j / kFrames - M_PI / 2;
    p.Circle(c + ring * std::cos(a), c + ring * std::sin(a), behind == 0 ? 6 : 5);
    p.Color(kBody.Mix(kAccentHover, t));
    cairo_fill(cr);
  }
  return s;
}

}  // namespace

void DrawLoading(SkinOutput& out) {
  // Every pixel is a mix of the body colour and the accent, so a 256-step ramp between
  // the two represents the frames without visible banding.
  std::vector<PaletteColor> palette;
  std::vector<Rgb> ramp;
  for (int i = 0; i < 256; ++i) {
    const Rgb c = kBody.Mix(kAccentHover, i / 255.0);
    ramp.push_back(c);
    palette.push_back({static_cast<std::uint8_t>(std::lround(c.r * 255)),
                       static_cast<std::uint8_t>(std::lround(c.g * 255)),
                       static_cast<std::uint8_t>(std::lround(c.b * 255))});
  }
  std::vector<std::vector<std::uint8_t>> frames;
  auto preview = std::make_shared<Surface>(kSize * kFrames, kSize);
  Painter sheet(*preview);
  for (int f = 0; f < kFrames; ++f) {
    Surface s = LoadingFrame(f);
    cairo_set_source_surface(sheet.Cr(), s.Get(), f * kSize, 0);
    cairo_paint(sheet.Cr());
    std::vector<std::uint8_t> indices;
    indices.reserve(kSize * kSize);
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) {
        const std::uint32_t px = s.Pixel(x, y);
        const double r = ((px >> 16) & 0xFF) / 255.0, g = ((px >> 8) & 0xFF) / 255.0,
                     b = (px & 0xFF) / 255.0;
        int best = 0;
        double bestD = 1e9;
        for (int i = 0; i < 256; ++i) {
          const double d = (ramp[i].r - r) * (ramp[i].r - r) + (ramp[i].g - g) * (ramp[i].g - g) +
                           (ramp[i].b - b) * (ramp[i].b - b);
          if (d < bestD) {
            bestD = d;
            best = i;
          }
        }
        indices.push_back(static_cast<std::uint8_t>(best));
      }
    frames.push_back(std::move(indices));
  }
  const std::vector<std::uint8_t> gif = EncodeGif(kSize, kSize, palette, frames, kDelayCentis);
  out.SaveEncoded(std::string(SkinOutput::SkinFolder()) + "loading.gif", gif, kFrames, preview);
}

}  // namespace skingen
