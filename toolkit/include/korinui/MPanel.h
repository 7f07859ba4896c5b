// A container with a virtual content size, a vertical and a horizontal scroll bar
// (ids 1 and 2) and the panel-level control factory.
#pragma once

#include <korinui/CScrollBar.h>
#include <korinui/MControlFont.h>

class MPanel : public MControlFont {
 public:
  MPanel(MObject* parent, UINT id, CRect rect, BOOL visible = 1, BOOL enabled = 1);

  // Children of kind 0 (areas) and 1 (controls) by class name; null for unknown names.
  virtual MControl* CreateArea(const wchar_t* className, UINT id, CRect rect, const wchar_t* title,
                               int visible = 1, int enabled = 1);
  virtual MControl* CreateControl(UINT kind, MObject* parent, const wchar_t* className, UINT id,
                                  CRect rect, const wchar_t* title, int visible, int enabled);
  virtual MControl* CreateControl(const wchar_t* className, UINT id, CRect rect,
                                  const wchar_t* title, int visible = 1, int enabled = 1);
  virtual LRESULT OnControlKeyUp(UINT, UINT, UINT) { return 0; }

  void InitControl(PaintManager* manager) override;
  void DrawControl(HDC& hdc, CRect clip) override {}
  void SetControlRect(CRect rect) override;
  LRESULT OnMousePointChange(CPoint& pt) override;
  LRESULT OnControlScroll(int kind, UINT direction, CPoint pt) override;
  LRESULT OnBaseMessage(UINT id, UINT code, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnControlUpdate(CRect rect, int resetCache, MControl* control) override;

  CScrollVertical* GetScrollVertical() { return vbar_; }
  CScrollHorizontal* GetScrollHorizontal() { return hbar_; }
  void SetVirtualHeight(int h) { virtualHeight_ = h; LayoutBars(); }
  void SetVirtualWidth(int w) { virtualWidth_ = w; LayoutBars(); }
  int GetVirtualHeight() const { return virtualHeight_; }
  int GetVirtualWidth() const { return virtualWidth_; }
  void SetEnableScroll(int on) { enableScroll_ = on; }
  int GetEnableScroll() const { return enableScroll_; }
  // The content offset the scroll bars give (0 when scrolling is off or content fits).
  CPoint GetScrollOffset() const;
  // Recomputes the virtual size from the children and places the bars.
  void UpdateVirtualSize();

 protected:
  void LayoutBars();

  CScrollVertical* vbar_;
  CScrollHorizontal* hbar_;
  int barThickness_ = 5;
  int enableScroll_ = 1;
  std::atomic<int> virtualHeight_{0}, virtualWidth_{0};
  BOOL attached_ = 0;
};
