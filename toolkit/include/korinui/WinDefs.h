// Window-system vocabulary of the toolkit: handles, the message record, message
// numbers, key codes and flag bits. The numbers are the classic desktop values the
// program's stored data and custom messages were built around, so they stay fixed.
#pragma once

#include <korinui/Types.h>

#include <cstdint>

class Painter;
struct KWindowRecord;  // the platform's window; opaque outside toolkit/platform

using HWND = KWindowRecord*;
// A drawing target: the painter over the paint's back buffer.
using HDC = Painter*;
using HINSTANCE = void*;
using HMENU = void*;
using UINT_PTR = std::uintptr_t;
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
using HCURSOR = int;  // one of the KCursor values; 0 = none

struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
  CPoint pt;
};

struct CREATESTRUCTW {
  void* lpCreateParams = nullptr;
  HWND hwndParent = nullptr;
  DWORD style = 0;
  DWORD dwExStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  const wchar_t* lpszName = nullptr;
};

struct MINMAXINFO {
  CPoint ptReserved, ptMaxSize, ptMaxPosition, ptMinTrackSize, ptMaxTrackSize;
};
struct WINDOWPOS {
  HWND hwnd = nullptr;
  int x = 0, y = 0, cx = 0, cy = 0;
  UINT flags = 0;
};
struct NCCALCSIZE_PARAMS {
  CRect rgrc[3];
};
using RECT = CRect;
using POINT = CPoint;

enum KCursor : int {
  KCURSOR_NONE = 0,
  KCURSOR_ARROW,
  KCURSOR_WAIT,
  KCURSOR_CROSS,
  KCURSOR_SIZEWE,
  KCURSOR_SIZENS,
  KCURSOR_HAND,
  KCURSOR_HELP,
};

// Messages.
constexpr UINT WM_NULL = 0x0000, WM_CREATE = 0x0001, WM_DESTROY = 0x0002, WM_MOVE = 0x0003,
               WM_SIZE = 0x0005, WM_ACTIVATE = 0x0006, WM_SETFOCUS = 0x0007,
               WM_KILLFOCUS = 0x0008, WM_ENABLE = 0x000A, WM_PAINT = 0x000F, WM_CLOSE = 0x0010,
               WM_QUIT = 0x0012, WM_ERASEBKGND = 0x0014, WM_SHOWWINDOW = 0x0018,
               WM_SETCURSOR = 0x0020, WM_GETMINMAXINFO = 0x0024,
               WM_WINDOWPOSCHANGING = 0x0046, WM_WINDOWPOSCHANGED = 0x0047,
               WM_NCCREATE = 0x0081, WM_NCDESTROY = 0x0082, WM_NCCALCSIZE = 0x0083,
               WM_NCHITTEST = 0x0084, WM_NCPAINT = 0x0085, WM_NCACTIVATE = 0x0086,
               WM_NCLBUTTONDOWN = 0x00A1, WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101,
               WM_CHAR = 0x0102, WM_SYSKEYDOWN = 0x0104, WM_SYSKEYUP = 0x0105,
               WM_COMMAND = 0x0111, WM_TIMER = 0x0113, WM_CTLCOLOREDIT = 0x0133,
               WM_CTLCOLORSTATIC = 0x0138, WM_MOUSEMOVE = 0x0200, WM_LBUTTONDOWN = 0x0201,
               WM_LBUTTONUP = 0x0202, WM_LBUTTONDBLCLK = 0x0203, WM_RBUTTONDOWN = 0x0204,
               WM_RBUTTONUP = 0x0205, WM_RBUTTONDBLCLK = 0x0206, WM_MOUSEWHEEL = 0x020A,
               WM_MOUSEHOVER = 0x02A1, WM_MOUSELEAVE = 0x02A3, WM_USER = 0x0400;
// The toolkit's close-with-result message (wParam = result).
constexpr UINT WM_KORIN_CLOSE = 0x0442;
constexpr UINT OCM_BASE = 0x2000;  // reflected child messages

