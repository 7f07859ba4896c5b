#include <korinui/ControlFactory.h>
#include <korinui/MRender.h>
#include <korinui/MWindow.h>
#include <korinui/Manager.h>
#include <korinui/PaintManager.h>
#include <korinui/TextCodec.h>
#include <korinui/WindowSystem.h>

#include "FontRegistry.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace win = korinui::win;

namespace {

// The tooltip popup: a white box with the text, drawn from its own picture.
LRESULT CALLBACK_Tooltip(HWND h, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_PAINT) {
    auto* text = static_cast<CString*>(win::GetUserData(h));
    CRect client = win::GetClientRect(h);
    Painter p(client.Width(), client.Height());
    p.FillRect(client, 0xFFFFFFFF);
    p.DrawRect(client, 0xFF767676, 1.0f);
    if (text) {
      TextFormat f;
      f.family = Manager::GetFontName();
      f.sizePx = 12;
      f.vAlign = 4;
      CRect inner = client;
      inner.DeflateRect(4, 0);
      p.DrawText(*text, inner, f, 0xFF000000);
    }
    win::ValidateRect(h);
    win::Present(h, p.Pixels(), p.Width(), p.Height(), p.Stride(), client);
    return 0;
  }
  return win::DefWindowProc(h, msg, w, l);
}

bool Intersects(const CRect& a, const CRect& b) {
  CRect i;
  return i.IntersectRect(a, b);
}

}  // namespace

PaintManager::PaintManager() = default;

PaintManager::~PaintManager() {
  RKTimer::KillTimer();
  DestroyData();
}

void PaintManager::Init(HWND hwnd, MWindow* window) {
  hwnd_ = hwnd;
  window_ = window;
  initialized_ = 1;
  scrollV_ = 102;
  scrollH_ = 101;
  static const wchar_t* kFonts[][2] = {{L"Open Sans", L"OpenSans-Regular.ttf"},
                                        {L"Open Sans Light", L"OpenSans-Light.ttf"},
                                        {L"Open Sans Semibold", L"OpenSans-Semibold.ttf"},
                                        {L"Open Sans Extrabold", L"OpenSans-ExtraBold.ttf"}};
  CString folder = Manager::GetProgramFolder() + L"font/";
  for (auto& f : kFonts) {
    std::error_code ec;
    if (std::filesystem::exists(korinui::WideToUtf8(folder + f[1]), ec)) AddTempFont(f[0], (folder + f[1]).c_str());
  }
}

// ---- repainting ----

void PaintManager::Invalidate() {
  if (hwnd_) win::InvalidateRect(hwnd_, nullptr);
}

void PaintManager::InvalidateRect(CRect rect, BOOL) {
  if (!hwnd_) return;
  if (layered_) win::InvalidateRect(hwnd_, nullptr);
  else win::InvalidateRect(hwnd_, &rect);
}

LRESULT PaintManager::OnControlUpdate(CRect rect, int resetCache, MControl* control) {
  if (resetCache && control) control->SetUpdate(0);
  if (initialized_) {
    // Later controls paint over the rectangle: they are redrawn with it.
    bool after = control == nullptr;
    auto grow = [&](std::vector<MControl*>& list) {
      for (MControl* c : list) {
        if (c == control) { after = true; continue; }
        if (after && c->IsVisible() && Intersects(c->GetRect(), rect)) {
          c->SetUpdate(0);
          rect.UnionRect(rect, c->GetRect());
        }
      }
    };
    {
      std::lock_guard<std::recursive_mutex> g(areasLock_);
      grow(areas_);
    }
    std::lock_guard<std::recursive_mutex> g(controlsLock_);
    grow(controls_);
  }
  InvalidateRect(rect, 0);
  return 1;
}

