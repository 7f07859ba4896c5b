// The skin's palette: one dark theme built on the program's own colours (orange select
// colour 0xCA5100, bands of 0x373737, light grey text). Every piece of art takes its
// colours from here so the skin can be re-tinted in one place.
#pragma once

#include "Canvas.h"

namespace skingen::style {

inline constexpr Rgb kAccent = Rgb::Hex(0xCA5100);         // select colour of the toolkit
inline constexpr Rgb kAccentHover = Rgb::Hex(0xE2681E);
inline constexpr Rgb kAccentPressed = Rgb::Hex(0xA24100);
inline constexpr Rgb kBand = Rgb::Hex(0x373737);           // header bars and dialog bands
inline constexpr Rgb kSurface = Rgb::Hex(0x2A2A2A);        // raised faces (buttons)
inline constexpr Rgb kSurfaceHover = Rgb::Hex(0x333333);
inline constexpr Rgb kBody = Rgb::Hex(0x181818);           // window and panel bodies
inline constexpr Rgb kDeep = Rgb::Hex(0x0E0E0E);
inline constexpr Rgb kField = Rgb::Hex(0x080808);          // edit boxes (their background colour)
inline constexpr Rgb kLine = Rgb::Hex(0x4A4A4A);           // neutral borders
inline constexpr Rgb kLineSoft = Rgb::Hex(0x333333);
inline constexpr Rgb kText = Rgb::Hex(0xE6E6E6);
inline constexpr Rgb kTextMuted = Rgb::Hex(0xADADAD);
inline constexpr Rgb kDisabledLine = Rgb::Hex(0x3A3A3A);
inline constexpr Rgb kDisabledFill = Rgb::Hex(0x202020);
inline constexpr Rgb kDisabledText = Rgb::Hex(0x5C5C5C);
inline constexpr Rgb kTipFrame = Rgb::Hex(0x505050);       // key tip window frame and body
inline constexpr Rgb kTipBody = Rgb::Hex(0x141414);
inline constexpr Rgb kWhite = Rgb::Hex(0xFFFFFF);

// Frame order of every push-button strip: the toolkit uses the button state as index.
enum ButtonState { kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3 };

// Glyph colour of icon-only buttons in each state.
inline Rgb GlyphColor(int state) {
  switch (state) {
    case kHover: return kWhite;
    case kPressed: return kAccentHover;
    case kDisabled: return kDisabledText;
    default: return kTextMuted;
  }
}

}  // namespace skingen::style