// Window styles used by the toolkit (bit values as the stored style words use them).
constexpr DWORD WS_POPUP = 0x80000000u, WS_CHILD = 0x40000000u, WS_VISIBLE = 0x10000000u,
                WS_DISABLED = 0x08000000u, WS_CLIPSIBLINGS = 0x04000000u,
                WS_CLIPCHILDREN = 0x02000000u, WS_CAPTION = 0x00C00000u,
                WS_THICKFRAME = 0x00040000u, WS_MINIMIZE = 0x20000000u,
                WS_MAXIMIZE = 0x01000000u;
constexpr DWORD WS_EX_TOPMOST = 0x00000008u, WS_EX_TRANSPARENT = 0x00000020u,
                WS_EX_TOOLWINDOW = 0x00000080u, WS_EX_LAYERED = 0x00080000u,
                WS_EX_NOACTIVATE = 0x08000000u;

// Mouse key flags in wParam of mouse messages.
constexpr UINT MK_LBUTTON = 0x0001, MK_RBUTTON = 0x0002, MK_SHIFT = 0x0004,
               MK_CONTROL = 0x0008, MK_MBUTTON = 0x0010;

constexpr LRESULT HTCLIENT = 1, HTCAPTION = 2;

// Dialog results.
constexpr int IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7;

// Show commands.
constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWMINIMIZED = 2, SW_MAXIMIZE = 3,
              SW_SHOWNOACTIVATE = 4, SW_SHOW = 5, SW_MINIMIZE = 6, SW_SHOWNA = 8,
              SW_RESTORE = 9;

// WM_SIZE types.
constexpr UINT SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2;

// WM_ACTIVATE states.
constexpr UINT WA_INACTIVE = 0, WA_ACTIVE = 1;

// Virtual-key codes.
constexpr UINT VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10,
               VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14,
               VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22,
               VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27,
               VK_DOWN = 0x28, VK_SNAPSHOT = 0x2C, VK_INSERT = 0x2D, VK_DELETE = 0x2E,
               VK_LWIN = 0x5B, VK_RWIN = 0x5C, VK_APPS = 0x5D, VK_NUMPAD0 = 0x60,
               VK_MULTIPLY = 0x6A, VK_ADD = 0x6B, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E,
               VK_DIVIDE = 0x6F, VK_F1 = 0x70, VK_F4 = 0x73, VK_F12 = 0x7B, VK_F24 = 0x87,
               VK_NUMLOCK = 0x90, VK_SCROLL = 0x91, VK_LSHIFT = 0xA0, VK_RSHIFT = 0xA1,
               VK_LCONTROL = 0xA2, VK_RCONTROL = 0xA3, VK_LMENU = 0xA4, VK_RMENU = 0xA5,
               VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD,
               VK_OEM_PERIOD = 0xBE, VK_OEM_2 = 0xBF, VK_OEM_3 = 0xC0, VK_OEM_4 = 0xDB,
               VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE, VK_OEM_102 = 0xE2;

// Packing helpers for the message words.
constexpr LPARAM MAKELPARAM(int lo, int hi) {
  return static_cast<LPARAM>(static_cast<std::uint32_t>(static_cast<std::uint16_t>(lo)) |
                             (static_cast<std::uint32_t>(static_cast<std::uint16_t>(hi)) << 16));
}
constexpr WPARAM MAKEWPARAM(int lo, int hi) {
  return static_cast<WPARAM>(static_cast<std::uint32_t>(MAKELPARAM(lo, hi)));
}
constexpr int GET_X_LPARAM(LPARAM l) { return static_cast<std::int16_t>(l & 0xFFFF); }
constexpr int GET_Y_LPARAM(LPARAM l) { return static_cast<std::int16_t>((l >> 16) & 0xFFFF); }
constexpr unsigned LOWORD(std::uintptr_t v) { return static_cast<unsigned>(v & 0xFFFF); }
constexpr unsigned HIWORD(std::uintptr_t v) { return static_cast<unsigned>((v >> 16) & 0xFFFF); }
constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM w) { return static_cast<std::int16_t>(HIWORD(w)); }
constexpr int WHEEL_DELTA = 120;
