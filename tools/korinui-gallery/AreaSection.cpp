// Areas: plain, transparent and framed backgrounds.
#include "Gallery.h"

#include <korinui/CArea.h>

namespace {

void Build(MDialog& dlg, CRect) {
  struct Sample {
    int alpha;
    COLORREF colour;
    int frame;
    int corner;
  };
  const Sample samples[] = {{255, RGB(0x37, 0x37, 0x37), 0, 0},
                            {128, RGB(0xCA, 0x51, 0x00), 0, 0},
                            {255, RGB(0x1A, 0x1A, 0x1A), 1, 8},
                            {255, RGB(0x2A, 0x2A, 0x2A), 2, 0}};
  UINT id = 10;
  int x = 20;
  for (const auto& s : samples) {
    auto* area = static_cast<CArea*>(dlg.CreateArea(L"CArea", id++, CRect(x, 20, x + 100, 100), L""));
    area->SetTransparent(1, s.alpha, s.colour);
    if (s.frame) area->SetFrame(s.frame, 0xFFCA5100, s.corner);
    x += 120;
  }
}

GallerySectionRegistrar g_registrar({L"Areas", CSize(500, 120), Build, nullptr, 0});

}  // namespace
