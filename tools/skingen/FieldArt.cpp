// Input faces: combo box, edit box, slider track and thumb, device selector rows,
// list row strip and the key function picker's panel.
#include <string>

#include "Glyphs.h"
#include "Skin.h"
#include "Strip.h"
#include "Style.h"

namespace skingen {
namespace {

using namespace style;

Rgb FieldBorder(int state) {
  switch (state) {
    case kHover: return Rgb::Hex(0x6E6E6E);
    case kPressed: return kAccent;
    case kDisabled: return kDisabledLine;
    default: return kLine;
  }
}

void ComboFrame(const Painter& p, int state, double w, double h) {
  p.FillRoundRect(0, 0, w, h, 4, state == kDisabled ? kDisabledFill : kSurface);
  p.StrokeRoundRect(0, 0, w, h, 4, 1, state == kHover ? kAccent : FieldBorder(state));
  // The drop-down arrow sits in the right corner cell so a nine-grid keeps its shape.
  const double box = 14;
  const Glyph chevron = state == kPressed ? Glyph::ChevronUp : Glyph::ChevronDown;
  const Rgb c = state == kDisabled ? kDisabledText : state == kNormal ? kTextMuted : kWhite;
  DrawGlyph(p, chevron, w - box - 8, (h - box) / 2, box, c, 1.0, 2.4);
}

void EditFrame(const Painter& p, int state, double w, double h) {
  p.FillRoundRect(0, 0, w, h, 3, state == kDisabled ? kDisabledFill : kField);
  p.StrokeRoundRect(0, 0, w, h, 3, 1, FieldBorder(state));
}

void DeviceRow(const Painter& p, int frame, double w, double h) {
  // Frames: 0 connected, 1 unavailable, 2 connected under the pointer, 3 current.
  const double top = 2, rowH = h - 4;
  const bool available = frame != 1;
  p.FillRoundRect(0, top, w, rowH, 4, frame == 3 ? kSurface : kBody, available ? 0.92 : 0.6);
  const Rgb border = frame >= 2 ? kAccent : kLineSoft;
  p.StrokeRoundRect(0, top, w, rowH, 4, 1, border);
  if (frame == 3) {
    cairo_rectangle(p.Cr(), 1, top + 6, 3, rowH - 12);
    p.Color(kAccent);
    cairo_fill(p.Cr());
  }
  const double cx = 22, cy = h / 2;
  cairo_t* cr = p.Cr();
  if (available) {
    p.Circle(cx, cy, 9);
    p.Color(kAccent, 0.22);
    cairo_fill(cr);
    p.Circle(cx, cy, 5);
    p.Color(kAccentHover);
    cairo_fill(cr);
  } else {
    p.Circle(cx, cy, 5);
    cairo_set_line_width(cr, 1.5);
    p.Color(kDisabledText);
    cairo_stroke(cr);
  }
}

void ListRow(const Painter& p, int frame, double w, double h) {
  // Transparent body: the list paints the hover and selection fills beneath the strip.
  cairo_t* cr = p.Cr();
  const double cx = 15, cy = h / 2;
  if (frame == 1) {
    p.Circle(cx, cy, 5);
    p.Color(kWhite);
    cairo_fill(cr);
  } else {
    p.Circle(cx, cy, 4.5);
    cairo_set_line_width(cr, 1.5);
    p.Color(kTextMuted);
    cairo_stroke(cr);
    cairo_rectangle(cr, 6, h - 1, w - 12, 1);
    p.Color(kLineSoft, 0.8);
    cairo_fill(cr);
  }
}

}  // namespace

void DrawFields(SkinOutput& out) {
  const std::string skin = SkinOutput::SkinFolder();
  out.SavePng(skin + "img_combobox.png", DrawStrip(236, 30, 4, ComboFrame), 4);
  out.SavePng(skin + "img_edit.png", DrawStrip(120, 30, 4, EditFrame), 4);
  out.SavePng(skin + "img_device_state.png", DrawStrip(350, 43, 4, DeviceRow), 4);
  out.SavePng(skin + "icon/icon_circle.png", DrawStrip(200, 30, 2, ListRow), 2);

  // Slider track: as tall as the thumb, the groove centred on the thumb's middle.
  out.SavePng(skin + "img_slider_back.png",
              DrawStrip(236, 27, 1, [](const Painter& p, int, double w, double h) {
                p.FillRoundRect(0, h / 2 - 3, w, 6, 3, kDeep);
                p.StrokeRoundRect(0, h / 2 - 3, w, 6, 3, 1, kLine);
              }),
              1);
  out.SavePng(skin + "img_thumb.png",
              DrawStrip(16, 27, 1, [](const Painter& p, int, double w, double h) {
                p.FillRoundRect(1, 1, w - 2, h - 2, 4, kAccent);
                p.StrokeRoundRect(1, 1, w - 2, h - 2, 4, 1, kAccentHover);
                for (int i = -1; i <= 1; ++i) {
                  cairo_rectangle(p.Cr(), 5, h / 2 + i * 4 - 0.5, w - 10, 1);
                  p.Color(kWhite, 0.55);
                  cairo_fill(p.Cr());
                }
              }),
              1);
  // Panel behind the key function picker (its items are drawn by the control).
  out.SavePng(skin + "icon/icon_menu.png",
              DrawStrip(919, 249, 1, [](const Painter& p, int, double w, double h) {
                p.FillRoundRect(0, 0, w, h, 6, kBody, 0.85);
                p.StrokeRoundRect(0, 0, w, h, 6, 1, kLineSoft);
              }),
              1);
}

}  // namespace skingen
