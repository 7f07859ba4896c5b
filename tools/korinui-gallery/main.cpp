// korinui-gallery [--lang 1033|2052] [--seconds N] [--only NAME]
// Opens one window per section. With --seconds the gallery closes itself after N seconds
// (set KORINUI_DUMP_DIR to keep each window's picture); without it, close any window to quit.
#include "Gallery.h"

#include <korinui/CArea.h>
#include <korinui/Manager.h>
#include <korinui/TextCodec.h>
#include <korinui/WindowSystem.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace win = korinui::win;

namespace {

int g_language = 1033;

std::vector<GallerySection>& Registry() {
  static std::vector<GallerySection> sections;
  return sections;
}

class GalleryDialog : public MDialog {
 public:
  explicit GalleryDialog(const GallerySection& section) : section_(section) {}
  void InitUI(CRect client) override {
    auto* back = static_cast<CArea*>(CreateArea(L"CArea", 1, CRect(1, 1, client.right - 1, client.bottom - 1), L""));
    if (back) back->SetTransparent(1, 255, RGB(0x1E, 0x1E, 0x1E));
    section_.build(*this, client);
  }
  LRESULT OnWindowMessage(UINT msg, WPARAM w, LPARAM l) override {
    if (msg == WM_CLOSE) {
      win::PostQuitMessage(0);
      return 0;
    }
    return MDialog::OnWindowMessage(msg, w, l);
  }

 private:
  const GallerySection& section_;
};

}  // namespace

void RegisterGallerySection(GallerySection section) { Registry().push_back(std::move(section)); }
const std::vector<GallerySection>& GallerySections() { return Registry(); }
int GalleryLanguage() { return g_language; }

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  int seconds = 0;
  std::string only;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--lang") == 0) g_language = std::atoi(argv[i + 1]);
    else if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::atoi(argv[i + 1]);
    else if (std::strcmp(argv[i], "--only") == 0) only = argv[i + 1];
  }
  if (!Manager::InitGdiplus()) {
    std::fprintf(stderr, "korinui-gallery: no window system\n");
    return 2;
  }
  auto sections = Registry();
  std::stable_sort(sections.begin(), sections.end(), [](const GallerySection& a, const GallerySection& b) {
    return a.order != b.order ? a.order < b.order : a.name < b.name;
  });
  std::vector<std::unique_ptr<GalleryDialog>> windows;
  int x = 0;
  for (const auto& section : sections) {
    if (!only.empty() && korinui::WideToUtf8(section.name) != only) continue;
    auto dlg = std::make_unique<GalleryDialog>(section);
    CString caption = L"Gallery " + section.name;
    if (!dlg->Create(nullptr, caption.c_str(), WS_POPUP, 0, CRect(x, 0, x + section.size.cx, section.size.cy))) {
      std::fprintf(stderr, "korinui-gallery: cannot open %s\n", korinui::WideToUtf8(section.name).c_str());
      return 2;
    }
    x += 40;
    dlg->ShowWindow(SW_SHOWNA);
    windows.push_back(std::move(dlg));
  }
  win::PumpFor(200);
  for (size_t i = 0, j = 0; i < sections.size(); ++i) {
    if (!only.empty() && korinui::WideToUtf8(sections[i].name) != only) continue;
    if (sections[i].drive) sections[i].drive(*windows[j]);
    ++j;
  }
  if (seconds > 0) {
    win::PumpFor(seconds * 1000);
    return 0;
  }
  return Manager::MessageLoop();
}
