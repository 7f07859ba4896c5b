// Private state of the SDL window system shared by its three translation units
// (windows, queue, event translation). Only toolkit/platform includes this.
#pragma once

#include <korinui/WindowSystem.h>

#include <SDL.h>

#include <deque>
#include <mutex>
#include <set>
#include <string>
#include <vector>

struct KWindowRecord {
  SDL_Window* sdl = nullptr;
  Uint32 sdlId = 0;
  std::wstring caption;
  DWORD style = 0, exStyle = 0;
  HWND owner = nullptr;
  WNDPROC proc = nullptr;
  void* userData = nullptr;
  CRect rect;  // screen rectangle as we last set or learnt it
  bool visible = false, enabled = true, minimized = false, maximized = false;
  BYTE alpha = 255;
  // Hover and leave tracking (one request each).
  bool trackLeave = false, trackHover = false;
  int hoverMs = 400;
  Uint32 hoverDue = 0;
  Uint32 shownAt = 0;
  // Guarded by WindowSystem::lock: the update rectangle (other threads invalidate).
  CRect invalid;
  // The last presented picture of the client area (for the window and for dumps).
  std::vector<std::uint32_t> picture;
  int pictureWidth = 0, pictureHeight = 0;
};

namespace korinui::win::detail {

struct TimerRecord {
  HWND hwnd;
  UINT_PTR id;
  UINT interval;
  Uint32 due;
};

struct WindowSystem {
  std::recursive_mutex lock;          // guards live, queue and every record's `invalid`
  std::set<HWND> live;                // windows that exist
  std::deque<MSG> queue;              // posted messages and translated input
  std::vector<TimerRecord> timers;    // UI thread only
  std::vector<HWND> order;            // creation order (UI thread only)
  HWND active = nullptr, capture = nullptr;
  HWND dragging = nullptr;            // window moved by a caption drag
  CPoint dragStartPointer, dragStartWindow;
  CPoint pointer;                     // last known pointer position in screen coordinates
  HCURSOR cursor = KCURSOR_NONE;
  bool keys[256] = {};
  bool quit = false;
  int quitCode = 0;
  Uint32 wakeEvent = 0;
  bool initialized = false;
};

WindowSystem& State();
HWND FromSdlId(Uint32 id);            // UI thread
void TranslateEvent(const SDL_Event& event);
void Enqueue(const MSG& msg);
CPoint PointerScreen();
void Activate(HWND hwnd);
// SDL scan codes are HID usages; these give the desktop virtual-key codes back.
UINT ScancodeToVk(SDL_Scancode sc);
SDL_Scancode VkToScancode(UINT vk);

}  // namespace korinui::win::detail
