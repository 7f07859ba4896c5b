// Repaint cost of a 1200 x 720 dialog with 200 controls over a nine-grid skin
// background: the whole client area, then smaller update rectangles.
#include <korinui/CArea.h>
#include <korinui/MControlFont.h>
#include <korinui/MDialog.h>
#include <korinui/MRender.h>
#include <korinui/Manager.h>
#include <korinui/TextCodec.h>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

// A skinned control: a frame of a 4-frame strip and a title.
class SkinnedControl : public MControlFont {
 public:
  SkinnedControl(MObject* p, UINT id, CRect r, int frame) : MControlFont(p, id, r), frame_(frame) {
    title_ = L"Item " + std::to_wstring(id);
  }
  void InitControl(PaintManager*) override { SetImage(L"strip.png", 4); }
  void DrawControl(HDC& hdc, CRect) override {
    DrawImageFrameIndex(hdc, frame_, rect_);
    DrawTitle(hdc, rect_, 0xFFE0E0E0);
  }

 private:
  int frame_;
};

class BenchDialog : public MDialog {
 public:
  void InitUI(CRect) override {
    SetBackMode(BACK_MODE_FRAME, 8);
    LoadBKImage(L"bk.png");
    for (UINT i = 0; i < 200; ++i) {
      int col = static_cast<int>(i % 10), row = static_cast<int>(i / 10);
      CRect r(20 + col * 116, 20 + row * 34, 20 + col * 116 + 110, 20 + row * 34 + 30);
      if (i % 2) {
        auto* area = static_cast<CArea*>(CreateArea(L"CArea", 1000 + i, r, L""));
        area->SetTransparent(1, 200, RGB(0x37, 0x37, 0x37));
        area->SetFrame(1, 0xFFCA5100, 4);
      } else {
        auto* c = new SkinnedControl(this, 1000 + i, r, static_cast<int>(i % 4));
        c->SetManager(&manager_);
        manager_.AddControl(1, c);
      }
    }
  }
};

// Writes the two skin images into a temporary program folder.
std::wstring MakeSkin() {
  auto dir = std::filesystem::temp_directory_path() / "korinui-bench";
  std::filesystem::create_directories(dir / "skins" / "theme1");
  Painter strip(440, 30);
  const ARGB faces[] = {0xFF373737, 0xFF4A4A4A, 0xFFCA5100, 0xFF202020};
  for (int f = 0; f < 4; ++f) strip.FillRect(CRect(f * 110, 0, f * 110 + 110, 30), faces[f]);
  strip.WritePng((dir / "skins/theme1/strip.png").string());
  Painter bk(64, 64);
  bk.FillRect(CRect(0, 0, 64, 64), 0xFF575757);
  bk.FillRect(CRect(8, 8, 56, 56), 0xFF0B0B0B);
  bk.WritePng((dir / "skins/theme1/bk.png").string());
  return korinui::Utf8ToWide(dir.string() + "/");
}

BenchDialog& Dialog() {
  static BenchDialog* dlg = [] {
    Manager::SetProgramFolder(MakeSkin());
    Manager::InitGdiplus();
    auto* d = new BenchDialog();
    d->Create(nullptr, L"Bench", WS_POPUP, 0, CRect(0, 0, 1200, 720));
    return d;
  }();
  return *dlg;
}

void BM_Repaint(benchmark::State& state) {
  PaintManager& pm = Dialog().GetPaintManager();
  // range(0): percent of the client width and height painted.
  int pct = static_cast<int>(state.range(0));
  CRect update(0, 0, 1200 * pct / 100, 720 * pct / 100);
  for (auto _ : state) {
    auto p = pm.PaintBuffer(update);
    benchmark::DoNotOptimize(p->Pixels());
  }
  state.SetLabel(std::to_string(update.Width()) + "x" + std::to_string(update.Height()));
}
BENCHMARK(BM_Repaint)->Arg(100)->Arg(50)->Arg(25)->Unit(benchmark::kMillisecond);

}  // namespace
