// The message queue: posted messages and translated input in arrival order, then
// paints, then timers and hover notices, as the desktop's queue ordered them.
#include "WindowRecord.h"

#include <algorithm>

namespace korinui::win {
namespace detail {

void Enqueue(const MSG& msg) {
  auto& st = State();
  std::lock_guard<std::recursive_mutex> guard(st.lock);
  st.queue.push_back(msg);
}

}  // namespace detail

using detail::State;

namespace {

void PollSdl() {
  SDL_Event ev;
  while (SDL_PollEvent(&ev)) detail::TranslateEvent(ev);
}

bool TakeQueued(MSG* msg) {
  auto& st = State();
  std::lock_guard<std::recursive_mutex> guard(st.lock);
  if (st.queue.empty()) return false;
  *msg = st.queue.front();
  st.queue.pop_front();
  return true;
}

bool TakePaint(MSG* msg) {
  auto& st = State();
  std::lock_guard<std::recursive_mutex> guard(st.lock);
  for (HWND h : st.order) {
    if (h->visible && !h->minimized && !h->invalid.IsRectEmpty()) {
      *msg = MSG{h, WM_PAINT, 0, 0, SDL_GetTicks(), {}};
      return true;
    }
  }
  return false;
}

bool TakeTimerOrHover(MSG* msg, Uint32 now) {
  auto& st = State();
  detail::TimerRecord* best = nullptr;
  for (auto& t : st.timers)
    if (static_cast<Sint32>(now - t.due) >= 0 && (!best || static_cast<Sint32>(t.due - best->due) < 0))
      best = &t;
  if (best) {
    best->due = now + best->interval;  // one pending tick at most, like the desktop
    *msg = MSG{best->hwnd, WM_TIMER, best->id, 0, now, {}};
    return true;
  }
  for (HWND h : st.order) {
    if (h->trackHover && static_cast<Sint32>(now - h->hoverDue) >= 0) {
      h->trackHover = false;
      CPoint p = ScreenToClient(h, detail::PointerScreen());
      *msg = MSG{h, WM_MOUSEHOVER, 0, MAKELPARAM(p.x, p.y), now, {}};
      return true;
    }
  }
  return false;
}

Uint32 NextWait(Uint32 now) {
  auto& st = State();
  Sint32 wait = 100;
  for (auto& t : st.timers) wait = std::min(wait, static_cast<Sint32>(t.due - now));
  for (HWND h : st.order)
    if (h->trackHover) wait = std::min(wait, static_cast<Sint32>(h->hoverDue - now));
  return static_cast<Uint32>(std::max<Sint32>(wait, 1));
}

}  // namespace

LRESULT SendMessage(HWND h, UINT msg, WPARAM w, LPARAM l) {
  WNDPROC proc = GetWindowProc(h);
  return proc ? proc(h, msg, w, l) : 0;
}

bool PostMessage(HWND h, UINT msg, WPARAM w, LPARAM l) {
  auto& st = State();
  {
    std::lock_guard<std::recursive_mutex> guard(st.lock);
    if (!h || !st.live.count(h)) return false;
    st.queue.push_back(MSG{h, msg, w, l, SDL_GetTicks(), {}});
  }
  if (!IsUiThread()) {
    SDL_Event wake{};
    wake.type = st.wakeEvent;
    SDL_PushEvent(&wake);
  }
  return true;
}

void PostQuitMessage(int exitCode) {
  auto& st = State();
  std::lock_guard<std::recursive_mutex> guard(st.lock);
  st.quit = true;
  st.quitCode = exitCode;
}

bool PeekMessage(MSG* msg) {
  auto& st = State();
  if (!st.initialized) return false;
  PollSdl();
  if (TakeQueued(msg)) return true;
  {
    std::lock_guard<std::recursive_mutex> guard(st.lock);
    if (st.quit) {
      st.quit = false;
      *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(st.quitCode), 0, SDL_GetTicks(), {}};
      return true;
    }
  }
  if (TakePaint(msg)) return true;
  return TakeTimerOrHover(msg, SDL_GetTicks());
}

bool GetMessage(MSG* msg) {
  if (!Initialize()) {
    *msg = MSG{nullptr, WM_QUIT, 0, 0, 0, {}};
    return false;
  }
  for (;;) {
    if (PeekMessage(msg)) return msg->message != WM_QUIT;
    SDL_Event ev;
    if (SDL_WaitEventTimeout(&ev, static_cast<int>(NextWait(SDL_GetTicks()))))
      detail::TranslateEvent(ev);
  }
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg || !msg->hwnd || !IsWindow(msg->hwnd)) return 0;
  return SendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

bool PumpFor(int ms) {
  if (!Initialize()) return false;
  Uint32 end = SDL_GetTicks() + static_cast<Uint32>(std::max(ms, 0));
  MSG msg;
  for (;;) {
    // The deadline is checked per message: a window that repaints continuously
    // never leaves the queue empty.
    while (static_cast<Sint32>(SDL_GetTicks() - end) < 0 && PeekMessage(&msg)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the real loop
        return false;
      }
      DispatchMessage(&msg);
    }
    Uint32 now = SDL_GetTicks();
    if (static_cast<Sint32>(now - end) >= 0) return true;
    SDL_Event ev;
    Uint32 wait = std::min(NextWait(now), end - now);
    if (SDL_WaitEventTimeout(&ev, static_cast<int>(wait))) detail::TranslateEvent(ev);
  }
}

UINT_PTR SetTimer(HWND h, UINT_PTR id, UINT ms) {
  if (!IsWindow(h)) return 0;
  auto& st = State();
  Uint32 due = SDL_GetTicks() + std::max<UINT>(ms, 1);
  for (auto& t : st.timers) {
    if (t.hwnd == h && t.id == id) {
      t.interval = std::max<UINT>(ms, 1);
      t.due = due;
      return id;
    }
  }
  st.timers.push_back(detail::TimerRecord{h, id, std::max<UINT>(ms, 1), due});
  return id;
}

bool KillTimer(HWND h, UINT_PTR id) {
  auto& st = State();
  auto n = std::erase_if(st.timers, [&](const detail::TimerRecord& t) { return t.hwnd == h && t.id == id; });
  return n != 0;
}

LRESULT DefWindowProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_NCCREATE:
    case WM_ERASEBKGND:
      return 1;
    case WM_CLOSE:
      DestroyWindow(h);
      return 0;
    case WM_PAINT:
      ValidateRect(h);
      return 0;
    case WM_NCHITTEST:
      return HTCLIENT;
    case WM_NCLBUTTONDOWN:
      if (w == static_cast<WPARAM>(HTCAPTION)) BeginWindowDrag(h);
      return 0;
    case WM_SYSKEYDOWN:
      if (w == VK_F4 && IsKeyDown(VK_MENU)) PostMessage(h, WM_CLOSE, 0, 0);
      return 0;
    default:
      return 0;
  }
}

}  // namespace korinui::win
