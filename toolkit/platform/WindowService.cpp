// Native windows over SDL2: creation, destruction, placement, state and presentation.
#include "WindowRecord.h"

#include <korinui/TextCodec.h>

#include <cairo.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace korinui::win {
namespace detail {

WindowSystem& State() {
  static WindowSystem* state = new WindowSystem();  // outlives every static destructor
  return *state;
}

HWND FromSdlId(Uint32 id) {
  auto& st = State();
  for (HWND h : st.order)
    if (h->sdlId == id) return h;
  return nullptr;
}

// Sends the activation pair to the old and the new active window.
void Activate(HWND hwnd) {
  auto& st = State();
  if (st.active == hwnd) return;
  HWND old = st.active;
  st.active = hwnd;
  if (old && IsWindow(old)) {
    SendMessage(old, WM_NCACTIVATE, 0, 0);
    SendMessage(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(hwnd));
  }
  if (hwnd && IsWindow(hwnd)) {
    SendMessage(hwnd, WM_NCACTIVATE, 1, 0);
    SendMessage(hwnd, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(old));
  }
}

}  // namespace detail

using detail::State;

namespace {

std::thread::id g_uiThread;

bool Alive(HWND h) {
  if (!h) return false;
  auto& st = State();
  std::lock_guard<std::recursive_mutex> guard(st.lock);
  return st.live.count(h) != 0;
}

void SendSize(HWND h) {
  UINT type = h->minimized ? SIZE_MINIMIZED : h->maximized ? SIZE_MAXIMIZED : SIZE_RESTORED;
  SendMessage(h, WM_SIZE, type, MAKELPARAM(h->rect.Width(), h->rect.Height()));
}

}  // namespace

bool Initialize() {
  auto& st = State();
  if (st.initialized) return true;
  // Without a screen, windows still work on the offscreen driver (tests, dumps).
  if (!std::getenv("SDL_VIDEODRIVER") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) return false;
  st.wakeEvent = SDL_RegisterEvents(1);
  SDL_StopTextInput();  // text input is switched on by the editors that need it
  g_uiThread = std::this_thread::get_id();
  st.initialized = true;
  return true;
}

std::string VideoDriver() {
  const char* name = State().initialized ? SDL_GetCurrentVideoDriver() : nullptr;
  return name ? name : "";
}

bool IsUiThread() { return std::this_thread::get_id() == g_uiThread; }

HWND CreateWindow(const std::wstring& caption, DWORD style, DWORD exStyle, CRect rect,
                  HWND owner, WNDPROC proc, void* createParam) {
  if (!Initialize() || !proc) return nullptr;
  auto& st = State();
  if (rect.IsRectEmpty()) rect = CRect(0, 0, 1, 1);
  Uint32 flags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN;
  if (exStyle & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST)) flags |= SDL_WINDOW_SKIP_TASKBAR;
  if (exStyle & WS_EX_TOOLWINDOW) flags |= SDL_WINDOW_POPUP_MENU;
  if (exStyle & WS_EX_TOPMOST) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
  std::string title = WideToUtf8(caption);
  SDL_Window* sdl = SDL_CreateWindow(title.c_str(), rect.left, rect.top, rect.Width(),
                                     rect.Height(), flags);
  if (!sdl) return nullptr;
  auto* h = new KWindowRecord();
  h->sdl = sdl;
  h->sdlId = SDL_GetWindowID(sdl);
  h->caption = caption;
  h->style = style & ~WS_VISIBLE;
  h->exStyle = exStyle;
  h->owner = owner;
  h->proc = proc;
  h->rect = rect;
  {
    std::lock_guard<std::recursive_mutex> guard(st.lock);
    st.live.insert(h);
  }
  st.order.push_back(h);
  CREATESTRUCTW cs;
  cs.lpCreateParams = createParam;
  cs.hwndParent = owner;
  cs.style = style;
  cs.dwExStyle = exStyle;
  cs.x = rect.left;
  cs.y = rect.top;
  cs.cx = rect.Width();
  cs.cy = rect.Height();
  cs.lpszName = h->caption.c_str();
  if (!SendMessage(h, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) ||
      SendMessage(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(h);
    return nullptr;
  }
  SendSize(h);
  InvalidateRect(h, nullptr);
  if (style & WS_VISIBLE) ShowWindow(h, SW_SHOW);
  return h;
}

