// Encodings used inside the keyboard's macro payload: HID keyboard usages,
// the delay byte and the built-in shortcut sequences.
#pragma once

#include <cstdint>
#include <vector>

// One macro event on the wire: HID keyboard usage id, then the delay byte.
struct MacroWireEvent {
  uint8_t usage = 0;
  uint8_t delay = 0;
  bool operator==(const MacroWireEvent&) const = default;
};

// Delay byte: bit 7 released, bits 6-5 unit (10, 50, 100, 1000 ms), bits 4-0
// count 1-31. Delays up to 10 ms (and negative ones) are sent as 10 ms, those
// above 31000 ms as 31000 ms.
uint8_t EncodeDelay(bool released, int delayMs);

// HID usage (keyboard page) of a Windows virtual-key code or of one of the
// program's own key codes (666, 301, 302, 136-139); 0 for any other code.
uint8_t VirtualKeyToUsage(int virtualKey);

// Events of built-in shortcut 1-15 (Ctrl+A ... Alt+F4); empty for any other value.
std::vector<MacroWireEvent> ShortcutSequence(int value);
