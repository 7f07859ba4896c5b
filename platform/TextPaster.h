// Pasting a text into the window that has the keyboard focus: the text goes
// on the clipboard, Ctrl+V is synthesized, and the clipboard is emptied.
#pragma once

#include <string>

namespace platform {

class TextPaster {
 public:
  virtual ~TextPaster() = default;
  // Blocks for the key presses (about 100 ms) and the paste. False when the
  // clipboard or the key events are not available. User-interface thread.
  virtual bool PasteText(const std::wstring& text) = 0;
};

// SDL clipboard + XTest key events on the X display.
class X11TextPaster final : public TextPaster {
 public:
  // How long V is held, and how long the clipboard is kept served after the
  // keys so that the focused window can fetch the text before it is emptied.
  static constexpr int kHoldMs = 100;
  static constexpr int kServeMs = 200;

  X11TextPaster();
  ~X11TextPaster() override;
  X11TextPaster(const X11TextPaster&) = delete;
  X11TextPaster& operator=(const X11TextPaster&) = delete;

  bool PasteText(const std::wstring& text) override;

 private:
  bool videoReady_ = false;
};

}  // namespace platform