bool DestroyWindow(HWND h) {
  if (!Alive(h)) return false;
  auto& st = State();
  if (h->visible) ShowWindow(h, SW_HIDE);
  // Owned windows go first, as the platform did.
  std::vector<HWND> owned;
  for (HWND w : st.order)
    if (w->owner == h) owned.push_back(w);
  for (HWND w : owned) DestroyWindow(w);
  SendMessage(h, WM_DESTROY, 0, 0);
  SendMessage(h, WM_NCDESTROY, 0, 0);
  if (st.capture == h) ReleaseCapture();
  if (st.active == h) st.active = nullptr;
  if (st.dragging == h) st.dragging = nullptr;
  std::erase_if(st.timers, [h](const detail::TimerRecord& t) { return t.hwnd == h; });
  std::erase(st.order, h);
  {
    std::lock_guard<std::recursive_mutex> guard(st.lock);
    st.live.erase(h);
    std::erase_if(st.queue, [h](const MSG& m) { return m.hwnd == h; });
  }
  SDL_DestroyWindow(h->sdl);
  delete h;
  return true;
}

bool IsWindow(HWND h) { return Alive(h); }

void SetUserData(HWND h, void* data) {
  if (Alive(h)) h->userData = data;
}
void* GetUserData(HWND h) { return Alive(h) ? h->userData : nullptr; }
WNDPROC GetWindowProc(HWND h) { return Alive(h) ? h->proc : nullptr; }

bool ShowWindow(HWND h, int cmd) {
  if (!Alive(h)) return false;
  bool wasVisible = h->visible;
  auto& st = State();
  switch (cmd) {
    case SW_HIDE:
      if (!h->visible) return false;
      h->visible = false;
      SDL_HideWindow(h->sdl);
      SendMessage(h, WM_SHOWWINDOW, 0, 0);
      if (st.active == h) {
        HWND next = (h->owner && IsWindowVisible(h->owner)) ? h->owner : nullptr;
        detail::Activate(next);
      }
      return wasVisible;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
      h->minimized = true;
      SDL_MinimizeWindow(h->sdl);
      SendSize(h);
      return wasVisible;
    case SW_MAXIMIZE:
      h->maximized = true;
      h->minimized = false;
      SDL_MaximizeWindow(h->sdl);
      break;
    case SW_RESTORE:
      if (h->minimized) {
        h->minimized = false;
        SDL_RestoreWindow(h->sdl);
        SendSize(h);
      } else if (h->maximized) {
        h->maximized = false;
        SDL_RestoreWindow(h->sdl);
      }
      break;
    default:
      break;
  }
  if (!h->visible) {
    h->visible = true;
    h->shownAt = SDL_GetTicks();
    SDL_ShowWindow(h->sdl);
    SendMessage(h, WM_SHOWWINDOW, 1, 0);
    InvalidateRect(h, nullptr);
  }
  bool noActivate = cmd == SW_SHOWNA || cmd == SW_SHOWNOACTIVATE || (h->exStyle & WS_EX_NOACTIVATE);
  if (!noActivate) {
    SDL_RaiseWindow(h->sdl);
    detail::Activate(h);
  }
  return wasVisible;
}

bool IsWindowVisible(HWND h) { return Alive(h) && h->visible; }
bool IsIconic(HWND h) { return Alive(h) && h->minimized; }
bool IsZoomed(HWND h) { return Alive(h) && h->maximized; }