void PaintManager::PaintInto(Painter& p, CRect update) {
  CRect client(0, 0, p.Width(), p.Height());
  p.Save();
  p.ClipRect(update);
  if (layered_) p.Clear(update);
  if (bkImage_) {
    if (backMode_ == BACK_MODE_FRAME)
      MRender::DrawImageFrame(p, bkImage_.get(), client, 0, 0, bkImage_->Width(), bkImage_->Height(), corner_);
    else
      p.DrawImage(*bkImage_, CRect(0, 0, bkImage_->Width(), bkImage_->Height()),
                  CRect(0, 0, bkImage_->Width(), bkImage_->Height()));
  } else {
    auto argb = [](COLORREF c) { return 0xFE000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); };
    p.FillRect(client, argb(borderColor_));
    CRect inner = client;
    inner.DeflateRect(1, 1);
    p.FillRect(inner, argb(backColor_));
  }
  CRect clip = layered_ ? client : update;
  HDC hdc = &p;
  {
    std::lock_guard<std::recursive_mutex> g(areasLock_);
    for (MControl* c : areas_) c->Draw(hdc, clip);
  }
  {
    std::lock_guard<std::recursive_mutex> g(controlsLock_);
    for (MControl* c : controls_) c->Draw(hdc, clip);
  }
  if (layered_) p.FixAlpha(update);
  DrawOverlay(p);
  p.Restore();
}

std::unique_ptr<Painter> PaintManager::PaintBuffer(CRect update) {
  CSize size = GetClientSize();
  auto p = std::make_unique<Painter>(size.cx, size.cy);
  if (!p->IsValid()) return nullptr;
  PaintInto(*p, update);
  return p;
}

void PaintManager::DrawOverlay(Painter& p) {
  if (overlayAlpha_ <= 10 || overlayText_.empty()) return;
  ARGB a = static_cast<ARGB>(overlayAlpha_ & 0xFF) << 24;
  CRect r = overlayRect_;
  p.FillRect(r, a | 0xE6E6E6);
  CRect inner = r;
  inner.DeflateRect(2, 2);
  p.FillRect(inner, a | 0xFEFEFE);
  TextFormat f;
  const FontFamily* fam = FindTempFont(overlayFont_.c_str());
  if (fam) f.family = fam->name;
  f.sizePx = 12;
  if (shownPercent_ == 0) {
    f.vAlign = 4;
    p.DrawText(overlayText_, CRect(r.left + 5, r.top + 5, r.left + 5 + 190, r.top + 5 + 50), f, a | 0x050505);
    return;
  }
  f.hAlign = 1;
  f.vAlign = 4;
  p.DrawText(overlayText_, CRect(r.left + 5, r.top + 5, r.right - 5, r.top + 35), f, a | 0x050505);
  p.DrawLine(r.left + 10, r.bottom - 15, r.right - 20, r.bottom - 15, 0xC8C8C8C8, 1.0f);
  int w = shownPercent_ * (r.Width() - 20) / 100;
  p.FillRect(CRect(r.left + 10, r.bottom - 16, r.left + 10 + w, r.bottom - 13), 0xFEFFE100);
}

void PaintManager::OnPaint() {
  CRect update = win::GetUpdateRect(hwnd_);
  win::ValidateRect(hwnd_);
  if (win::IsIconic(hwnd_) || update.IsRectEmpty()) return;
  auto p = PaintBuffer(update);
  if (!p) return;
  win::Present(hwnd_, p->Pixels(), p->Width(), p->Height(), p->Stride(), update);
  lastBuffer_ = std::move(p);
  DumpPicture();
  // Caps the repaint rate near 60 per second however fast the timers run.
  std::this_thread::sleep_for(std::chrono::milliseconds(15));
}

void PaintManager::DumpPicture() {
  const char* dir = std::getenv("KORINUI_DUMP_DIR");
  if (!dir || !*dir || !hwnd_ || win::GetOwner(hwnd_) == hwnd_) return;
  auto now = std::chrono::steady_clock::now();
  if (now - lastDump_ < std::chrono::milliseconds(250)) {
    // Too soon: write once more when the pause is over, so the last state is kept.
    if (!dumpPending_) {
      dumpPending_ = true;
      win::SetTimer(hwnd_, kTimerDump, 260);
    }
    return;
  }
  lastDump_ = now;
  dumpPending_ = false;
  CString caption = win::GetWindowText(hwnd_);
  for (auto& c : caption)
    if (c == L'/' || c == L'\\') c = L'_';
  if (caption.empty()) caption = L"window";
  std::string path = std::string(dir) + "/" + korinui::WideToUtf8(caption) + ".png";
  win::SaveWindowPicture(hwnd_, path);
}

