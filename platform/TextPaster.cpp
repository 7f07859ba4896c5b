#include "platform/TextPaster.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <memory>
#include <thread>

#include "korinui/TextCodec.h"

namespace platform {
namespace {

struct DisplayCloser {
  void operator()(Display* d) const { XCloseDisplay(d); }
};

// Keeps SDL's event pump turning (it answers the clipboard requests of other
// windows) for the given time.
void ServeFor(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    SDL_PumpEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace

X11TextPaster::X11TextPaster() { videoReady_ = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0; }

X11TextPaster::~X11TextPaster() {
  if (videoReady_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool X11TextPaster::PasteText(const std::wstring& text) {
  if (!videoReady_) return false;
  if (SDL_SetClipboardText(korinui::WideToUtf8(text).c_str()) != 0) return false;
  std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
  int event = 0, error = 0, major = 0, minor = 0;
  bool pressed = false;
  if (display && XTestQueryExtension(display.get(), &event, &error, &major, &minor)) {
    const KeyCode ctrl = XKeysymToKeycode(display.get(), XK_Control_L);
    const KeyCode v = XKeysymToKeycode(display.get(), XK_v);
    if (ctrl != 0 && v != 0) {
      XTestFakeKeyEvent(display.get(), ctrl, True, CurrentTime);
      XTestFakeKeyEvent(display.get(), v, True, CurrentTime);
      XFlush(display.get());
      ServeFor(kHoldMs);
      XTestFakeKeyEvent(display.get(), v, False, CurrentTime);
      XTestFakeKeyEvent(display.get(), ctrl, False, CurrentTime);
      XFlush(display.get());
      ServeFor(kServeMs);
      pressed = true;
    }
  }
  // Emptied whatever happened, so the text does not stay on the clipboard.
  SDL_SetClipboardText("");
  return pressed;
}

}  // namespace platform
