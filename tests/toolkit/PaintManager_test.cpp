#include "ToolkitFixture.h"

#include <korinui/MRender.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace {

// Colour channels within 1 of `want` (alpha stacking rounds), alpha at least 0xFE.
::testing::AssertionResult Near(ARGB got, ARGB want) {
  for (int shift : {0, 8, 16}) {
    int a = (got >> shift) & 0xFF, b = (want >> shift) & 0xFF;
    if (a - b > 1 || b - a > 1) return ::testing::AssertionFailure() << std::hex << got << " vs " << want;
  }
  if ((got >> 24) < 0xFE) return ::testing::AssertionFailure() << std::hex << got << " alpha";
  return ::testing::AssertionSuccess();
}

constexpr ARGB kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;

// A control that draws frame `frame` of the 4-frame strip.
class StripControl : public MControlFont {
 public:
  StripControl(MObject* p, UINT id, CRect r, int frame) : MControlFont(p, id, r), frame_(frame) {}
  void InitControl(PaintManager*) override { SetImage(L"strip4.png", 4); }
  void DrawControl(HDC& hdc, CRect) override { DrawImageFrameIndex(hdc, frame_, rect_); }

 private:
  int frame_;
};

class NineGridControl : public MControl {
 public:
  using MControl::MControl;
  void DrawControl(HDC& hdc, CRect) override {
    ImgResInfo* info = manager_->AddImgResInfo(L"frame9.png", 1);
    if (info) MRender::DrawImageFrame(*hdc, info->image.get(), rect_, 0, 0, 9, 9, 3);
  }
};

TEST(PaintManagerImages, FirstFrameCountWins) {
  UseFixtureSkin();
  PaintManager pm;
  ImgResInfo* a = pm.AddImgResInfo(L"strip4.png", 4);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->frameWidth, 10);
  EXPECT_EQ(a->height, 6);
  ImgResInfo* b = pm.AddImgResInfo(L"strip4.png", 2);
  EXPECT_EQ(b, a);
  EXPECT_EQ(b->frameWidth, 10);
  EXPECT_EQ(b->frames, 4);
  EXPECT_EQ(pm.AddImgResInfo(L"missing.png", 1), nullptr);
  EXPECT_EQ(pm.AddImgResInfo(L"missing.png", 1), nullptr);  // a failure is not cached
}

TEST(PaintManagerFonts, GlobalFontNamePicksTheFamily) {
  PaintManager pm;
  CString saved = Manager::GetFontName();
  Manager::SetFontName(L"DejaVu Sans");
  const FontFamily* f = pm.FindTempFont(L"Some Other Font");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->name, L"DejaVu Sans");
  Manager::SetFontName(L"No Such Family Here");
  EXPECT_EQ(pm.FindTempFont(L"DejaVu Sans"), nullptr);
  Manager::SetFontName(saved);
}

TEST(MRenderHelpers, OriginPointAndAlphaColour) {
  struct Case { UINT h, v; CPoint expected; };
  const Case cases[] = {{0, 0, {0, 0}}, {1, 4, {40, 20}}, {2, 8, {80, 40}}, {3, 5, {0, 0}}};
  for (const auto& c : cases) EXPECT_EQ(MRender::GetOriginPoint(100, 50, 20, 10, c.h, c.v), c.expected);
  EXPECT_EQ(MRender::GetOriginPoint(CRect(10, 10, 110, 60), 20, 10, 1, 4), CPoint(50, 32));
  DWORD black = 0, grey = RGB(1, 1, 1);
  MRender::CheckAlphaColor(black);
  MRender::CheckAlphaColor(grey);
  EXPECT_EQ(black, RGB(0, 0, 1));
  EXPECT_EQ(grey, RGB(1, 1, 1));
}

class PaintManagerWindow : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(CreateDialog(dlg, L"PaintTest", CRect(100, 100, 300, 220)), nullptr); }
  RecordingDialog dlg;
};

TEST_F(PaintManagerWindow, PaintsStripsNineGridAndBorder) {
  PaintManager& pm = dlg.GetPaintManager();
  for (int f = 0; f < 3; ++f) {
    auto* c = new StripControl(&dlg, 10 + f, CRect(10 + 20 * f, 10, 20 + 20 * f, 16), f);
    c->SetManager(&pm);
    pm.AddControl(1, c);
  }
  auto* nine = new NineGridControl(&dlg, 20, CRect(100, 40, 160, 80));
  nine->SetManager(&pm);
  pm.AddControl(1, nine);
  auto p = pm.PaintBuffer(pm.GetClientRect());
  ASSERT_TRUE(p);
  EXPECT_TRUE(Near(p->GetPixel(0, 0), 0xFE575757));     // border
  EXPECT_TRUE(Near(p->GetPixel(5, 5), 0xFE050505));     // back colour
  EXPECT_EQ(p->GetPixel(15, 12), kRed);
  EXPECT_EQ(p->GetPixel(35, 12), kGreen);
  EXPECT_EQ(p->GetPixel(55, 12), kBlue);
  EXPECT_EQ(p->GetPixel(100, 40), 0xFFFF00FF);  // corner unscaled
  EXPECT_EQ(p->GetPixel(102, 42), 0xFFFF00FF);
  EXPECT_EQ(p->GetPixel(159, 79), 0xFFFF00FF);
  EXPECT_EQ(p->GetPixel(130, 41), 0xFFFFFF00);  // top edge stretched
  EXPECT_EQ(p->GetPixel(101, 60), 0xFFFFFF00);  // left edge stretched
  EXPECT_EQ(p->GetPixel(130, 60), 0xFF00FFFF);  // centre
  EXPECT_TRUE(Near(p->GetPixel(161, 60), 0xFE050505));  // outside the frame
}