// ---- controls ----

MControl* PaintManager::CreateControl(UINT kind, MObject* parent, const wchar_t* className, UINT id,
                                      CRect rect, const wchar_t* title, int visible, int enabled) {
  MControl* c = ControlFactory::Create(ControlFactory::Level::Window, parent, className, id, rect,
                                       title, visible, enabled);
  if (!c) return nullptr;
  c->SetManager(this);
  AddControl(kind, c);
  return c;
}

void PaintManager::AddControl(UINT kind, MControl* c) {
  if (!c) return;
  if (kind == 0) {
    std::lock_guard<std::recursive_mutex> g(areasLock_);
    areas_.push_back(c);
  } else if (kind == 1) {
    std::lock_guard<std::recursive_mutex> g(controlsLock_);
    controls_.push_back(c);
  }
}

MControl* PaintManager::GetControl(UINT id) {
  {
    std::lock_guard<std::recursive_mutex> g(controlsLock_);
    for (MControl* c : controls_) {
      if (c->GetControlID() == id) return c;
      if (MControl* f = c->GetControl(id)) return f;
    }
  }
  std::lock_guard<std::recursive_mutex> g(areasLock_);
  for (MControl* c : areas_) {
    if (c->GetControlID() == id) return c;
    if (MControl* f = c->GetControl(id)) return f;
  }
  return nullptr;
}

std::vector<MControl*> PaintManager::GetControls() {
  std::lock_guard<std::recursive_mutex> g(controlsLock_);
  return controls_;
}
std::vector<MControl*> PaintManager::GetAreas() {
  std::lock_guard<std::recursive_mutex> g(areasLock_);
  return areas_;
}

BOOL PaintManager::RemoveControl(MControl* control) {
  {
    std::lock_guard<std::recursive_mutex> g(controlsLock_);
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end()) return 0;
    controls_.erase(it);
  }
  MControl::DeleteControl(control);
  return 1;
}

void PaintManager::ClearAreaControls() {
  std::vector<MControl*> list;
  {
    std::lock_guard<std::recursive_mutex> g(areasLock_);
    list.swap(areas_);
  }
  for (MControl* c : list) MControl::DeleteControl(c);
}

void PaintManager::ClearControls() {
  std::vector<MControl*> list;
  {
    std::lock_guard<std::recursive_mutex> g(controlsLock_);
    list.swap(controls_);
  }
  for (MControl* c : list) MControl::DeleteControl(c);
}

void PaintManager::ClearAllControls() {
  ClearAreaControls();
  ClearControls();
}

void PaintManager::ForgetOne(MControl* c) {
  if (hover_ == c) hover_ = nullptr;
  if (focus_ == c) focus_ = nullptr;
  if (pressed_ == c) pressed_ = nullptr;
  DeleteTarnTimer(c);
  KillTimer(c);
  if (auto* parent = dynamic_cast<MControl*>(c->GetParantObject()))
    if (parent->currentChild_ == c) parent->currentChild_ = nullptr;
}

void PaintManager::ForgetControl(MControl* control) {
  if (!control) return;
  ForgetOne(control);
  for (MControl* c : control->GetAreas()) ForgetControl(c);
  for (MControl* c : control->GetControls()) ForgetControl(c);
}

void PaintManager::SetFocusControl(MControl* control) {
  if (focus_ == control) return;
  MControl* old = focus_;
  focus_ = control;
  if (old) old->SetControlFocus(0);
  if (control) control->SetControlFocus(1);
}

