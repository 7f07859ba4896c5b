// One entry of a popup menu: a plain or checkable item, or a separator. It reports
// like a button: code 2 after a click on a plain item; a checkable item sends 7 with
// its check state (wParam) and 1 (lParam) on press and toggles on release.
#pragma once

#include <korinui/MControlFont.h>

class MenuWnd;

class MenuItem : public MControlFont {
 public:
  MenuItem(MObject* parent, UINT id, CRect rect, const wchar_t* title, BOOL visible = 1, BOOL enabled = 1);
  const wchar_t* GetClassNameW() const override { return L"MenuItem"; }

  void SetCheck(int check) { check_ = check; UpdateControl(0); }
  int GetCheck() const { return check_; }
  void SetCheckable(int on) { checkable_ = on; }
  int IsCheckable() const { return checkable_; }
  void SetSeparator(int on) { separator_ = on; }
  int IsSeparator() const { return separator_; }
  void SetSubMenu(MenuWnd* menu) { subMenu_ = menu; }
  MenuWnd* GetSubMenu() const { return subMenu_; }
  void SetGroup(const CString& name, int value) { groupName_ = name; groupValue_ = value; }
  void SetTextPadding(int padding) { padding_ = padding; }
  int GetState() const { return state_; }

  void DrawControl(HDC& hdc, CRect clip) override;
  LRESULT OnControlMouseMove(UINT flags, CPoint pt) override;
  LRESULT OnControlLButtonDown(UINT flags, CPoint pt) override;
  LRESULT OnControlLButtonUp(UINT flags, CPoint pt) override;
  void SetControlEnabled(int enabled) override;

 private:
  void SetState(int state);
  int check_ = 0, checkable_ = 0, separator_ = 0;
  MenuWnd* subMenu_ = nullptr;
  CString groupName_;
  int groupValue_ = 0;
  int state_ = 0;  // 0 normal, 1 hover, 2 pressed or checked, 6 hover while checked
  int padding_ = 5;
  bool pressed_ = false;
};
