#include "KeyboardArt.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <system_error>
#include <vector>

#include "Skin.h"
#include "Style.h"
#include "TextArt.h"

namespace skingen {
namespace {

constexpr double kPad = 10;  // chassis margin around the keys

bool SameKeys(const KeyboardLayout& a, const KeyboardLayout& b) {
  if (a.width != b.width || a.height != b.height || a.keys.size() != b.keys.size()) return false;
  for (std::size_t i = 0; i < a.keys.size(); ++i) {
    const LayoutKey &p = a.keys[i], &q = b.keys[i];
    if (p.x != q.x || p.y != q.y || p.w != q.w || p.h != q.h || p.name != q.name) return false;
  }
  return true;
}

// The control rounds its outlines with radii of a twenty-fourth of the key's sides.
double OutlineRadius(const LayoutKey& k) { return std::min(k.w, k.h) / 24.0; }

void DrawKey(const Painter& p, const LayoutKey& k, const KeyboardColours& c) {
  cairo_t* cr = p.Cr();
  p.StrokeRoundRect(k.x - 1, k.y - 1, k.w + 2, k.h + 2, OutlineRadius(k) + 1, 2, c.rim, c.rimAlpha);

  const double x = k.x + 2, y = k.y + 2, w = k.w - 4, h = k.h - 4;
  if (w <= 2 || h <= 2) return;
  const double r = std::min(4.0, std::min(w, h) / 6);
  p.FillRoundRect(x, y, w, h, r, style::kDeep);
  // Cap top: lighter, set back more at the bottom, as a sculpted keycap shows.
  const double inset = std::min(3.0, std::min(w, h) / 8);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h);
  const Rgb hi = c.cap.Mix(style::kWhite, 0.05), lo = c.cap.Mix(style::kDeep, 0.25);
  cairo_pattern_add_color_stop_rgb(g, 0, hi.r, hi.g, hi.b);
  cairo_pattern_add_color_stop_rgb(g, 1, lo.r, lo.g, lo.b);
  p.RoundRect(x + inset * 0.6, y + inset * 0.4, w - 1.2 * inset, h - 1.6 * inset, r);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);

  if (k.name.empty()) return;
  TextStyle legend;
  legend.family = "Open Sans";
  legend.bold = true;
  // One size for single characters and one for words, so rows look even; only names
  // that do not fit at the word size shrink further.
  const bool word = k.name.size() > 1 && static_cast<unsigned char>(k.name[0]) < 0x80;
  legend.pixels = word ? 9.5 : 11;
  legend.colour = Rgb::Hex(0xDCDCDC);
  DrawFittedText(p, k.name, x + 1, y + inset * 0.4, w - 2, h - 1.6 * inset, legend, 7);
}

}  // namespace

KeyboardColours KeyboardPalette() {
  return {Rgb::Hex(0x1A1A1A), Rgb::Hex(0x2E2E2E), Rgb::Hex(0xE8E8E8), 0.55};
}

Surface DrawKeyboardPicture(const KeyboardLayout& layout) {
  Surface s(layout.width, layout.height);
  Painter p(s);
  cairo_t* cr = p.Cr();
  const KeyboardColours c = KeyboardPalette();
  if (!layout.keys.empty()) {
    double minX = layout.width, minY = layout.height, maxX = 0, maxY = 0;
    for (const LayoutKey& k : layout.keys) {
      minX = std::min<double>(minX, k.x);
      minY = std::min<double>(minY, k.y);
      maxX = std::max<double>(maxX, k.x + k.w);
      maxY = std::max<double>(maxY, k.y + k.h);
    }
    const double x0 = std::max(0.0, minX - kPad), y0 = std::max(0.0, minY - kPad);
    const double x1 = std::min<double>(layout.width, maxX + kPad);
    const double y1 = std::min<double>(layout.height, maxY + kPad);
    p.FillRoundRect(x0, y0, x1 - x0, y1 - y0, 8, c.chassis);
    p.StrokeRoundRect(x0, y0, x1 - x0, y1 - y0, 8, 1, style::kLine);
    // A thin light bar along the top edge, the keyboard's own accent.
    cairo_rectangle(cr, x0 + 16, y0 + 1, std::max(0.0, x1 - x0 - 32), 1);
    p.Color(style::kAccent, 0.7);
    cairo_fill(cr);
  }
  for (const LayoutKey& k : layout.keys)
    if (k.w > 0 && k.h > 0) DrawKey(p, k, c);
  return s;
}

int DrawKeyboards(SkinOutput& out, const std::string& layoutFolder) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(layoutFolder, ec))
    if (entry.path().extension() == ".xml") files.push_back(entry.path());
  if (ec) {
    std::fprintf(stderr, "skingen: cannot list %s: %s\n", layoutFolder.c_str(), ec.message().c_str());
    out.MarkFailed();
    return 0;
  }
  std::sort(files.begin(), files.end());
  std::map<std::string, KeyboardLayout> drawn;  // image name -> the layout it was drawn from
  int count = 0;
  for (const auto& file : files) {
    KeyboardLayout layout;
    std::string error;
    if (!ReadKeyboardLayout(file.string(), layout, error)) {
      std::fprintf(stderr, "skingen: %s: %s\n", file.c_str(), error.c_str());
      out.MarkFailed();
      continue;
    }
    for (const LayoutKey& k : layout.keys)
      if (k.w <= 0 || k.h <= 0 || k.x < 0 || k.y < 0 || k.x + k.w > layout.width ||
          k.y + k.h > layout.height)
        std::fprintf(stderr, "skingen: %s: key \"%s\" (%d#%d#%d#%d) lies outside the %dx%d picture\n",
                     file.c_str(), k.name.c_str(), k.x, k.y, k.w, k.h, layout.width, layout.height);
    if (auto it = drawn.find(layout.image); it != drawn.end()) {
      if (!SameKeys(it->second, layout)) {
        std::fprintf(stderr, "skingen: %s: picture %s is shared with another layout of different keys\n",
                     file.c_str(), layout.image.c_str());
        out.MarkFailed();
      }
      continue;
    }
    out.SavePng(std::string(SkinOutput::SkinFolder()) + "keyboard/" + layout.image,
                DrawKeyboardPicture(layout), 1);
    drawn.emplace(layout.image, layout);
    ++count;
  }
  return count;
}

}  // namespace skingen