namespace {

// The first visible, enabled tab stop after `from` in `list`, wrapping to the start.
template <typename List>
MControl* FirstFocusableAfter(const List& list, MControl* from) {
  auto ok = [](MControl* c) { return c->IsVisible() && c->IsEnabled() && c->IsTabStop(); };
  auto it = std::find(list.begin(), list.end(), from);
  if (it != list.end())
    for (auto j = it + 1; j != list.end(); ++j)
      if (ok(*j)) return *j;
  for (MControl* c : list)
    if (ok(c)) return c;
  return nullptr;
}

}  // namespace

MControl* PaintManager::GetNextFocusableControl(MControl* from) {
  return FirstFocusableAfter(GetControls(), from);
}

MControl* PaintManager::GetPrevFocusableControl(MControl* from) {
  auto list = GetControls();
  std::reverse(list.begin(), list.end());
  return FirstFocusableAfter(list, from);
}

// ---- background, images, fonts ----

BOOL PaintManager::LoadBKImage(const CString& name) {
  ImgResInfo* info = AddImgResInfo(name.c_str(), 1);
  if (!info) return 0;
  bkImage_ = info->image;
  Invalidate();
  return 1;
}

CString PaintManager::GetSkinFolder() {
  CString theme = Manager::GetTheme();
  for (auto& c : theme)
    if (c == L'\\') c = L'/';
  return Manager::GetProgramFolder() + L"skins/" + theme;
}

ImgResInfo* PaintManager::AddImgResInfo(const wchar_t* name, int frames) {
  if (!name || !*name) return nullptr;
  std::lock_guard<std::recursive_mutex> g(imageLock_);
  auto it = images_.find(name);
  if (it != images_.end()) return it->second.get();
  auto image = MImage::LoadFromFile(GetSkinFolder() + name);
  if (!image) return nullptr;
  auto info = std::make_unique<ImgResInfo>();
  if (frames <= 0) frames = 1;
  info->image = image;
  info->frames = frames;
  info->frameWidth = image->Width() / frames;
  info->height = image->Height();
  info->name = name;
  ImgResInfo* raw = info.get();
  images_[name] = std::move(info);
  return raw;
}

void PaintManager::ClearImgResInfo() {
  std::lock_guard<std::recursive_mutex> g(imageLock_);
  images_.clear();
}

BOOL PaintManager::AddTempFont(const wchar_t* family, const wchar_t* file) {
  if (!family || !file) return 0;
  CString found;
  if (!korinui::fonts::AddFontFile(file, &found)) return 0;
  std::lock_guard<std::recursive_mutex> g(fontLock_);
  fonts_[family] = std::make_unique<FontFamily>(FontFamily{found});
  return 1;
}

const FontFamily* PaintManager::FindTempFont(const wchar_t*) {
  // Every text is drawn in the global family; a control's own name does not choose it.
  CString key = Manager::GetFontName();
  std::lock_guard<std::recursive_mutex> g(fontLock_);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second.get();
  if (!korinui::fonts::FamilyExists(key)) return nullptr;
  auto f = std::make_unique<FontFamily>(FontFamily{key});
  const FontFamily* raw = f.get();
  fonts_[key] = std::move(f);
  return raw;
}

void PaintManager::ClearTempFont() {
  std::lock_guard<std::recursive_mutex> g(fontLock_);
  fonts_.clear();
}

// ---- timers ----

UINT PaintManager::SetTimer(MControl* control, UINT key, UINT ms) {
  std::lock_guard<std::recursive_mutex> g(timerLock_);
  for (auto& t : timers_) {
    if (t.control == control && t.key == key) {
      if (t.running) return 0;
      if (!win::SetTimer(hwnd_, t.id, ms)) return 0;
      t.running = true;
      return 1;
    }
  }
  UINT id = (timerCounter_ + 1) % 240;
  if (!win::SetTimer(hwnd_, id, ms)) return 0;
  timerCounter_ = id;
  timers_.push_back(TimerRecord{control, key, id, true});
  return 1;
}

