// The program icon: Keystrel.ico for the tray (several sizes, PNG entries) and a PNG of
// the largest size for the window icon.
#include <memory>
#include <vector>

#include "IcoEncoder.h"
#include "Logo.h"
#include "Skin.h"

namespace skingen {

void DrawAppIcon(SkinOutput& out) {
  std::vector<IcoEntry> entries;
  std::shared_ptr<Surface> largest;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    auto s = std::make_shared<Surface>(size, size);
    {
      Painter p(*s);
      DrawLogo(p, 0, 0, size);
    }
    entries.push_back({size, s->PngBytes()});
    largest = s;
  }
  out.SaveEncoded("Keystrel.ico", EncodeIco(entries), 1, largest);
  out.SavePng("Keystrel.png", *largest, 1);
}

}  // namespace skingen
