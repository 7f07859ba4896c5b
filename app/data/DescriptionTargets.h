// What the description readers drive, as small interfaces that the device
// link, the main window and the toolkit adapters implement. All calls come on
// the thread that runs the reader (the user-interface thread at start and on
// model selection); implementations need no locking of their own for them.
#pragma once

#include <string>

#include "korinui/Types.h"

// The device manager's list of identity filters (which HID devices to open).
class DeviceFilterRegistry {
 public:
  virtual ~DeviceFilterRegistry() = default;
  // Registers vid/pid; `name` is empty; `idPattern` is "VID_%04X&PID_%04X".
  virtual void AddDeviceIdFilter(int vid, int pid, const std::wstring& name, const std::wstring& idPattern) = 0;
};

// The device selector control (CDeviceCtrl).
class DeviceSelector {
 public:
  virtual ~DeviceSelector() = default;
  virtual void AddDevice(const std::wstring& name, int vid, int pid, int type, bool present) = 0;
};

// The main window's frame texts filled from config.xml.
class FrameTexts {
 public:
  virtual ~FrameTexts() = default;
  virtual void SetCaptionText(const std::wstring& text) = 0;
  virtual void SetVersionText(const std::wstring& text) = 0;  // already "Ver: %s"
  virtual void SetCopyrightText(const std::wstring& text) = 0;
};

// Input-report readers: one per model, then the device notifications.
class InputReaderHost {
 public:
  virtual ~InputReaderHost() = default;
  virtual void StartInputReader(int vid, int pid, int type) = 0;
  virtual void RegisterDeviceNotifications() = 0;
};

// One on-screen keyboard control (KeyboardCtrl) of a page.
class OnScreenKeyboard {
 public:
  virtual ~OnScreenKeyboard() = default;
  virtual void ClearItem() = 0;
  virtual void SetRect(const CRect& rect) = 0;
  virtual void SetKeyboardImage(const std::wstring& relativePath) = 0;  // "keyboard/" + image
  virtual void SetWidthAndHeight(int width, int height) = 0;
  virtual void AddKeyItem(const std::wstring& name, const std::wstring& desc, int code, const CRect& rect,
                          const std::wstring& iconPath) = 0;
  virtual void SetLightModeColor(int mode, COLORREF color) = 0;
};

// The three page keyboards, each enabled by its page-mask bit; null ones are skipped.
struct PageKeyboards {
  OnScreenKeyboard* key_page = nullptr;       // bit 0x01
  OnScreenKeyboard* lighting_page = nullptr;  // bit 0x04
  OnScreenKeyboard* settings_page = nullptr;  // bit 0x40
};
