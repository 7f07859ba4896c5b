// A dialog-shaped popup with a logical parent object that closes itself when it is
// deactivated (a click elsewhere closes it).
#pragma once

#include <korinui/MDialog.h>

class MPopupWnd : public MDialog {
 public:
  explicit MPopupWnd(MObject* parent = nullptr) : logicalParent_(parent) {}
  MObject* GetParent() const { return logicalParent_; }
  void SetParent(MObject* parent) { logicalParent_ = parent; }
  virtual void CloseWindow() { PostMessageW(WM_CLOSE, 0, 0); }
  // Calls the logical parent's OnMessage(0, code, ...) (as OnBaseMessage); 0 without one.
  LRESULT SendMessageToParent(UINT code, WPARAM w, LPARAM l);
  // Rounded corners are not clipped on this platform; kept for callers.
  void SetupRegion(int) {}
  LRESULT OnWindowMessage(UINT msg, WPARAM w, LPARAM l) override;

 protected:
  MObject* logicalParent_;
};