UINT PaintManager::GetTimerId(MControl* control, UINT key) {
  std::lock_guard<std::recursive_mutex> g(timerLock_);
  for (auto& t : timers_)
    if (t.control == control && t.key == key) return t.id;
  return 0;
}

void PaintManager::KillTimer(MControl* control, UINT key) {
  std::lock_guard<std::recursive_mutex> g(timerLock_);
  for (auto& t : timers_) {
    if (t.control == control && t.key == key && t.running) {
      t.running = false;
      // Another record may share the id (the counter wraps); keep its platform timer.
      bool shared = std::any_of(timers_.begin(), timers_.end(),
                                [&](const TimerRecord& o) { return &o != &t && o.id == t.id && o.running; });
      if (!shared) win::KillTimer(hwnd_, t.id);
    }
  }
}

void PaintManager::KillTimer(MControl* control) {
  std::lock_guard<std::recursive_mutex> g(timerLock_);
  std::vector<UINT> keys;
  for (auto& t : timers_)
    if (t.control == control) keys.push_back(t.key);
  for (UINT k : keys) KillTimer(control, k);
  // A deleted control must leave no record behind.
  std::erase_if(timers_, [control](const TimerRecord& t) { return t.control == control; });
}

void PaintManager::ClearTimers() {
  std::lock_guard<std::recursive_mutex> g(timerLock_);
  for (auto& t : timers_)
    if (t.running) win::KillTimer(hwnd_, t.id);
  timers_.clear();
}

UINT PaintManager::SetMTimer(UINT ms) {
  if (mtimerId_) return mtimerId_;
  // Ticks carry the id; until it is stored they are ignored, which is harmless.
  mtimerId_ = RKTimer::SetTimer(ms, L"", 0);
  return mtimerId_;
}

void PaintManager::KillMTimer(UINT id) {
  if (id && id == mtimerId_) {
    RKTimer::KillTimer(id);
    mtimerId_ = 0;
  }
}
void PaintManager::KillMTimer() { KillMTimer(mtimerId_); }

void PaintManager::AddMTimer(MControl* control) {
  std::lock_guard<std::recursive_mutex> g(mtimerLock_);
  if (std::find(mtimerControls_.begin(), mtimerControls_.end(), control) == mtimerControls_.end())
    mtimerControls_.push_back(control);
}

void PaintManager::DeleteTarnTimer(MControl* control) {
  // Waits for a tick in progress: after this no tick reaches the control.
  std::lock_guard<std::recursive_mutex> g(mtimerLock_);
  std::erase(mtimerControls_, control);
}

void PaintManager::OnMTimer(UINT id) {
  if (id != mtimerId_ || !id) return;
  std::lock_guard<std::recursive_mutex> g(mtimerLock_);
  for (MControl* c : mtimerControls_)
    if (c->IsRunTimer() && c->IsVisible() && c->IsParentVisible()) c->OnTimer();
}

void PaintManager::OnTimerMessage(UINT id) {
  switch (id) {
    case kTimerDump:
      win::KillTimer(hwnd_, kTimerDump);
      if (dumpPending_) {
        lastDump_ = {};
        DumpPicture();
      }
      return;
    case kTimerMessageEnd:
      win::KillTimer(hwnd_, kTimerMessageEnd);
      win::SetTimer(hwnd_, kTimerFade, 50);
      return;
    case kTimerFade:
      overlayAlpha_ -= 10;
      if (overlayAlpha_ < 20) {
        win::KillTimer(hwnd_, kTimerFade);
        overlayAlpha_ = 0;
        shownPercent_ = 0;
        Invalidate();
      } else {
        InvalidateRect(overlayRect_);
      }
      return;
    case kTimerProgress:
      shownPercent_ = std::min(shownPercent_ + 2, targetPercent_);
      if (shownPercent_ >= targetPercent_) win::KillTimer(hwnd_, kTimerProgress);
      InvalidateRect(overlayRect_);
      if (shownPercent_ >= 100) StartFade();
      return;
    default:
      break;
  }
  std::vector<MControl*> due;
  {
    std::lock_guard<std::recursive_mutex> g(timerLock_);
    for (auto& t : timers_)
      if (t.running && t.id == id) due.push_back(t.control);
  }
  for (MControl* c : due) c->OnTimer();
}