bool MoveWindow(HWND h, CRect r, bool repaint) {
  if (!Alive(h)) return false;
  bool resized = r.Width() != h->rect.Width() || r.Height() != h->rect.Height();
  bool moved = r.left != h->rect.left || r.top != h->rect.top;
  if (r.Width() < 1) r.right = r.left + 1;
  if (r.Height() < 1) r.bottom = r.top + 1;
  h->rect = r;
  if (moved) SDL_SetWindowPosition(h->sdl, r.left, r.top);
  if (resized) {
    SDL_SetWindowSize(h->sdl, r.Width(), r.Height());
    SendSize(h);
  }
  if (moved) SendMessage(h, WM_MOVE, 0, MAKELPARAM(r.left, r.top));
  if (resized || repaint) InvalidateRect(h, nullptr);
  return true;
}

CRect GetWindowRect(HWND h) { return Alive(h) ? h->rect : CRect(); }
CRect GetClientRect(HWND h) {
  return Alive(h) ? CRect(0, 0, h->rect.Width(), h->rect.Height()) : CRect();
}
CPoint ClientToScreen(HWND h, CPoint p) {
  return Alive(h) ? CPoint(p.x + h->rect.left, p.y + h->rect.top) : p;
}
CPoint ScreenToClient(HWND h, CPoint p) {
  return Alive(h) ? CPoint(p.x - h->rect.left, p.y - h->rect.top) : p;
}

CRect GetWorkArea(HWND h) {
  int display = (Alive(h) && h->sdl) ? SDL_GetWindowDisplayIndex(h->sdl) : 0;
  if (display < 0) display = 0;
  SDL_Rect r;
  if (SDL_GetDisplayUsableBounds(display, &r) != 0 || r.w <= 0 || r.h <= 0) {
    if (SDL_GetDisplayBounds(display, &r) != 0 || r.w <= 0 || r.h <= 0) r = SDL_Rect{0, 0, 1920, 1080};
  }
  return CRect(r.x, r.y, r.x + r.w, r.y + r.h);
}

bool EnableWindow(HWND h, bool enable) {
  if (!Alive(h)) return false;
  bool wasDisabled = !h->enabled;
  if (h->enabled != enable) {
    h->enabled = enable;
    if (enable) h->style &= ~WS_DISABLED; else h->style |= WS_DISABLED;
    if (!enable && State().capture == h) ReleaseCapture();
    SendMessage(h, WM_ENABLE, enable ? 1 : 0, 0);
  }
  return wasDisabled;
}

bool IsWindowEnabled(HWND h) { return Alive(h) && h->enabled; }
HWND GetOwner(HWND h) { return Alive(h) ? h->owner : nullptr; }
DWORD GetStyle(HWND h) {
  if (!Alive(h)) return 0;
  DWORD s = h->style;
  if (h->visible) s |= WS_VISIBLE;
  if (h->minimized) s |= WS_MINIMIZE;
  if (h->maximized) s |= WS_MAXIMIZE;
  return s;
}
DWORD GetExStyle(HWND h) { return Alive(h) ? h->exStyle : 0; }
void SetStyle(HWND h, DWORD s) {
  if (Alive(h)) h->style = s & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
}
void SetExStyle(HWND h, DWORD s) {
  if (!Alive(h)) return;
  if ((s ^ h->exStyle) & WS_EX_TOPMOST) SetTopmost(h, (s & WS_EX_TOPMOST) != 0);
  h->exStyle = s;
}

bool SetWindowText(HWND h, const std::wstring& text) {
  if (!Alive(h)) return false;
  h->caption = text;
  SDL_SetWindowTitle(h->sdl, WideToUtf8(text).c_str());
  return true;
}
std::wstring GetWindowText(HWND h) { return Alive(h) ? h->caption : std::wstring(); }

bool SetTopmost(HWND h, bool on) {
  if (!Alive(h)) return false;
  if (on) h->exStyle |= WS_EX_TOPMOST; else h->exStyle &= ~WS_EX_TOPMOST;
  SDL_SetWindowAlwaysOnTop(h->sdl, on ? SDL_TRUE : SDL_FALSE);
  return true;
}

