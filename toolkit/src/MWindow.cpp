#include <korinui/MWindow.h>
#include <korinui/Manager.h>
#include <korinui/WindowSystem.h>

namespace win = korinui::win;

MWindow::~MWindow() {
  Manager::DeleteWnd(this);
  if (hwnd_ && win::IsWindow(hwnd_)) {
    HWND h = hwnd_;
    win::SetUserData(h, nullptr);  // no message may reach a half-destroyed object
    hwnd_ = nullptr;
    win::DestroyWindow(h);
  }
}

LRESULT MWindow::WndProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
  auto* self = static_cast<MWindow*>(win::GetUserData(h));
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(l);
    self = cs ? static_cast<MWindow*>(cs->lpCreateParams) : nullptr;
    if (self) {
      win::SetUserData(h, self);
      self->hwnd_ = h;
    }
  }
  if (!self) return win::DefWindowProc(h, msg, w, l);
  if (msg == WM_NCDESTROY) {
    LRESULT r = win::DefWindowProc(h, msg, w, l);
    win::SetUserData(h, nullptr);
    self->hwnd_ = nullptr;
    self->OnDestroyMessage(h);  // may delete the object (menus)
    return r;
  }
  return self->OnWindowMessage(msg, w, l);
}

LRESULT MWindow::OnWindowMessage(UINT msg, WPARAM w, LPARAM l) { return win::DefWindowProc(hwnd_, msg, w, l); }

HWND MWindow::Create(HWND parent) { return Create(parent, L"KorinClient", 0x80B, 0, CRect()); }
HWND MWindow::Create(HWND parent, CRect rect) { return Create(parent, L"KorinClient", 0x80B, 0, rect); }

HWND MWindow::Create(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle, CRect rect, HMENU) {
  if (hwnd_ && win::IsWindow(hwnd_)) return hwnd_;
  if (rect.IsRectEmpty()) {  // the platform's default place and size
    CRect work = win::Initialize() ? win::GetWorkArea(nullptr) : CRect(0, 0, 1280, 800);
    rect = CRect(work.left + 40, work.top + 40, work.left + 680, work.top + 520);
  }
  parentHwnd_ = parent;
  HWND h = win::CreateWindow(title ? title : L"", style, exStyle, rect, parent, &MWindow::WndProc, this);
  if (!h) return nullptr;
  Manager::AddWnd(this);
  OnInitDialog();
  return hwnd_;
}

BOOL MWindow::ShowWindow(int cmd) { return win::ShowWindow(hwnd_, cmd); }

UINT MWindow::ShowModal(int showCommand) {
  HWND h = hwnd_;
  if (!h || !win::IsWindow(h)) return static_cast<UINT>(-1);
  HWND owner = win::GetOwner(h);
  win::ShowWindow(h, showCommand);
  if (owner) win::EnableWindow(owner, false);
  UINT result = 0;
  bool ownerBack = false;
  MSG msg;
  while (win::IsWindow(h)) {
    if (!win::GetMessage(&msg)) {
      win::PostQuitMessage(static_cast<int>(msg.wParam));  // the outer loop ends too
      break;
    }
    if (msg.message == WM_CLOSE && msg.hwnd == h) {
      result = static_cast<UINT>(msg.wParam);
      if (owner) {
        win::EnableWindow(owner, true);
        win::SetActiveWindow(owner);
        ownerBack = true;
      }
    }
    if (!PreTranslateMessage(&msg)) win::DispatchMessage(&msg);
  }
  if (owner && win::IsWindow(owner) && (!ownerBack || !win::IsWindowEnabled(owner))) {
    win::EnableWindow(owner, true);
    win::SetActiveWindow(owner);
  }
  return result;
}

BOOL MWindow::DestroyWindow() { return win::DestroyWindow(hwnd_); }