// ---- tooltip and overlay ----

void PaintManager::SetTooltip(const wchar_t* text, CRect) {
  tooltipText_ = text ? text : L"";
  if (!hwnd_ || tooltipText_.empty()) return;
  TextFormat f;
  f.family = Manager::GetFontName();
  f.sizePx = 12;
  CSize size = Painter::MeasureText(tooltipText_, f, 256);
  CPoint at = win::GetCursorPos();
  CRect r(at.x + 12, at.y + 20, at.x + 12 + size.cx + 8, at.y + 20 + size.cy + 6);
  if (!tooltipWnd_ || !win::IsWindow(tooltipWnd_)) {
    tooltipWnd_ = win::CreateWindow(L"Tooltip", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                                    r, hwnd_, CALLBACK_Tooltip, nullptr);
    if (!tooltipWnd_) return;
  }
  win::SetUserData(tooltipWnd_, &tooltipText_);
  win::MoveWindow(tooltipWnd_, r, true);
  win::ShowWindow(tooltipWnd_, SW_SHOWNA);
}

void PaintManager::ClearTooltip() {
  tooltipText_.clear();
  tooltipOwner_ = 0;
  if (tooltipWnd_ && win::IsWindow(tooltipWnd_)) win::ShowWindow(tooltipWnd_, SW_HIDE);
}

void PaintManager::SetMessage(const CString& text, CRect rect, MsgLevel level) {
  win::KillTimer(hwnd_, kTimerMessageEnd);
  win::KillTimer(hwnd_, kTimerFade);
  overlayAlpha_ = 255;
  overlayText_ = text;
  overlayLevel_ = level;
  overlayRect_ = rect;
  shownPercent_ = 0;
  InvalidateRect(rect);
  win::SetTimer(hwnd_, kTimerMessageEnd, 3000);
}

void PaintManager::StartFade() { win::SetTimer(hwnd_, kTimerFade, 50); }

void PaintManager::SetProgress(int percent, const CString& text, CRect rect) {
  if (percent == targetPercent_) return;
  if (percent < 5) win::KillTimer(hwnd_, kTimerFade);
  overlayAlpha_ = 255;
  overlayText_ = text;
  targetPercent_ = percent;
  if (rect.IsRectEmpty()) {
    CRect c = GetClientRect();
    rect = CRect(c.left, c.bottom - 60, c.right, c.bottom - 2);
  }
  overlayRect_ = rect;
  if (targetPercent_ - shownPercent_ < 6) {
    shownPercent_ = targetPercent_;
    InvalidateRect(overlayRect_);
    if (shownPercent_ >= 100) StartFade();
  } else {
    win::SetTimer(hwnd_, kTimerProgress, 10);
  }
}

// ---- window side ----

UINT PaintManager::MakeModifierValue(bool shift, bool ctrl, bool alt) {
  return (shift ? 16u : 0u) | (ctrl ? 17u : 0u) | (alt ? 18u : 0u);
}

void PaintManager::SetCursor(HCURSOR c) { win::SetCursor(c); }
void PaintManager::SetCapture() { win::SetCapture(hwnd_); }
void PaintManager::ReleaseCapture() {
  if (win::GetCapture() == hwnd_) win::ReleaseCapture();
}
BOOL PaintManager::IsCaptured() const { return hwnd_ && win::GetCapture() == hwnd_; }
CRect PaintManager::GetClientRect() const { return win::GetClientRect(hwnd_); }
CRect PaintManager::GetWindowRect() const { return win::GetWindowRect(hwnd_); }
CSize PaintManager::GetClientSize() const { return GetClientRect().Size(); }
LRESULT PaintManager::SendMessageW(UINT m, WPARAM w, LPARAM l) { return win::SendMessage(hwnd_, m, w, l); }
BOOL PaintManager::PostMessageW(UINT m, WPARAM w, LPARAM l) { return win::PostMessage(hwnd_, m, w, l); }