bool SetWindowAlpha(HWND h, BYTE alpha) {
  if (!Alive(h)) return false;
  h->alpha = alpha;
  // Drivers without a compositor refuse; the window then stays opaque.
  SDL_SetWindowOpacity(h->sdl, alpha / 255.0f);
  return true;
}

bool SetWindowIcon(HWND h, const std::wstring& pngPath) {
  if (!Alive(h)) return false;
  cairo_surface_t* img = cairo_image_surface_create_from_png(WideToUtf8(pngPath).c_str());
  bool ok = cairo_surface_status(img) == CAIRO_STATUS_SUCCESS;
  if (ok) {
    cairo_surface_flush(img);
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(
        cairo_image_surface_get_data(img), cairo_image_surface_get_width(img),
        cairo_image_surface_get_height(img), 32, cairo_image_surface_get_stride(img),
        SDL_PIXELFORMAT_ARGB8888);
    ok = icon != nullptr;
    if (icon) {
      SDL_SetWindowIcon(h->sdl, icon);
      SDL_FreeSurface(icon);
    }
  }
  cairo_surface_destroy(img);
  return ok;
}

HWND GetActiveWindow() { return State().active; }
bool SetActiveWindow(HWND h) {
  if (h && !Alive(h)) return false;
  detail::Activate(h);
  return true;
}
bool SetForegroundWindow(HWND h) {
  if (!Alive(h)) return false;
  SDL_RaiseWindow(h->sdl);
  detail::Activate(h);
  return true;
}

HWND SetCapture(HWND h) {
  auto& st = State();
  HWND old = st.capture;
  if (!Alive(h)) return old;
  st.capture = h;
  SDL_CaptureMouse(SDL_TRUE);
  return old;
}
bool ReleaseCapture() {
  auto& st = State();
  if (!st.capture) return false;
  st.capture = nullptr;
  SDL_CaptureMouse(SDL_FALSE);
  return true;
}
HWND GetCapture() { return State().capture; }

void SetCursor(HCURSOR cursor) {
  auto& st = State();
  if (cursor == KCURSOR_NONE || cursor == st.cursor || !st.initialized) return;
  static SDL_Cursor* cache[KCURSOR_HELP + 1] = {};
  static const SDL_SystemCursor kinds[] = {
      SDL_SYSTEM_CURSOR_ARROW, SDL_SYSTEM_CURSOR_ARROW, SDL_SYSTEM_CURSOR_WAIT,
      SDL_SYSTEM_CURSOR_CROSSHAIR, SDL_SYSTEM_CURSOR_SIZEWE, SDL_SYSTEM_CURSOR_SIZENS,
      SDL_SYSTEM_CURSOR_HAND, SDL_SYSTEM_CURSOR_ARROW};
  if (cursor < 0 || cursor > KCURSOR_HELP) return;
  if (!cache[cursor]) cache[cursor] = SDL_CreateSystemCursor(kinds[cursor]);
  if (cache[cursor]) SDL_SetCursor(cache[cursor]);
  st.cursor = cursor;
}

void TrackMouse(HWND h, int hoverMs) {
  if (!Alive(h)) return;
  h->trackLeave = true;
  h->trackHover = true;
  h->hoverMs = hoverMs;
  h->hoverDue = SDL_GetTicks() + static_cast<Uint32>(hoverMs);
}

void BeginWindowDrag(HWND h) {
  if (!Alive(h)) return;
  auto& st = State();
  st.dragging = h;
  st.dragStartPointer = detail::PointerScreen();
  st.dragStartWindow = h->rect.TopLeft();
}

bool IsKeyDown(UINT vk) {
  auto& st = State();
  if (vk >= 256) return false;
  if (st.keys[vk]) return true;
  switch (vk) {  // either side counts for the generic modifier codes
    case VK_SHIFT: return st.keys[VK_LSHIFT] || st.keys[VK_RSHIFT];
    case VK_CONTROL: return st.keys[VK_LCONTROL] || st.keys[VK_RCONTROL];
    case VK_MENU: return st.keys[VK_LMENU] || st.keys[VK_RMENU];
    default: return false;
  }
}

