// The one place where SDL events become the toolkit's window messages: mouse in
// client coordinates with the key flags, double clicks from SDL's click count, wheel
// steps of 120, keys as virtual-key codes, size, paint, close, activation, leave.
#include "WindowRecord.h"

#include <korinui/TextCodec.h>

namespace korinui::win {
namespace detail {
namespace {

HWND InputTarget(Uint32 windowId) {
  auto& st = State();
  if (st.capture && IsWindow(st.capture)) return st.capture;
  return FromSdlId(windowId);
}

WPARAM MouseFlags(Uint32 buttons) {
  WPARAM f = 0;
  if (buttons & SDL_BUTTON_LMASK) f |= MK_LBUTTON;
  if (buttons & SDL_BUTTON_RMASK) f |= MK_RBUTTON;
  if (buttons & SDL_BUTTON_MMASK) f |= MK_MBUTTON;
  if (IsKeyDown(VK_SHIFT)) f |= MK_SHIFT;
  if (IsKeyDown(VK_CONTROL)) f |= MK_CONTROL;
  return f;
}

// Screen position of an event point given in the coordinates of SDL window `id`.
CPoint EventToScreen(Uint32 id, int x, int y) {
  HWND src = FromSdlId(id);
  return src ? CPoint(src->rect.left + x, src->rect.top + y) : CPoint(x, y);
}

bool AcceptsInput(HWND h) { return h && h->enabled && h->visible; }

void FollowDrag() {
  auto& st = State();
  HWND h = st.dragging;
  if (!h || !IsWindow(h)) return;
  CPoint p = PointerScreen();
  int dx = p.x - st.dragStartPointer.x, dy = p.y - st.dragStartPointer.y;
  CRect r = h->rect;
  int w = r.Width(), ht = r.Height();
  r.left = st.dragStartWindow.x + dx;
  r.top = st.dragStartWindow.y + dy;
  r.right = r.left + w;
  r.bottom = r.top + ht;
  MoveWindow(h, r, false);
}

void WindowEvent(const SDL_WindowEvent& we) {
  auto& st = State();
  HWND h = FromSdlId(we.windowID);
  if (!h) return;
  switch (we.event) {
    case SDL_WINDOWEVENT_CLOSE:
      Enqueue(MSG{h, WM_CLOSE, 0, 0, SDL_GetTicks(), {}});
      break;
    case SDL_WINDOWEVENT_EXPOSED:
      InvalidateRect(h, nullptr);
      break;
    case SDL_WINDOWEVENT_MOVED:
      if (st.dragging != h) {
        int w = h->rect.Width(), ht = h->rect.Height();
        h->rect = CRect(we.data1, we.data2, we.data1 + w, we.data2 + ht);
      }
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      if (we.data1 != h->rect.Width() || we.data2 != h->rect.Height()) {
        h->rect.right = h->rect.left + we.data1;
        h->rect.bottom = h->rect.top + we.data2;
        SendMessage(h, WM_SIZE, h->maximized ? SIZE_MAXIMIZED : SIZE_RESTORED,
                    MAKELPARAM(we.data1, we.data2));
        InvalidateRect(h, nullptr);
      }
      break;
    case SDL_WINDOWEVENT_MINIMIZED:
      if (!h->minimized) {
        h->minimized = true;
        SendMessage(h, WM_SIZE, SIZE_MINIMIZED, 0);
      }
      break;
    case SDL_WINDOWEVENT_RESTORED:
      if (h->minimized) {
        h->minimized = false;
        SendMessage(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(h->rect.Width(), h->rect.Height()));
        InvalidateRect(h, nullptr);
      }
      break;
    case SDL_WINDOWEVENT_LEAVE:
      if (h->trackLeave) {
        h->trackLeave = false;
        h->trackHover = false;
        Enqueue(MSG{h, WM_MOUSELEAVE, 0, 0, SDL_GetTicks(), {}});
      }
      break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      // A window we have just shown owns the activation for a moment: the display
      // server's focus notices for the previous window arrive late.
      if (h != st.active && h->visible && h->enabled &&
          !(st.active && SDL_GetTicks() - st.active->shownAt < 300))
        Activate(h);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      if (h == st.active && SDL_GetTicks() - h->shownAt >= 300) {
        SDL_Window* focus = SDL_GetKeyboardFocus();
        if (!focus || focus == h->sdl) Activate(nullptr);
      }
      break;
    default:
      break;
  }
}

void MouseMotion(const SDL_MouseMotionEvent& me) {
  auto& st = State();
  st.pointer = EventToScreen(me.windowID, me.x, me.y);
  if (st.dragging) {
    FollowDrag();
    return;
  }
  HWND h = InputTarget(me.windowID);
  if (!AcceptsInput(h)) return;
  CPoint p = ScreenToClient(h, st.pointer);
  if (h->trackHover) h->hoverDue = SDL_GetTicks() + static_cast<Uint32>(h->hoverMs);
  Enqueue(MSG{h, WM_MOUSEMOVE, MouseFlags(me.state), MAKELPARAM(p.x, p.y), SDL_GetTicks(), st.pointer});
}

void MouseButton(const SDL_MouseButtonEvent& be) {
  auto& st = State();
  st.pointer = EventToScreen(be.windowID, be.x, be.y);
  bool down = be.type == SDL_MOUSEBUTTONDOWN;
  if (!down && be.button == SDL_BUTTON_LEFT && st.dragging) {
    st.dragging = nullptr;
    return;
  }
  HWND h = InputTarget(be.windowID);
  if (!AcceptsInput(h)) return;
  if (down && !(h->exStyle & WS_EX_NOACTIVATE) && st.active != h) Activate(h);
  UINT msg;
  bool dbl = down && be.clicks >= 2 && be.clicks % 2 == 0;
  if (be.button == SDL_BUTTON_LEFT) msg = !down ? WM_LBUTTONUP : dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
  else if (be.button == SDL_BUTTON_RIGHT) msg = !down ? WM_RBUTTONUP : dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN;
  else return;
  Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
  Uint32 mask = SDL_BUTTON(be.button);
  buttons = down ? (buttons | mask) : (buttons & ~mask);
  CPoint p = ScreenToClient(h, st.pointer);
  Enqueue(MSG{h, msg, MouseFlags(buttons), MAKELPARAM(p.x, p.y), SDL_GetTicks(), st.pointer});
}

void MouseWheel(const SDL_MouseWheelEvent& we) {
  auto& st = State();
  HWND h = InputTarget(we.windowID);
  if (!AcceptsInput(h) || we.y == 0) return;
  int y = we.direction == SDL_MOUSEWHEEL_FLIPPED ? -we.y : we.y;
  CPoint p = st.pointer;
  WPARAM w = MAKEWPARAM(static_cast<int>(MouseFlags(SDL_GetMouseState(nullptr, nullptr))), y * WHEEL_DELTA);
  Enqueue(MSG{h, WM_MOUSEWHEEL, w, MAKELPARAM(p.x, p.y), SDL_GetTicks(), p});
}

void Key(const SDL_KeyboardEvent& ke) {
  auto& st = State();
  bool down = ke.type == SDL_KEYDOWN;
  UINT vk = ScancodeToVk(ke.keysym.scancode);
  if (vk == 0) return;
  bool wasDown = st.keys[vk];
  st.keys[vk] = down;
  UINT generic = (vk == VK_LSHIFT || vk == VK_RSHIFT) ? VK_SHIFT
                 : (vk == VK_LCONTROL || vk == VK_RCONTROL) ? VK_CONTROL
                 : (vk == VK_LMENU || vk == VK_RMENU) ? VK_MENU : vk;
  HWND h = (st.active && IsWindow(st.active)) ? st.active : FromSdlId(ke.windowID);
  if (!AcceptsInput(h)) return;
  bool sys = IsKeyDown(VK_MENU) || generic == VK_MENU || generic == VK_F1 + 9;  // F10 is a system key too
  UINT msg = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  LPARAM l = 1 | (static_cast<LPARAM>(ke.keysym.scancode & 0xFF) << 16);
  if (wasDown) l |= LPARAM(1) << 30;
  if (!down) l |= (LPARAM(1) << 30) | (LPARAM(1) << 31);
  Enqueue(MSG{h, msg, generic, l, SDL_GetTicks(), st.pointer});
}

void TextInput(const SDL_TextInputEvent& te) {
  auto& st = State();
  HWND h = (st.active && IsWindow(st.active)) ? st.active : FromSdlId(te.windowID);
  if (!AcceptsInput(h)) return;
  for (wchar_t c : Utf8ToWide(te.text))
    Enqueue(MSG{h, WM_CHAR, static_cast<WPARAM>(c), 1, SDL_GetTicks(), st.pointer});
}

}  // namespace

CPoint PointerScreen() { return State().pointer; }
}  // namespace detail
CPoint GetCursorPos() { return detail::PointerScreen(); }
namespace detail {

void TranslateEvent(const SDL_Event& ev) {
  switch (ev.type) {
    case SDL_WINDOWEVENT: WindowEvent(ev.window); break;
    case SDL_MOUSEMOTION: MouseMotion(ev.motion); break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: MouseButton(ev.button); break;
    case SDL_MOUSEWHEEL: MouseWheel(ev.wheel); break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: Key(ev.key); break;
    case SDL_TEXTINPUT: TextInput(ev.text); break;
    default: break;  // the wake-up event only ends the wait
  }
}

}  // namespace detail

// Scripted input goes through SDL's own queue so it takes the same road as a user's.
void InjectMouseMove(HWND h, CPoint client) {
  if (!IsWindow(h)) return;
  SDL_Event ev{};
  ev.type = SDL_MOUSEMOTION;
  ev.motion.windowID = h->sdlId;
  ev.motion.x = client.x;
  ev.motion.y = client.y;
  ev.motion.state = SDL_GetMouseState(nullptr, nullptr);
  SDL_PushEvent(&ev);
}

void InjectMouseButton(HWND h, CPoint client, bool right, bool down, int clicks) {
  if (!IsWindow(h)) return;
  SDL_Event ev{};
  ev.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  ev.button.windowID = h->sdlId;
  ev.button.button = right ? SDL_BUTTON_RIGHT : SDL_BUTTON_LEFT;
  ev.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  ev.button.clicks = static_cast<Uint8>(clicks < 1 ? 1 : clicks);
  ev.button.x = client.x;
  ev.button.y = client.y;
  SDL_PushEvent(&ev);
}

void InjectWheel(HWND h, int steps) {
  if (!IsWindow(h)) return;
  SDL_Event ev{};
  ev.type = SDL_MOUSEWHEEL;
  ev.wheel.windowID = h->sdlId;
  ev.wheel.y = steps;
  ev.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
  SDL_PushEvent(&ev);
}

void InjectKey(HWND h, UINT vk, bool down) {
  if (!IsWindow(h)) return;
  SDL_Event ev{};
  ev.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  ev.key.windowID = h->sdlId;
  ev.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  ev.key.keysym.scancode = detail::VkToScancode(vk);
  SDL_PushEvent(&ev);
}

}  // namespace korinui::win