LRESULT PaintManager::PreTranslateMessage(const MSG* msg) {
  if (!msg || msg->hwnd != hwnd_) return 0;
  if ((msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) && msg->wParam == VK_TAB &&
      !win::IsKeyDown(VK_CONTROL) && !win::IsKeyDown(VK_MENU)) {
    MControl* next = win::IsKeyDown(VK_SHIFT) ? GetPrevFocusableControl(focus_) : GetNextFocusableControl(focus_);
    if (next) {
      SetFocusControl(next);
      next->UpdateControl(0);
    }
    return 1;
  }
  return 0;
}

LRESULT PaintManager::RouteKey(WPARAM w, LPARAM l) {
  UINT mods = MakeModifierValue(win::IsKeyDown(VK_SHIFT), win::IsKeyDown(VK_CONTROL), win::IsKeyDown(VK_MENU));
  UINT vk = static_cast<UINT>(w), repeat = static_cast<UINT>(l & 0xFFFF);
  if (hover_ && hover_->OnKeyDown(vk, repeat, mods)) return 1;
  for (MControl* c : GetControls())
    if (c != hover_ && c->OnKeyDown(vk, repeat, mods)) return 1;
  return 0;
}

LRESULT PaintManager::RouteWheel(WPARAM w, LPARAM l) {
  CPoint pt = win::ScreenToClient(hwnd_, CPoint(GET_X_LPARAM(l), GET_Y_LPARAM(l)));
  int delta = GET_WHEEL_DELTA_WPARAM(w);
  int steps = std::abs(delta / WHEEL_DELTA);
  if (steps == 0) steps = 1;
  for (int i = 0; i < steps; ++i) {
    UINT dir = delta <= 0 ? 1 : 0;
    if (hover_ && hover_->OnScroll(1, dir, pt)) continue;
    for (MControl* c : GetControls())
      if (c->OnScroll(1, dir, pt)) break;
  }
  return 1;
}

LRESULT PaintManager::RouteMouse(UINT msg, WPARAM w, LPARAM l) {
  CPoint pt(GET_X_LPARAM(l), GET_Y_LPARAM(l));
  UINT flags = static_cast<UINT>(w);
  switch (msg) {
    case WM_MOUSEMOVE: {
      if (!tracking_) {
        win::TrackMouse(hwnd_, 400);
        tracking_ = true;
      }
      if (hover_ && hover_->PtInRect(pt) && hover_->OnCheckMouseResponse(flags, pt)) {
        hover_->OnMouseMove(flags, pt);
        return 1;
      }
      if (tooltipOwner_ != 0) ClearTooltip();
      if ((flags & (MK_LBUTTON | MK_RBUTTON)) && hover_) {
        hover_->OnMouseMove(flags, pt);  // a press dragged outside still reaches its control
        return 1;
      }
      MControl* found = nullptr;
      for (MControl* c : GetControls()) {
        c->OnMouseMove(flags, pt);
        if (c->PtInRect(pt) && c->GetRresponse()) found = c;
      }
      hover_ = found;
      return 1;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      bool right = msg == WM_RBUTTONDOWN;
      if (!hover_) {
        for (MControl* c : GetControls())
          if (c->PtInRect(pt) && c->GetRresponse()) hover_ = c;
      }
      if (focus_ && focus_ != hover_) SetFocusControl(nullptr);
      MControl* h = hover_;
      if (h && h->IsVisible() && h->GetRresponse() && h->PtInRect(pt) && h->OnCheckMouseResponse(flags, pt)) {
        focus_ = h;  // the control's own routing decides its inner focus
        pressed_ = h;
        if (right) h->OnRButtonDown(flags, pt); else h->OnLButtonDown(flags, pt);
        if (!IsCaptured()) SetCapture();
        return 1;
      }
      if (!right && wndDrag_) {
        ReleaseCapture();
        win::SendMessage(hwnd_, WM_NCLBUTTONDOWN, static_cast<WPARAM>(HTCAPTION), l);
      }
      return 1;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      ReleaseCapture();
      MControl* h = hover_;
      pressed_ = nullptr;
      if (h && h->IsVisible() && h->GetRresponse()) {
        if (msg == WM_RBUTTONUP) h->OnRButtonUp(flags, pt); else h->OnLButtonUp(flags, pt);
        if (hover_ == h && !h->GetRect().PtInRect(pt)) hover_ = nullptr;
      }
      return 1;
    }
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK: {
      MControl* h = hover_;
      if (h && h->IsVisible() && h->GetRresponse()) {
        if (msg == WM_RBUTTONDBLCLK) h->OnRButtonDblClk(flags, pt); else h->OnLButtonDblClk(flags, pt);
        if (!IsCaptured()) SetCapture();
      }
      return 1;
    }
    case WM_MOUSELEAVE: {
      ClearTooltip();
      tracking_ = false;
      if (!pressed_ && hover_) {
        MControl* h = hover_;
        hover_ = nullptr;
        h->OnMouseMove(0, CPoint(-1, -1));
      }
      return 1;
    }
    default:
      return 0;
  }
}

