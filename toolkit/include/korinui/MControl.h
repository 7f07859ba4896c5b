// The control base: geometry, flags, two child lists (areas beneath, controls above),
// input routing through the tree, focus, per-control timers and notifications.
//
// Ownership: a control owns every child in its two lists; parents, the manager and
// the current child are plain references. Controls are created by the factories
// (MPanel::CreateControl, PaintManager::CreateControl) and deleted by their owner.
// Threads: everything runs on the window's thread except OnTimer/OnControlTimer from
// the animation timer, which may only change the control's own state and request a
// repaint (UpdateControl, UpdateAControl). The list locks are taken parent first.
#pragma once

#include <korinui/MObject.h>
#include <korinui/Types.h>
#include <korinui/WinDefs.h>

#include <atomic>
#include <mutex>
#include <vector>

class PaintManager;
class MImage;

// One coordinate relative to a span [a, b] (see MControl::PositionItem2Value).
struct TARN_POSITION_ITEM {
  int kind = 0;      // 0 offset, 1 from the centre, 2 percentage
  BOOL fromEnd = 0;  // measure from b (kind 0) or subtract (kind 1)
  float value = 0;
};

class MControl : public MObject {
 public:
  MControl(MObject* parent, UINT id, CRect rect, BOOL visible = 1, BOOL enabled = 1);
  ~MControl() override;
  MControl(const MControl&) = delete;
  MControl& operator=(const MControl&) = delete;

  const wchar_t* GetClassNameW() const override { return L"TarnControl"; }