TEST_F(PaintManagerWindow, PaintIsClippedToTheUpdateRectangle) {
  PaintManager& pm = dlg.GetPaintManager();
  auto* c = new StripControl(&dlg, 10, CRect(10, 10, 20, 16), 0);
  c->SetManager(&pm);
  pm.AddControl(1, c);
  auto p = pm.PaintBuffer(CRect(0, 0, 15, 200));
  EXPECT_EQ(p->GetPixel(12, 12), kRed);
  EXPECT_EQ(p->GetPixel(17, 12), 0u);  // outside the update: untouched
}

TEST_F(PaintManagerWindow, TimerIdsCountFrom17AndRefuseARunningPair) {
  PaintManager& pm = dlg.GetPaintManager();
  RecordingControl a(&dlg, 1, CRect(), nullptr), b(&dlg, 2, CRect(), nullptr);
  EXPECT_EQ(pm.SetTimer(&a, 1, 1000), 1u);
  EXPECT_EQ(pm.GetTimerId(&a, 1), 17u);
  EXPECT_EQ(pm.SetTimer(&a, 1, 1000), 0u);  // running
  EXPECT_EQ(pm.SetTimer(&b, 1, 1000), 1u);
  EXPECT_EQ(pm.GetTimerId(&b, 1), 18u);
  pm.KillTimer(&a, 1);
  EXPECT_EQ(pm.SetTimer(&a, 1, 1000), 1u);  // restarted with its old id
  EXPECT_EQ(pm.GetTimerId(&a, 1), 17u);
  pm.ClearTimers();
}

TEST_F(PaintManagerWindow, WindowTimerReachesItsControl) {
  PaintManager& pm = dlg.GetPaintManager();
  auto* c = new RecordingControl(&dlg, 5, CRect(), nullptr);
  c->SetManager(&pm);
  pm.AddControl(1, c);
  pm.SetTimer(c, 7, 10);
  korinui::win::PumpFor(120);
  EXPECT_GT(c->ticks.load(), 0);
  pm.RemoveControl(c);  // the record goes with it
  EXPECT_EQ(pm.GetTimerId(c, 7), 0u);
}

TEST_F(PaintManagerWindow, AnimationTimerTicksVisibleRegisteredControls) {
  PaintManager& pm = dlg.GetPaintManager();
  auto* shown = new RecordingControl(&dlg, 5, CRect(0, 0, 10, 10), nullptr);
  auto* hidden = new RecordingControl(&dlg, 6, CRect(0, 0, 10, 10), nullptr);
  for (auto* c : {shown, hidden}) {
    c->SetManager(&pm);
    pm.AddControl(1, c);
    c->SetRunTimer(1);
    c->repaintOnTick = true;  // repaint requests come from the timer thread
    c->AddMTimer();
  }
  hidden->SetVisible(0);
  dlg.ShowWindow(SW_SHOWNA);
  ASSERT_NE(dlg.SetMTimer(10), 0u);
  korinui::win::PumpFor(80);  // paints run while ticks request repaints
  EXPECT_GT(shown->ticks.load(), 0);
  pm.RemoveControl(shown);  // no tick may reach a removed control
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  dlg.KillMTimer(pm.SetMTimer(10));
  EXPECT_EQ(hidden->ticks.load(), 0);
}

TEST_F(PaintManagerWindow, PaintedWindowIsDumpedUnderItsCaption) {
  auto dir = std::filesystem::temp_directory_path() / "korinui-dump-test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  setenv("KORINUI_DUMP_DIR", dir.c_str(), 1);
  dlg.ShowWindow(SW_SHOWNA);
  korinui::win::PumpFor(100);
  unsetenv("KORINUI_DUMP_DIR");
  auto file = dir / "PaintTest.png";
  ASSERT_TRUE(std::filesystem::exists(file));
  auto image = MImage::LoadFromFile(korinui::Utf8ToWide(file.string()));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Width(), 200);
  EXPECT_EQ(image->Height(), 120);
}

TEST_F(PaintManagerWindow, ProgressStepsAndFade) {
  PaintManager& pm = dlg.GetPaintManager();
  pm.SetProgress(3, L"Loading", CRect());
  EXPECT_EQ(pm.GetShownPercent(), 3);  // less than 6 ahead: jumps
  pm.SetProgress(40, L"Loading", CRect());
  EXPECT_EQ(pm.GetShownPercent(), 3);
  korinui::win::PumpFor(30);
  int mid = pm.GetShownPercent();
  EXPECT_GT(mid, 3);
  EXPECT_EQ((mid - 3) % 2, 0);  // steps of 2
  korinui::win::PumpFor(400);
  EXPECT_EQ(pm.GetShownPercent(), 40);  // stops at the target
  EXPECT_EQ(pm.GetOverlayAlpha(), 255);
  pm.SetProgress(100, L"Done", CRect());
  korinui::win::PumpFor(600);
  EXPECT_EQ(pm.GetShownPercent(), 100);
  EXPECT_LT(pm.GetOverlayAlpha(), 255);  // fading
  korinui::win::PumpFor(1500);
  EXPECT_EQ(pm.GetOverlayAlpha(), 0);
  EXPECT_EQ(pm.GetShownPercent(), 0);
}

}  // namespace
