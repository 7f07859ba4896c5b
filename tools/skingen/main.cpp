// keystrel-skingen: draws the skin, the keyboard pictures and the program icon.
//   keystrel-skingen <resource folder> [--layouts <folder>] [--sheet <file.png>]
// The layouts default to <resource folder>/layouts. Exit code 0 when everything was
// written, 1 on any failure, 2 on a usage error.
#include <cstdio>
#include <cstring>
#include <string>

#include "Skin.h"

int main(int argc, char** argv) {
  std::string root, layouts, sheet;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--layouts") == 0 && i + 1 < argc) {
      layouts = argv[++i];
    } else if (std::strcmp(argv[i], "--sheet") == 0 && i + 1 < argc) {
      sheet = argv[++i];
    } else if (root.empty() && argv[i][0] != '-') {
      root = argv[i];
    } else {
      root.clear();
      break;
    }
  }
  if (root.empty()) {
    std::fprintf(stderr, "usage: %s <resource folder> [--layouts <folder>] [--sheet <file.png>]\n",
                 argv[0]);
    return 2;
  }
  if (layouts.empty()) layouts = root + "/layouts";

  skingen::SkinOutput out(root);
  skingen::DrawButtons(out);
  skingen::DrawFields(out);
  skingen::DrawPanels(out);
  skingen::DrawIcons(out);
  skingen::DrawLoading(out);
  skingen::DrawAppIcon(out);
  const int keyboards = skingen::DrawKeyboards(out, layouts);
  std::printf("skingen: %zu files written (%d keyboard pictures) into %s\n", out.Records().size(),
              keyboards, root.c_str());
  if (!sheet.empty() && !skingen::WriteContactSheet(out, sheet)) return 1;
  return out.Failed() ? 1 : 0;
}