LRESULT PaintManager::OnWindowMessage(UINT msg, WPARAM w, LPARAM l) {
  {
    for (MControl* c : GetControls())
      if (c->OnWindowMessage(msg, w, l)) return 0;
  }
  switch (msg) {
    case WM_PAINT:
      OnPaint();
      return 1;
    case WM_GETMINMAXINFO: {
      auto* mmi = reinterpret_cast<MINMAXINFO*>(l);
      if (mmi) {
        if (maxSize_.cx > 0 && maxSize_.cy > 0) {
          mmi->ptMaxTrackSize = CPoint(maxSize_.cx, maxSize_.cy);
          mmi->ptMaxSize = mmi->ptMaxTrackSize;
        }
        if (minSize_.cx > 0 && minSize_.cy > 0) mmi->ptMinTrackSize = CPoint(minSize_.cx, minSize_.cy);
      }
      return 1;
    }
    case WM_CREATE:
    case WM_DESTROY:
    case WM_SIZE:
    case WM_CHAR:
    case WM_MOUSEHOVER:
      return 1;
    case WM_NCDESTROY:
      DestroyData();
      return 1;
    case WM_NCACTIVATE:
      if (!w) {
        ReleaseCapture();
        pressed_ = nullptr;
        tracking_ = false;
        if (MControl* h = hover_) {
          hover_ = nullptr;
          h->OnLButtonUp(0, CPoint(-1, -1));
        }
      }
      Invalidate();
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return RouteKey(w, l);
    case WM_TIMER:
      OnTimerMessage(static_cast<UINT>(w));
      return 1;
    case WM_MOUSEWHEEL:
      return RouteWheel(w, l);
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MOUSELEAVE:
      return RouteMouse(msg, w, l);
    default:
      return 0;
  }
}

void PaintManager::DestroyData() {
  if (!initialized_) return;
  initialized_ = 0;
  KillMTimer();
  ClearTimers();
  if (hwnd_) {
    win::KillTimer(hwnd_, kTimerMessageEnd);
    win::KillTimer(hwnd_, kTimerFade);
    win::KillTimer(hwnd_, kTimerProgress);
    win::KillTimer(hwnd_, kTimerDump);
  }
  ClearAllControls();
  {
    std::lock_guard<std::recursive_mutex> g(mtimerLock_);
    mtimerControls_.clear();
  }
  if (tooltipWnd_ && win::IsWindow(tooltipWnd_)) win::DestroyWindow(tooltipWnd_);
  tooltipWnd_ = nullptr;
  bkImage_.reset();
  ClearImgResInfo();
  ClearTempFont();
  hover_ = focus_ = pressed_ = nullptr;
}