bool InvalidateRect(HWND h, const CRect* rect) {
  auto& st = State();
  std::lock_guard<std::recursive_mutex> guard(st.lock);
  if (!h || !st.live.count(h)) return false;
  CRect client(0, 0, h->rect.Width(), h->rect.Height());
  CRect r = client;
  if (rect && !r.IntersectRect(*rect, client)) return true;
  h->invalid.UnionRect(h->invalid, r);
  if (!IsUiThread() && st.wakeEvent != static_cast<Uint32>(-1)) {
    SDL_Event wake{};
    wake.type = st.wakeEvent;
    SDL_PushEvent(&wake);
  }
  return true;
}

CRect GetUpdateRect(HWND h) {
  auto& st = State();
  std::lock_guard<std::recursive_mutex> guard(st.lock);
  return (h && st.live.count(h)) ? h->invalid : CRect();
}

void ValidateRect(HWND h) {
  auto& st = State();
  std::lock_guard<std::recursive_mutex> guard(st.lock);
  if (h && st.live.count(h)) h->invalid.SetRectEmpty();
}

bool Present(HWND h, const std::uint32_t* pixels, int width, int height, int stride, CRect area) {
  if (!Alive(h) || !pixels || width <= 0 || height <= 0) return false;
  if (h->pictureWidth != width || h->pictureHeight != height) {
    h->picture.assign(static_cast<size_t>(width) * height, 0);
    h->pictureWidth = width;
    h->pictureHeight = height;
  }
  CRect r;
  if (!r.IntersectRect(area, CRect(0, 0, width, height))) return true;
  for (int y = r.top; y < r.bottom; ++y) {
    const auto* src = reinterpret_cast<const std::uint32_t*>(
        reinterpret_cast<const unsigned char*>(pixels) + static_cast<size_t>(y) * stride);
    std::memcpy(&h->picture[static_cast<size_t>(y) * width + r.left], src + r.left,
                static_cast<size_t>(r.Width()) * 4);
  }
  SDL_Surface* surface = SDL_GetWindowSurface(h->sdl);
  if (!surface) return true;  // nothing to show on, the picture is still kept
  SDL_Rect dst{r.left, r.top, r.Width(), r.Height()};
  if (surface->w < r.right || surface->h < r.bottom) {
    SDL_Rect clip{0, 0, surface->w, surface->h};
    SDL_IntersectRect(&dst, &clip, &dst);
  }
  if (dst.w > 0 && dst.h > 0) {
    const void* src = reinterpret_cast<const unsigned char*>(h->picture.data()) +
                      (static_cast<size_t>(dst.y) * width + dst.x) * 4;
    void* out = static_cast<unsigned char*>(surface->pixels) +
                static_cast<size_t>(dst.y) * surface->pitch + dst.x * surface->format->BytesPerPixel;
    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    SDL_ConvertPixels(dst.w, dst.h, SDL_PIXELFORMAT_ARGB8888, src, width * 4,
                      surface->format->format, out, surface->pitch);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    SDL_UpdateWindowSurfaceRects(h->sdl, &dst, 1);
  }
  return true;
}

bool SaveWindowPicture(HWND h, const std::string& path) {
  if (!Alive(h) || h->picture.empty()) return false;
  cairo_surface_t* s = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(h->picture.data()), CAIRO_FORMAT_ARGB32, h->pictureWidth,
      h->pictureHeight, h->pictureWidth * 4);
  std::string tmp = path + ".part";
  bool ok = cairo_surface_write_to_png(s, tmp.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(s);
  // Readers never see a half-written picture.
  if (ok) ok = std::rename(tmp.c_str(), path.c_str()) == 0;
  else std::remove(tmp.c_str());
  return ok;
}

DWORD GetTickCount() { return SDL_GetTicks(); }
int GetDoubleClickTime() {
  const char* hint = SDL_GetHint(SDL_HINT_MOUSE_DOUBLE_CLICK_TIME);
  int v = hint ? std::atoi(hint) : 0;
  return v > 0 ? v : 500;
}

}  // namespace korinui::win