void MWindow::CenterWindow(MWindow* relativeTo) {
  if (!hwnd_) return;
  CRect me = win::GetWindowRect(hwnd_);
  CRect work = win::GetWorkArea(hwnd_);
  CRect ref = work;
  HWND other = relativeTo ? relativeTo->GetSafeHwnd() : win::GetOwner(hwnd_);
  if (other && win::IsWindowVisible(other) && !win::IsIconic(other)) ref = win::GetWindowRect(other);
  int w = me.Width(), h = me.Height();
  int x = ref.left + (ref.Width() - w) / 2, y = ref.top + (ref.Height() - h) / 2;
  if (x + w > work.right) x = work.right - w;
  if (y + h > work.bottom) y = work.bottom - h;
  if (x < work.left) x = work.left;
  if (y < work.top) y = work.top;
  win::MoveWindow(hwnd_, CRect(x, y, x + w, y + h), false);
}

void MWindow::BringToTop() {
  if (!hwnd_) return;
  if (win::IsIconic(hwnd_)) win::ShowWindow(hwnd_, SW_RESTORE);
  else win::ShowWindow(hwnd_, SW_SHOW);
  win::SetForegroundWindow(hwnd_);
}

BOOL MWindow::SetIcon(const CString& pngPath) { return win::SetWindowIcon(hwnd_, pngPath); }
UINT_PTR MWindow::SetTimer(UINT id, UINT ms, TIMERPROC) { return win::SetTimer(hwnd_, id, ms); }
BOOL MWindow::KillTimer(UINT id) { return win::KillTimer(hwnd_, id); }
HWND MWindow::SetCapture() { return win::SetCapture(hwnd_); }
BOOL MWindow::ReleaseCapture() { return win::ReleaseCapture(); }
void MWindow::SetFocus() { win::SetActiveWindow(hwnd_); }
BOOL MWindow::EnableWindow(BOOL enable) { return win::EnableWindow(hwnd_, enable != 0); }
BOOL MWindow::IsWindowEnabled() const { return win::IsWindowEnabled(hwnd_); }
BOOL MWindow::IsWindowVisible() const { return win::IsWindowVisible(hwnd_); }
BOOL MWindow::IsIconic() const { return win::IsIconic(hwnd_); }
DWORD MWindow::GetStyle() const { return win::GetStyle(hwnd_); }
DWORD MWindow::GetExStyle() const { return win::GetExStyle(hwnd_); }
BOOL MWindow::ModifyStyle(DWORD remove, DWORD add) {
  if (!hwnd_) return 0;
  win::SetStyle(hwnd_, (win::GetStyle(hwnd_) & ~remove) | add);
  return 1;
}
BOOL MWindow::ModifyExStyle(DWORD remove, DWORD add) {
  if (!hwnd_) return 0;
  win::SetExStyle(hwnd_, (win::GetExStyle(hwnd_) & ~remove) | add);
  return 1;
}
CRect MWindow::GetClientRect() const { return win::GetClientRect(hwnd_); }
CRect MWindow::GetWindowRect() const { return win::GetWindowRect(hwnd_); }
BOOL MWindow::SetWindowTextW(const wchar_t* t) { return win::SetWindowText(hwnd_, t ? t : L""); }
CString MWindow::GetWindowTextW() const { return win::GetWindowText(hwnd_); }
BOOL MWindow::InvalidateRect(CRect r, BOOL) { return win::InvalidateRect(hwnd_, &r); }
CPoint MWindow::ClientToScreen(CPoint p) const { return win::ClientToScreen(hwnd_, p); }
CPoint MWindow::ScreenToClient(CPoint p) const { return win::ScreenToClient(hwnd_, p); }
BOOL MWindow::MoveWindow(CRect r, BOOL repaint) { return win::MoveWindow(hwnd_, r, repaint != 0); }
BOOL MWindow::SetWindowPos(int x, int y, int cx, int cy) { return win::MoveWindow(hwnd_, CRect(x, y, x + cx, y + cy), true); }
LRESULT MWindow::SendMessageW(UINT m, WPARAM w, LPARAM l) { return win::SendMessage(hwnd_, m, w, l); }
BOOL MWindow::PostMessageW(UINT m, WPARAM w, LPARAM l) { return win::PostMessage(hwnd_, m, w, l); }
