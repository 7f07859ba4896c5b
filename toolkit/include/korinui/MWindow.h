// A native toolkit window bound to its object: creation, the modal loop, placement,
// timers, capture and enabling. Operations on a destroyed window do nothing and
// return 0. UI thread only.
#pragma once

#include <korinui/WinDefs.h>

class MWindow {
 public:
  MWindow() = default;
  virtual ~MWindow();
  MWindow(const MWindow&) = delete;
  MWindow& operator=(const MWindow&) = delete;

  virtual const wchar_t* GetWindowClassName() const { return L"KorinClient"; }
  virtual const wchar_t* GetSuperClassName() const { return nullptr; }
  virtual BOOL ShowWindow(int showCommand);
  // Unhandled messages go to the platform's default procedure.
  virtual LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  virtual BOOL PreTranslateMessage(MSG* msg) { return 0; }
  virtual BOOL OnInitDialog() { return 1; }
  virtual void OnDestroyMessage(HWND hwnd) {}

  // Returns the existing handle, or creates the window (hidden unless WS_VISIBLE),
  // then runs OnInitDialog. Null on failure.
  HWND Create(HWND parent);
  HWND Create(HWND parent, CRect rect);
  HWND Create(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle, CRect rect, HMENU menu = nullptr);
  BOOL RegisterWindowClass() { return 1; }
  BOOL RegisterSuperClass() { return 1; }

  HWND GetSafeHwnd() const { return hwnd_; }
  HWND GetParentHwnd() const { return parentHwnd_; }
  // Shows the window, disables its owner and runs messages until the window is gone;
  // returns the wParam of the close message (-1 as unsigned when there is no window).
  UINT ShowModal(int showCommand = SW_SHOW);
  BOOL DestroyWindow();
  // Centres on `relativeTo`, else on a visible owner, else on the work area, and keeps
  // the window inside the work area.
  void CenterWindow(MWindow* relativeTo = nullptr);
  void BringToTop();
  BOOL SetIcon(const CString& pngPath);
  UINT_PTR SetTimer(UINT id, UINT ms, TIMERPROC proc = nullptr);
  BOOL KillTimer(UINT id);
  HWND SetCapture();
  BOOL ReleaseCapture();
  void SetFocus();
  BOOL EnableWindow(BOOL enable = 1);
  BOOL IsWindowEnabled() const;
  BOOL IsWindowVisible() const;
  BOOL IsIconic() const;
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  BOOL ModifyStyle(DWORD remove, DWORD add);
  BOOL ModifyExStyle(DWORD remove, DWORD add);
  CRect GetClientRect() const;
  CRect GetWindowRect() const;
  BOOL SetWindowTextW(const wchar_t* text);
  CString GetWindowTextW() const;
  int GetWindowTextLengthW() const { return static_cast<int>(GetWindowTextW().size()); }
  BOOL InvalidateRect(CRect rect, BOOL erase = 0);
  CPoint ClientToScreen(CPoint p) const;
  CPoint ScreenToClient(CPoint p) const;
  BOOL MoveWindow(CRect rect, BOOL repaint = 1);
  BOOL SetWindowPos(int x, int y, int cx, int cy);
  LRESULT SendMessageW(UINT msg, WPARAM w = 0, LPARAM l = 0);
  BOOL PostMessageW(UINT msg, WPARAM w = 0, LPARAM l = 0);

  static LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 protected:
  HWND parentHwnd_ = nullptr;
  HWND hwnd_ = nullptr;
  WNDPROC oldProc_ = nullptr;
};