  // ---- virtual operations ----
  virtual void InitControl(PaintManager* manager) {}
  virtual BOOL PtInRect(CPoint pt);  // visible and inside rect
  virtual void DrawControl(HDC& hdc, CRect clip) = 0;
  virtual void DrawSubControls(HDC& hdc, CRect clip);
  virtual BOOL IsDraw(CPoint) { return 0; }
  virtual void SetUpdate(int update, DWORD arg = 0);
  virtual LRESULT SetControlFocus(int focus);
  virtual void InitUI(CRect) {}
  virtual LRESULT OnMousePointChange(CPoint& pt) { return 0; }
  virtual LRESULT OnCheckMouseResponse(UINT flags, CPoint pt) { return 1; }
  virtual LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam) { return 0; }
  virtual LRESULT OnMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) { return 0; }
  virtual void SetControlRect(CRect rect);
  virtual void SetControlVisible(int visible) { visible_ = visible; }
  virtual void SetControlWndVisible(int) {}
  virtual void SetControlEnabled(int enabled) { enabled_ = enabled; }
  virtual LRESULT OnControlTimer() { return 0; }
  virtual const MImage* GetControlDropBitmap() { return nullptr; }
  virtual LRESULT OnControlMouseMove(UINT flags, CPoint pt) { return 0; }
  virtual LRESULT OnControlSetCursor(UINT flags, CPoint pt);
  virtual LRESULT OnControlLButtonDown(UINT flags, CPoint pt) { return 0; }
  virtual LRESULT OnControlLButtonUp(UINT flags, CPoint pt) { return 0; }
  virtual LRESULT OnControlLButtonDblClk(UINT flags, CPoint pt) { return 0; }
  virtual LRESULT OnControlScroll(int kind, UINT direction, CPoint pt) { return 0; }
  virtual LRESULT OnControlRButtonDown(UINT flags, CPoint pt) { return 0; }
  virtual LRESULT OnControlRButtonUp(UINT flags, CPoint pt) { return 0; }
  virtual LRESULT OnControlRButtonDblClk(UINT flags, CPoint pt) { return 0; }
  virtual LRESULT OnControlKeyDown(UINT vk, UINT repeat, UINT modifiers);
  virtual void OnPositionChange() {}
  // Invalidates the control's rectangle in its window (whole window when layered).
  virtual void InvalidateRect(const RECT* rect = nullptr, BOOL erase = 0);

  // ---- event entry points (called by the parent or the window) ----
  LRESULT OnMouseMove(UINT flags, CPoint pt);
  LRESULT OnLButtonDown(UINT flags, CPoint pt);
  LRESULT OnLButtonUp(UINT flags, CPoint pt);
  LRESULT OnLButtonDblClk(UINT flags, CPoint pt);
  LRESULT OnRButtonDown(UINT flags, CPoint pt);
  LRESULT OnRButtonUp(UINT flags, CPoint pt);
  LRESULT OnRButtonDblClk(UINT flags, CPoint pt);
  // Wheel step: direction 1 = down.
  LRESULT OnScroll(int kind, UINT direction, CPoint pt);
  LRESULT OnKeyDown(UINT vk, UINT repeat, UINT modifiers);
  LRESULT OnKeyUp(UINT, UINT, UINT) { return 0; }
  // Runs OnControlTimer, then the ticks of visible children that want them.
  LRESULT OnTimer();
  LRESULT OnFocus(int focus) { return SetControlFocus(focus); }
  // Areas, face, then children, each only where they meet `clip`.
  void Draw(HDC& hdc, CRect clip);

  // ---- tree ----
  MControl* GetControl(UINT id);  // depth first: controls, then areas; null when absent
  // Deletes `control` (a member of the control list); false when it is not one.
  BOOL RemoveControl(MControl* control);
  void RemoveAllControl();  // areas first, then controls
  std::vector<MControl*> GetControls();  // a snapshot of the control list
  std::vector<MControl*> GetAreas();
  MObject* GetParantObject() const { return parent_; }
  void SetParent(MObject* parent) { parent_ = parent; }
  PaintManager* GetManager() const { return manager_; }
  // Stores the manager and runs InitControl.
  void SetManager(PaintManager* manager);
  // Appends an already built child to list 0 (areas) or 1 (controls); takes ownership.
  void AddChild(UINT kind, MControl* child);
  // Deletes a control after its window has forgotten it (hover, focus, timers).
  static void DeleteControl(MControl* control);

  // ---- geometry and state ----
  void SetRect(CRect rect);
  void SetRect(int x, int y, int width, int height) { SetRect(CRect(x, y, x + width, y + height)); }
  void SetVisible(int visible) { SetVisible(visible, 1); }
  void SetVisible(int visible, int repaint);
  void SetEnabled(int enabled);
  BOOL IsVisible() const { return visible_; }
  BOOL IsEnabled() const { return enabled_; }
  CRect GetRect() const;  // any thread
  UINT GetControlID() const { return id_; }
  BOOL IsParentVisible();
  void UpdateControl(int resetCache = 0, int force = 0);
  void UpdateControl(CRect rect, int force, int resetCache);
  void UpdateAControl(int noAnimate = 0, int force = 0);
  BOOL GetUpdate() const { return update_; }
  BOOL IsAnimate() const { return animate_; }

  void SetTooltip(const wchar_t* text);
  void SetTooltip(const CString& text, CRect rect);  // shows it now, this control owns it
  void ClearTooltip();
  CString GetTooltip() const { return tooltip_; }
  void SetTooltipCtrlID(UINT) {}
  UINT GetTooltipCtrlID() const { return 0; }
  // "arrow", "wait", "cross", "sizewe", "sizens", "hand", "help"; 0 for any other name.
  BOOL SetCursorEx(const wchar_t* name);
  HCURSOR GetCursor() const { return cursor_; }

  void SetDragDrop(BOOL v) { dragDrop_ = v; }
  BOOL IsDragDrop() const { return dragDrop_; }
  void SetRresponse(BOOL v) { response_ = v; }
  BOOL GetRresponse() const { return response_; }
  void SetTabStop(BOOL v) { tabStop_ = v; }
  BOOL IsTabStop() const { return tabStop_; }
  void SetRunTimer(BOOL v) { runTimer_ = v; }
  BOOL IsRunTimer() const { return runTimer_; }
  void SetDblClk(BOOL v) { dblClk_ = v; }
  BOOL GetDblClk() const { return dblClk_; }
  void SetNotifyDblClk(BOOL v) { notifyDblClk_ = v; }
  void SetNotifyKeyDown(BOOL v) { notifyKeyDown_ = v; }
  void SetHotKey(UINT vk, UINT modifiers) { hotKey_ = vk; hotKeyModifiers_ = modifiers; }
  BOOL IsKeyDown() const { return keyDown_; }
  BOOL IsFocused() const { return focused_; }
  BOOL IsPressedInside() const { return pressedInside_; }
  BOOL IsFocusControl();
  MControl* GetFocusControl();
  MControl* GetNextFocusableControl();
  MControl* GetPrevFocusableControl();
  MControl* GetCurrentChild() const { return currentChild_; }
  void UseImageECM(BOOL v) { useImageECM_ = v; }

  // Calls the parent's OnBaseMessage(id, code, wParam, lParam).
  LRESULT SendMessageW(UINT code, WPARAM wParam = 0, LPARAM lParam = 0);
  // Registers the control for the window's animation ticks.
  void AddMTimer();

  static int PositionItem2Value(const TARN_POSITION_ITEM& item, int a, int b);

 protected:
  // Child lists; iterate under the matching lock.
  std::recursive_mutex areasLock_, controlsLock_;
  std::vector<MControl*> areas_, controls_;

  MObject* parent_ = nullptr;
  PaintManager* manager_ = nullptr;
  UINT id_ = 0;
  CRect rect_;  // written on the window thread under rectLock_
  mutable std::mutex rectLock_;
  std::atomic<BOOL> visible_{1};
  BOOL enabled_ = 1;
  BOOL dragDrop_ = 0;
  BOOL response_ = 1;
  BOOL tabStop_ = 0;
  BOOL dblClk_ = 0;
  BOOL pressedInside_ = 0;
  BOOL keyDown_ = 0;
  BOOL focused_ = 0;
  UINT hotKey_ = 0, hotKeyModifiers_ = 0;
  std::atomic<BOOL> update_{0};
  std::atomic<BOOL> animate_{0};
  std::atomic<BOOL> runTimer_{0};
  BOOL useImageECM_ = 0;
  MControl* currentChild_ = nullptr;
  CString tooltip_;
  HCURSOR cursor_ = KCURSOR_NONE;
  BOOL notifyDblClk_ = 0;
  BOOL notifyKeyDown_ = 0;

  friend class PaintManager;

 private:
  LRESULT RoutePress(UINT flags, CPoint pt, bool right);
  LRESULT RouteRelease(UINT flags, CPoint pt, bool right);
  CPoint PointFor(MControl* child, CPoint raw, CPoint translated) const;
  void ForgetChild(MControl* child);
};
