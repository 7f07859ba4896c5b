// Push-button strips (normal, hover, pressed, disabled) and the 8-frame check and radio
// boxes (frames 0-3 unchecked, 4-7 checked, same state order).
#include <string>

#include "Glyphs.h"
#include "Skin.h"
#include "Strip.h"
#include "Style.h"

namespace skingen {
namespace {

using namespace style;

// A text button face, stretched or nine-gridded by the control over its rectangle.
void FaceFrame(const Painter& p, int state, double w, double h) {
  const double r = 4;
  switch (state) {
    case kHover:
      p.FillRoundRect(0, 0, w, h, r, kSurfaceHover);
      p.StrokeRoundRect(0, 0, w, h, r, 1, kAccent);
      break;
    case kPressed:
      p.FillRoundRect(0, 0, w, h, r, kAccent);
      p.StrokeRoundRect(0, 0, w, h, r, 1, kAccentPressed);
      break;
    case kDisabled:
      p.FillRoundRect(0, 0, w, h, r, kDisabledFill);
      p.StrokeRoundRect(0, 0, w, h, r, 1, kDisabledLine);
      break;
    default:
      p.FillRoundRect(0, 0, w, h, r, kSurface);
      p.StrokeRoundRect(0, 0, w, h, r, 1, kLine);
      break;
  }
  if (state != kDisabled && state != kPressed) {
    // A faint top light gives the face some depth without a gradient to stretch.
    cairo_rectangle(p.Cr(), r, 1, w - 2 * r, 1);
    p.Color(kWhite, 0.06);
    cairo_fill(p.Cr());
  }
}

// Window buttons of the title bands: glyph only until hovered.
void WindowButton(SkinOutput& out, const std::string& name, Glyph glyph, bool danger) {
  const int size = 30;
  Surface s = DrawStrip(size, size, 4, [&](const Painter& p, int state, double w, double h) {
    if (state == kHover) p.FillRoundRect(2, 2, w - 4, h - 4, 4, danger ? kAccent : kBand);
    if (state == kPressed) p.FillRoundRect(2, 2, w - 4, h - 4, 4, kAccentPressed);
    const Rgb c = state == kNormal ? kTextMuted : state == kDisabled ? kDisabledText : kWhite;
    DrawGlyph(p, glyph, 7, 7, 16, c, 1.0, 2.0);
  });
  out.SavePng(std::string(SkinOutput::SkinFolder()) + name, s, 4);
}

// Small square icon buttons of lists (20 x 20).
void IconButton(SkinOutput& out, const std::string& name, Glyph glyph) {
  const int size = 20;
  Surface s = DrawStrip(size, size, 4, [&](const Painter& p, int state, double w, double h) {
    if (state == kHover) p.FillRoundRect(0, 0, w, h, 3, kBand);
    if (state == kPressed) p.FillRoundRect(0, 0, w, h, 3, kAccent);
    const Rgb c = state == kNormal ? kTextMuted : state == kDisabled ? kDisabledText : kWhite;
    DrawGlyph(p, glyph, 2, 2, 16, c, 1.0, 2.2);
  });
  out.SavePng(std::string(SkinOutput::SkinFolder()) + name, s, 4);
}

Rgb CheckFill(int state) {
  switch (state) {
    case kHover: return kAccentHover;
    case kPressed: return kAccentPressed;
    case kDisabled: return kDisabledLine;
    default: return kAccent;
  }
}

Rgb UncheckedBorder(int state) {
  switch (state) {
    case kHover: return kAccent;
    case kPressed: return kAccentHover;
    case kDisabled: return kDisabledLine;
    default: return Rgb::Hex(0x7A7A7A);
  }
}

void CheckBoxes(SkinOutput& out) {
  Surface s = DrawStrip(20, 20, 8, [](const Painter& p, int frame, double, double) {
    const int state = frame % 4;
    const bool checked = frame >= 4;
    if (checked) {
      p.FillRoundRect(2, 2, 16, 16, 3, CheckFill(state));
      DrawGlyph(p, Glyph::Check, 2, 2, 16, state == kDisabled ? kDisabledText : kWhite, 1.0, 2.6);
    } else {
      p.FillRoundRect(2, 2, 16, 16, 3, state == kDisabled ? kDisabledFill : kField);
      p.StrokeRoundRect(2, 2, 16, 16, 3, 1.5, UncheckedBorder(state));
    }
  });
  out.SavePng(std::string(SkinOutput::SkinFolder()) + "btn_checkbox.png", s, 8);
}

void RadioBoxes(SkinOutput& out) {
  Surface s = DrawStrip(20, 20, 8, [](const Painter& p, int frame, double, double) {
    const int state = frame % 4;
    const bool checked = frame >= 4;
    cairo_t* cr = p.Cr();
    p.Circle(10, 10, 7.75);
    p.Color(state == kDisabled ? kDisabledFill : kField);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.5);
    p.Color(checked ? CheckFill(state) : UncheckedBorder(state));
    cairo_stroke(cr);
    if (checked) {
      p.Circle(10, 10, 4.2);
      p.Color(CheckFill(state));
      cairo_fill(cr);
    }
  });
  out.SavePng(std::string(SkinOutput::SkinFolder()) + "btn_radiobox.png", s, 8);
}

}  // namespace

void DrawButtons(SkinOutput& out) {
  const std::string skin = SkinOutput::SkinFolder();
  out.SavePng(skin + "btn_apply.png",
              DrawStrip(120, 36, 4, [](const Painter& p, int k, double w, double h) {
                FaceFrame(p, k, w, h);
              }),
              4);
  out.SavePng(skin + "btn_openfile.png",
              DrawStrip(30, 30, 4, [](const Painter& p, int k, double w, double h) {
                FaceFrame(p, k, w, h);
                DrawGlyph(p, Glyph::Folder, 6, 6, 18,
                          k == kDisabled ? kDisabledText : k == kNormal ? kTextMuted : kWhite);
              }),
              4);

  WindowButton(out, "main_sysbtn_close.png", Glyph::Close, true);
  WindowButton(out, "main_sysbtn_min.png", Glyph::Minimise, false);
  WindowButton(out, "main_sysbtn_website.png", Glyph::Globe, false);
  WindowButton(out, "sysbtn_close.png", Glyph::Close, true);

  IconButton(out, "imgbtn_add.png", Glyph::Plus);
  IconButton(out, "imgbtn_del.png", Glyph::Trash);
  IconButton(out, "imgbtn_edit.png", Glyph::Pencil);
  IconButton(out, "imgbtn_reset.png", Glyph::Reset);
  IconButton(out, "imgbtn_import.png", Glyph::Import);
  IconButton(out, "imgbtn_export.png", Glyph::Export);
  IconButton(out, "btn_record_del.png", Glyph::Trash);
  IconButton(out, "btn_record_up.png", Glyph::ChevronUp);
  IconButton(out, "btn_record_down.png", Glyph::ChevronDown);

  CheckBoxes(out);
  RadioBoxes(out);
}

}  // namespace skingen
