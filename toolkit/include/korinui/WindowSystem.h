// The toolkit's window system: native windows, the message queue, timers, capture,
// cursors and presentation of painted pixels. Implemented over SDL2 in
// toolkit/platform; nothing here exposes SDL.
//
// Threading: every call belongs to the user-interface thread (the thread that created
// the first window) except PostMessage, InvalidateRect and IsWindow, which any thread
// may call. Calls on a null or destroyed handle do nothing and return 0/false.
#pragma once

#include <korinui/Types.h>
#include <korinui/WinDefs.h>

#include <string>

namespace korinui::win {

// Starts the video subsystem once. With no display and no SDL_VIDEODRIVER set, the
// offscreen driver is chosen so windows work without a screen. False when SDL fails.
bool Initialize();
// The name of the video driver in use ("x11", "offscreen", ...), empty before Initialize.
std::string VideoDriver();
// True on the thread that runs the windows.
bool IsUiThread();

// Creates an undecorated top-level window at `rect` (screen coordinates) with the given
// procedure. WM_NCCREATE, WM_CREATE and WM_SIZE reach `proc` before this returns;
// `createParam` travels in CREATESTRUCTW::lpCreateParams. The window starts hidden
// unless `style` has WS_VISIBLE. Null on failure.
HWND CreateWindow(const std::wstring& caption, DWORD style, DWORD exStyle, CRect rect,
                  HWND owner, WNDPROC proc, void* createParam);
// Sends WM_DESTROY and WM_NCDESTROY, then frees the native window. The handle stays
// a valid key for IsWindow (false afterwards) but nothing else.
bool DestroyWindow(HWND);
bool IsWindow(HWND);

// The per-window word the object binding uses.
void SetUserData(HWND, void*);
void* GetUserData(HWND);
WNDPROC GetWindowProc(HWND);

LRESULT DefWindowProc(HWND, UINT, WPARAM, LPARAM);
LRESULT SendMessage(HWND, UINT, WPARAM, LPARAM);
bool PostMessage(HWND, UINT, WPARAM, LPARAM);
void PostQuitMessage(int exitCode);

// Waits for the next message (timers, paints and input are generated while waiting).
// Returns false for WM_QUIT.
bool GetMessage(MSG* msg);
// Non-blocking form: true when a message was taken.
bool PeekMessage(MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
// Runs the queue for `ms` milliseconds (tests and demos); false when WM_QUIT arrived.
bool PumpFor(int ms);

bool ShowWindow(HWND, int showCommand);
bool IsWindowVisible(HWND);
bool IsIconic(HWND);
bool IsZoomed(HWND);
bool MoveWindow(HWND, CRect screenRect, bool repaint);
CRect GetWindowRect(HWND);
CRect GetClientRect(HWND);  // always at (0, 0)
CPoint ClientToScreen(HWND, CPoint);
CPoint ScreenToClient(HWND, CPoint);
CRect GetWorkArea(HWND);  // the usable area of the display holding the window
bool EnableWindow(HWND, bool enable);
bool IsWindowEnabled(HWND);
HWND GetOwner(HWND);
DWORD GetStyle(HWND);
DWORD GetExStyle(HWND);
void SetStyle(HWND, DWORD);
void SetExStyle(HWND, DWORD);
bool SetWindowText(HWND, const std::wstring&);
std::wstring GetWindowText(HWND);
bool SetTopmost(HWND, bool);
// Whole-window alpha (255 opaque); stands in for per-pixel layering.
bool SetWindowAlpha(HWND, BYTE alpha);
bool SetWindowIcon(HWND, const std::wstring& pngPath);

// Activation: the active window gets WM_NCACTIVATE(1)/WM_ACTIVATE(WA_ACTIVE), the
// one it replaces WM_NCACTIVATE(0)/WM_ACTIVATE(WA_INACTIVE).
HWND GetActiveWindow();
bool SetActiveWindow(HWND);
bool SetForegroundWindow(HWND);

HWND SetCapture(HWND);
bool ReleaseCapture();
HWND GetCapture();
void SetCursor(HCURSOR);
// Asks for WM_MOUSELEAVE when the pointer leaves and WM_MOUSEHOVER after it rested
// `hoverMs`; each fires once per request.
void TrackMouse(HWND, int hoverMs);
// Moves the window with the pointer while the left button stays down (caption drag).
void BeginWindowDrag(HWND);
bool IsKeyDown(UINT vk);

// Window timers: WM_TIMER(id) every `ms` until killed. Setting an existing id restarts it.
UINT_PTR SetTimer(HWND, UINT_PTR id, UINT ms);
bool KillTimer(HWND, UINT_PTR id);

// Repaint bookkeeping: the update rectangle grows by union; WM_PAINT is generated
// when the queue is empty.
bool InvalidateRect(HWND, const CRect* rect);  // null = whole client area
CRect GetUpdateRect(HWND);
void ValidateRect(HWND);
// Shows `area` of a client-sized ARGB32 buffer (premultiplied, stride in bytes).
bool Present(HWND, const std::uint32_t* pixels, int width, int height, int stride, CRect area);
// The last presented picture of the whole client area, as a PNG file.
bool SaveWindowPicture(HWND, const std::string& path);

DWORD GetTickCount();
int GetDoubleClickTime();

}  // namespace korinui::win

namespace korinui::win {
// Scripted input for tests and demos: queued through the same event road as real
// input (client coordinates of `hwnd`). UI thread only.
void InjectMouseMove(HWND hwnd, CPoint client);
void InjectMouseButton(HWND hwnd, CPoint client, bool right, bool down, int clicks = 1);
void InjectWheel(HWND hwnd, int steps);
void InjectKey(HWND hwnd, UINT vk, bool down);
}  // namespace korinui::win

namespace korinui::win {
// The last known pointer position in screen coordinates.
CPoint GetCursorPos();
}  // namespace korinui::win
