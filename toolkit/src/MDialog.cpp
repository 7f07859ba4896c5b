#include <korinui/MDialog.h>
#include <korinui/Manager.h>
#include <korinui/WindowSystem.h>

namespace win = korinui::win;

MDialog::~MDialog() {
  // The window goes first so no message reaches the controls being deleted.
  if (hwnd_ && win::IsWindow(hwnd_)) {
    HWND h = hwnd_;
    win::SetUserData(h, nullptr);
    hwnd_ = nullptr;
    win::DestroyWindow(h);
  }
  manager_.DestroyData();
}

MControl* MDialog::CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* title,
                                 int visible, int enabled) {
  return manager_.CreateControl(1, static_cast<MObject*>(this), className, id, rect, title, visible, enabled);
}

MControl* MDialog::CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title,
                              int visible, int enabled) {
  return manager_.CreateControl(0, static_cast<MObject*>(this), className, id, rect, title, visible, enabled);
}

BOOL MDialog::PreTranslateMessage(MSG* msg) {
  if (Manager::PreTranslateMessage(msg)) return 1;
  return manager_.PreTranslateMessage(msg) != 0;
}

BOOL MDialog::OnInitDialog() {
  manager_.Init(hwnd_, this);
  clientRect_ = GetClientRect();
  InitUI(clientRect_);
  return 1;
}

void MDialog::OnDestroyMessage(HWND hwnd) {
  if (hwnd == manager_.GetPaintWnd()) manager_.DestroyData();
  PostNcDestroy();
}

void MDialog::OnMinimize() { ShowWindow(SW_MINIMIZE); }
void MDialog::OnMaximize() { ShowWindow(win::IsZoomed(hwnd_) ? SW_RESTORE : SW_MAXIMIZE); }

LRESULT MDialog::OnUserCloseWindow(WPARAM w, LPARAM l) {
  PostMessageW(WM_CLOSE, w, l);
  return 1;
}

LRESULT MDialog::OnCreate(CREATESTRUCTW*) {
  // No platform decoration: the skin draws the whole window.
  ModifyStyle(WS_CAPTION | WS_THICKFRAME, WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
  return 0;
}

LRESULT MDialog::OnSize(UINT type, int, int) {
  if (type == SIZE_MINIMIZED) return 0;
  if (alpha_ != 255) win::SetWindowAlpha(hwnd_, alpha_);
  clientRect_ = GetClientRect();
  if (clientRect_.Width() > 1 && clientRect_.Height() > 1) UISize(clientRect_);
  win::InvalidateRect(hwnd_, nullptr);
  return 0;
}

LRESULT MDialog::Dispatch(UINT msg, WPARAM w, LPARAM l, bool& done) {
  done = false;
  CPoint pt(GET_X_LPARAM(l), GET_Y_LPARAM(l));
  UINT flags = static_cast<UINT>(w);
  switch (msg) {
    case WM_CREATE: OnCreate(reinterpret_cast<CREATESTRUCTW*>(l)); break;
    case WM_DESTROY: OnDestroy(); break;
    case WM_SIZE: OnSize(static_cast<UINT>(w), GET_X_LPARAM(l) & 0xFFFF, (l >> 16) & 0xFFFF); break;
    case WM_PAINT: OnPaint(); break;
    case WM_CLOSE: OnClose(); break;
    case WM_WINDOWPOSCHANGING: OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(l)); break;
    case WM_WINDOWPOSCHANGED: OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(l)); break;
    case WM_NCACTIVATE: OnNcActivate(static_cast<int>(w)); break;
    case WM_TIMER: OnTimer(static_cast<UINT>(w)); break;
    case WM_MOUSEMOVE: OnMouseMove(flags, pt); break;
    case WM_LBUTTONDOWN: OnLButtonDown(flags, pt); break;
    case WM_LBUTTONUP: OnLButtonUp(flags, pt); break;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(flags, pt); break;
    case WM_RBUTTONDOWN: OnRButtonDown(flags, pt); break;
    case WM_RBUTTONUP: OnRButtonUp(flags, pt); break;
    case WM_RBUTTONDBLCLK: OnRButtonDblClk(flags, pt); break;
    case WM_MOUSEHOVER: OnMouseHover(flags, l); break;
    case WM_MOUSELEAVE: OnMouseLeave(flags, l); break;
    case WM_ERASEBKGND: done = true; return 1;
    case WM_KORIN_CLOSE: done = true; return OnUserCloseWindow(w, l);
    default: break;
  }
  return 0;
}

LRESULT MDialog::OnWindowMessage(UINT msg, WPARAM w, LPARAM l) {
  bool done;
  LRESULT r = Dispatch(msg, w, l, done);
  if (done) return r;
  if (LRESULT m = manager_.OnWindowMessage(msg, w, l)) return m;
  return win::DefWindowProc(hwnd_, msg, w, l);
}
