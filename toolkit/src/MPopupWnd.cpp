#include <korinui/MPopupWnd.h>

LRESULT MPopupWnd::SendMessageToParent(UINT code, WPARAM w, LPARAM l) {
  return logicalParent_ ? logicalParent_->OnBaseMessage(0, code, w, l) : 0;
}

LRESULT MPopupWnd::OnWindowMessage(UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_ACTIVATE && LOWORD(w) == WA_INACTIVE) CloseWindow();
  return MDialog::OnWindowMessage(msg, w, l);
}
