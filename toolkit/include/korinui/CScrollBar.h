// The two thin scroll bars every panel carries (ids 1 and 2). They keep a position
// in [0, range], report changes with notification 8 and draw a plain thumb.
#pragma once

#include <korinui/MControl.h>

#include <atomic>

class CScrollBase : public MControl {
 public:
  CScrollBase(MObject* parent, UINT id, CRect rect, bool vertical);
  void SetRange(int range) { range_ = range < 0 ? 0 : range; if (pos_ > range_) pos_ = range_.load(); }
  int GetRange() const { return range_; }
  // Clamps to [0, range]; true when the position changed.
  bool SetPosition(int pos);
  int GetPosition() const { return pos_; }
  int GetLineStep() const { return lineStep_; }
  void SetLineStep(int step) { lineStep_ = step > 0 ? step : 1; }
  // The extent the content shows at once (for the thumb length).
  void SetPage(int page) { page_ = page; }
  void DrawControl(HDC& hdc, CRect clip) override;
  LRESULT OnControlLButtonDown(UINT flags, CPoint pt) override;
  LRESULT OnControlMouseMove(UINT flags, CPoint pt) override;
  LRESULT OnControlLButtonUp(UINT flags, CPoint pt) override;

 private:
  CRect ThumbRect() const;
  int PositionAt(CPoint pt) const;
  bool vertical_;
  std::atomic<int> range_{0}, pos_{0};
  int page_ = 1;
  int lineStep_ = 30;
  bool dragging_ = false;
};

class CScrollVertical : public CScrollBase {
 public:
  CScrollVertical(MObject* parent, UINT id, CRect rect) : CScrollBase(parent, id, rect, true) {}
};

class CScrollHorizontal : public CScrollBase {
 public:
  CScrollHorizontal(MObject* parent, UINT id, CRect rect) : CScrollBase(parent, id, rect, false) {}
};
