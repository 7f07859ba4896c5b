// The skinned dialog every program window derives from: owns its PaintManager and
// its top-level controls, dispatches window messages to virtual handlers and then to
// the manager, and closes with a result through message 0x442 (DoOK, DoCancel, ...).
#pragma once

#include <korinui/MObject.h>
#include <korinui/MWindow.h>
#include <korinui/PaintManager.h>

class MDialog : public MWindow, public MObject {
 public:
  MDialog() = default;
  ~MDialog() override;

  const wchar_t* GetClassNameW() const override { return L"MDialog"; }
  LRESULT OnBaseMessage(UINT id, UINT code, WPARAM w, LPARAM l) override { return OnMessage(id, code, w, l); }
  LRESULT OnControlUpdate(CRect rect, int resetCache, MControl* control) override {
    return manager_.OnControlUpdate(rect, resetCache, control);
  }

  LRESULT OnWindowMessage(UINT msg, WPARAM w, LPARAM l) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  BOOL OnInitDialog() override;
  void OnDestroyMessage(HWND hwnd) override;

  // ---- handlers (empty defaults) ----
  virtual CPoint GetAirBladderPoint(MControl*, UINT) { return {}; }
  virtual void OnMinimize();
  virtual void OnMaximize();
  virtual void InitUI(CRect clientRect) {}
  virtual void UISize(CRect clientRect) {}
  // Notification of a top-level control.
  virtual LRESULT OnMessage(UINT id, UINT code, WPARAM w, LPARAM l) { return 0; }
  // Posts the close message with the same words; ShowModal returns wParam.
  virtual LRESULT OnUserCloseWindow(WPARAM w, LPARAM l);
  virtual LRESULT OnCreate(CREATESTRUCTW* cs);
  virtual LRESULT OnSize(UINT type, int width, int height);
  virtual LRESULT OnMouseMove(UINT, CPoint) { return 0; }
  virtual LRESULT OnMouseLeave(UINT, LPARAM) { return 0; }
  virtual LRESULT OnMouseHover(UINT, LPARAM) { return 0; }
  virtual LRESULT OnMouseWheel(UINT, short, CPoint) { return 0; }
  virtual LRESULT OnLButtonDown(UINT, CPoint) { return 0; }
  virtual LRESULT OnLButtonUp(UINT, CPoint) { return 0; }
  virtual LRESULT OnLButtonDblClk(UINT, CPoint) { return 0; }
  virtual LRESULT OnRButtonDown(UINT, CPoint) { return 0; }
  virtual LRESULT OnRButtonUp(UINT, CPoint) { return 0; }
  virtual LRESULT OnRButtonDblClk(UINT, CPoint) { return 0; }
  virtual LRESULT OnKeyDown(UINT, UINT, UINT) { return 0; }
  virtual LRESULT OnNcHitTest(CPoint) { return 0; }
  virtual LRESULT OnGetMinMaxInfo(MINMAXINFO*) { return 0; }
  virtual LRESULT OnNcCalcSize(int, NCCALCSIZE_PARAMS*) { return 0; }
  virtual LRESULT OnNcActivate(int) { return 0; }
  virtual LRESULT OnWindowPosChanging(WINDOWPOS*) { return 1; }
  virtual LRESULT OnWindowPosChanged(WINDOWPOS*) { return 1; }
  virtual LRESULT OnPaint() { return 0; }
  virtual LRESULT OnTimer(UINT) { return 0; }
  virtual LRESULT OnNcPaint() { return 0; }
  virtual LRESULT OnClose() { return 1; }
  virtual LRESULT OnDestroy() { return 0; }
  virtual void PostNcDestroy() {}

  // ---- controls ----
  MControl* CreateControl(const wchar_t* className, UINT id, CRect rect, const wchar_t* title,
                          int visible = 1, int enabled = 1);
  MControl* CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title,
                       int visible = 1, int enabled = 1);
  MControl* GetControl(UINT id) { return manager_.GetControl(id); }
  std::vector<MControl*> GetControls() { return manager_.GetControls(); }
  void SetFocusControl(MControl* c) { manager_.SetFocusControl(c); }
  PaintManager& GetPaintManager() { return manager_; }

  BOOL LoadBKImage(const CString& name) { return manager_.LoadBKImage(name); }
  void SetBackMode(enumBackMode mode, int corner) { manager_.SetBackMode(mode, corner); }
  // Layered painting; the window is shown with whole-window alpha (see SetWindowAlpha).
  void SetLayeredWindow(int on) { manager_.SetLayeredWindow(on); }
  void SetWindowAlpha(BYTE alpha) { alpha_ = alpha; }
  void SetColorKey(COLORREF key) { colorKey_ = key; }
  void EnableWndDrag(int on) { manager_.EnableWndDrag(on); }
  void SetScrollResID(UINT v, UINT h) { manager_.SetScrollResID(v, h); }
  UINT SetMTimer(UINT ms) { return manager_.SetMTimer(ms); }
  void KillMTimer(UINT id) { manager_.KillMTimer(id); }
  void SetTooltip(const CString& text, CRect rect) { manager_.SetTooltip(text.c_str(), rect); }
  void ClearTooltip() { manager_.ClearTooltip(); }
  void SetTooltipCtrlID(UINT id) { manager_.SetTooltipCtrlID(id); }
  UINT GetTooltipCtrlID() const { return manager_.GetTooltipCtrlID(); }
  void SetMessage(const CString& text, CRect rect, MsgLevel level) { manager_.SetMessage(text, rect, level); }
  void SetProgress(int percent, const CString& text, CRect rect) { manager_.SetProgress(percent, text, rect); }

  // Post 0x442 with IDOK, IDCANCEL, IDCANCEL, IDYES, IDNO.
  void DoOK() { PostMessageW(WM_KORIN_CLOSE, IDOK, 0); }
  void DoCancel() { PostMessageW(WM_KORIN_CLOSE, IDCANCEL, 0); }
  void DoClose() { PostMessageW(WM_KORIN_CLOSE, IDCANCEL, 0); }
  void DoYes() { PostMessageW(WM_KORIN_CLOSE, IDYES, 0); }
  void DoNo() { PostMessageW(WM_KORIN_CLOSE, IDNO, 0); }

 protected:
  LRESULT Dispatch(UINT msg, WPARAM w, LPARAM l, bool& done);

  PaintManager manager_;
  CRect clientRect_;
  COLORREF colorKey_ = 0xFFFFFF;
  BYTE alpha_ = 255;
};
