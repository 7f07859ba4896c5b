// Tab strips of the main window (4 frames of 60 x 60), page icons (48 x 48) and the
// seventeen key function icons (20 x 20, drawn at their natural size by the picker).
#include <string>
#include <utility>

#include "Glyphs.h"
#include "Skin.h"
#include "Strip.h"
#include "Style.h"

namespace skingen {
namespace {

using namespace style;

void TabFrame(const Painter& p, Glyph glyph, int state, double w, double h) {
  cairo_t* cr = p.Cr();
  Rgb glyphColour = kTextMuted;
  if (state == kHover) {
    cairo_rectangle(cr, 0, 0, w, h);
    p.Color(kBand, 0.55);
    cairo_fill(cr);
    glyphColour = kWhite;
  } else if (state == kPressed) {  // the selected tab
    cairo_rectangle(cr, 0, 0, w, h);
    p.Color(kBand, 0.8);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, 0, 3, h);
    p.Color(kAccent);
    cairo_fill(cr);
    glyphColour = kAccentHover;
  } else if (state == kDisabled) {
    glyphColour = kDisabledText;
  }
  // The glyph sits above the middle so a short caption fits underneath.
  DrawGlyph(p, glyph, (w - 28) / 2, 10, 28, glyphColour, 1.0, 1.8);
}

}  // namespace

void DrawIcons(SkinOutput& out) {
  const std::string icons = std::string(SkinOutput::SkinFolder()) + "icon/";
  const std::pair<const char*, Glyph> tabs[] = {
      {"tab_home.png", Glyph::Home},   {"tab_customkey.png", Glyph::Keyboard},
      {"tab_macro.png", Glyph::Macro}, {"tab_light.png", Glyph::Light},
      {"tab_config.png", Glyph::Gear},
  };
  for (const auto& [name, glyph] : tabs) {
    const Glyph g = glyph;
    out.SavePng(icons + name,
                DrawStrip(60, 60, 4, [g](const Painter& p, int k, double w, double h) {
                  TabFrame(p, g, k, w, h);
                }),
                4);
  }

  const std::pair<const char*, Glyph> pages[] = {
      {"icon_keyboard.png", Glyph::Keyboard}, {"icon_macro.png", Glyph::Macro},
      {"icon_lightmode.png", Glyph::Light},   {"icon_config.png", Glyph::Gear},
  };
  for (const auto& [name, glyph] : pages) {
    const Glyph g = glyph;
    out.SavePng(icons + name, DrawStrip(48, 48, 1, [g](const Painter& p, int, double, double) {
                  DrawGlyph(p, g, 8, 8, 32, kAccentHover, 1.0, 1.8);
                }),
                1);
  }

  const std::pair<const char*, Glyph> functions[] = {
      {"icon_pc.png", Glyph::Pc},
      {"icon_cal.png", Glyph::Calculator},
      {"icon_email.png", Glyph::Mail},
      {"icon_multimedia.png", Glyph::Music},
      {"icon_playpause.png", Glyph::PlayPause},
      {"icon_stop.png", Glyph::Stop},
      {"icon_pre.png", Glyph::Prev},
      {"icon_next.png", Glyph::Next},
      {"icon_vol_down.png", Glyph::VolDown},
      {"icon_vol_up.png", Glyph::VolUp},
      {"icon_vol_mute.png", Glyph::Mute},
      {"icon_home.png", Glyph::Home},
      {"icon_web_refresh.png", Glyph::Refresh},
      {"icon_web_stop.png", Glyph::WebStop},
      {"icon_web_backward.png", Glyph::Back},
      {"icon_web_foreward.png", Glyph::Forward},
      {"icon_web_search.png", Glyph::Search},
  };
  for (const auto& [name, glyph] : functions) {
    const Glyph g = glyph;
    out.SavePng(icons + name, DrawStrip(20, 20, 1, [g](const Painter& p, int, double, double) {
                  DrawGlyph(p, g, 0, 0, 20, Rgb::Hex(0xDCDCDC), 1.0, 1.9);
                }),
                1);
  }
}

}  // namespace skingen
