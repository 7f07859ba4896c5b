// Every toolkit window owns one PaintManager: its two lists of top-level controls,
// the painting through a back buffer, repaint requests, the skin image and font
// caches, control timers (window timers and the shared animation timer), the tooltip
// and the message/progress overlay, and the window-level mouse and key routing.
//
// Threads: the window thread calls everything; the animation timer thread only
// enters through OnMTimer -> MControl::OnTimer and the repaint requests.
#pragma once

#include <korinui/MControl.h>
#include <korinui/MImage.h>
#include <korinui/Painter.h>
#include <korinui/RKTimer.h>
#include <korinui/WinDefs.h>

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

class MWindow;
class MObject;

struct ImgResInfo {
  std::shared_ptr<MImage> image;
  int frameWidth = 0;  // image width / frames
  int height = 0;
  int frames = 1;
  CString name;
};

// A resolved font family (fontconfig knows it by this name).
struct FontFamily {
  CString name;
};

enum enumBackMode { BACK_MODE_NORMAL = 0, BACK_MODE_FRAME = 1 };
enum MsgLevel { MSG_LEVEL_INFO = 0, MSG_LEVEL_WARNING = 1, MSG_LEVEL_ERROR = 2 };

class PaintManager : public RKTimer {
 public:
  PaintManager();
  ~PaintManager() override;

  // Binds the manager to its window: scroll-bar ids, the private fonts of font/.
  void Init(HWND hwnd, MWindow* window);
  HWND GetPaintWnd() const { return hwnd_; }
  MWindow* GetMDialog() const { return window_; }
  BOOL IsInit() const { return initialized_; }

  // ---- repainting ----
  void Invalidate();
  void InvalidateRect(CRect rect, BOOL erase = 0);
  // Marks `control` stale when asked, grows the rectangle by the later controls that
  // paint over it and invalidates the result. Any thread.
  LRESULT OnControlUpdate(CRect rect, int resetCache, MControl* control);
  // Paints `update` into a new back buffer of the client size (steps of painting
  // without presenting); returns the buffer.
  std::unique_ptr<Painter> PaintBuffer(CRect update);
  // The last painted back buffer (tests).
  const Painter* GetLastBuffer() const { return lastBuffer_.get(); }

  // ---- controls ----
  MControl* CreateControl(UINT kind, MObject* parent, const wchar_t* className, UINT id, CRect rect,
                          const wchar_t* title, int visible = 1, int enabled = 1);
  MControl* CreateControl(MObject* parent, const wchar_t* className, UINT id, CRect rect,
                          const wchar_t* title, int visible = 1, int enabled = 1) {
    return CreateControl(1, parent, className, id, rect, title, visible, enabled);
  }
  MControl* CreateArea(MObject* parent, const wchar_t* className, UINT id, CRect rect,
                       const wchar_t* title, int visible = 1, int enabled = 1) {
    return CreateControl(0, parent, className, id, rect, title, visible, enabled);
  }
  // Takes ownership of a control built elsewhere (kind 0 area, 1 control).
  void AddControl(UINT kind, MControl* control);
  MControl* GetControl(UINT id);
  std::vector<MControl*> GetControls();
  std::vector<MControl*> GetAreas();
  BOOL RemoveControl(MControl* control);
  void ClearAllControls();
  void ClearAreaControls();
  void ClearControls();
  // Clears every reference the window keeps to `control` and its subtree (hover,
  // focus, tooltip owner, timers); called before a control is deleted.
  void ForgetControl(MControl* control);

  MControl* GetFocusControl() const { return focus_; }
  void SetFocusControl(MControl* control);
  MControl* GetHoverControl() const { return hover_; }
  MControl* GetNextFocusableControl(MControl* from);
  MControl* GetPrevFocusableControl(MControl* from);

  // ---- background ----
  BOOL LoadBKImage(const CString& name);
  void SetBackMode(enumBackMode mode, int corner) { backMode_ = mode; corner_ = corner; }
  void SetBackColor(COLORREF back, COLORREF border) { backColor_ = back; borderColor_ = border; }
  void SetLayeredWindow(int layered) { layered_ = layered; }
  BOOL IsLayered() const { return layered_; }
  void EnableWndDrag(int on) { wndDrag_ = on; }
  BOOL IsWndDrag() const { return wndDrag_; }
  void SetCaptionRect(CRect r) { caption_ = r; }
  CRect GetCaptionRect() const { return caption_; }
  void SetWindowMaxSize(CSize s) { maxSize_ = s; }
  void SetWindowMixSize(CSize s) { minSize_ = s; }
  CSize GetWindowManSize() const { return maxSize_; }
  CSize GetWindowMinSize() const { return minSize_; }
  void SetScrollResID(UINT v, UINT h) { scrollV_ = v; scrollH_ = h; }
  UINT GetScrollVID() const { return scrollV_; }
  UINT GetScrollHID() const { return scrollH_; }
  COLORREF GetDefaultEnabledColor() const { return disabledText_; }
  void SetDefaultEnabledColor(COLORREF c) { disabledText_ = c; }

  // ---- images and fonts ----
  // The skin folder: <program folder>/skins/<theme>.
  static CString GetSkinFolder();
  // Cached image `name` of the skin folder; the first load's frame count stays. Null
  // when the image cannot be loaded (nothing is cached then).
  ImgResInfo* AddImgResInfo(const wchar_t* name, int frames);
  ImgResInfo* AddImgResInfo(UINT resourceId, CString type, int frames, int) { return nullptr; }
  void ClearImgResInfo();
  BOOL AddTempFont(const wchar_t* family, const wchar_t* file);
  BOOL AddTempFont(const wchar_t* family, UINT resourceId) { return 0; }
  // The family of the global font name (the argument does not choose it); null when
  // fontconfig knows no such family.
  const FontFamily* FindTempFont(const wchar_t* name);
  void ClearTempFont();

  // ---- timers ----
  // Window timer for (control, key): 1 when started or restarted, 0 when already running
  // or refused.
  UINT SetTimer(MControl* control, UINT key, UINT ms);
  void KillTimer(MControl* control, UINT key);
  void KillTimer(MControl* control);
  void ClearTimers();
  UINT GetTimerId(MControl* control, UINT key);  // 0 when none
  // The shared animation timer (one per window).
  UINT SetMTimer(UINT ms);
  void KillMTimer(UINT id);
  void KillMTimer();
  void AddMTimer(MControl* control);
  void DeleteTarnTimer(MControl* control);
  void OnMTimer(UINT id) override;

  // ---- tooltip and overlay ----
  void SetTooltip(const wchar_t* text, CRect rect);
  void ClearTooltip();
  UINT GetTooltipCtrlID() const { return tooltipOwner_; }
  void SetTooltipCtrlID(UINT id) { tooltipOwner_ = id; }
  HWND GetTooltipWindow() const { return tooltipWnd_; }
  CString GetTooltipText() const { return tooltipText_; }
  void SetMessage(const CString& text, CRect rect, MsgLevel level);
  void SetProgress(int percent, const CString& text, CRect rect);
  int GetOverlayAlpha() const { return overlayAlpha_; }
  int GetShownPercent() const { return shownPercent_; }

  // ---- window side ----
  LRESULT OnWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  // Tab moves the focus; returns 1 when the message was consumed.
  LRESULT PreTranslateMessage(const MSG* msg);
  static UINT MakeModifierValue(bool shift, bool ctrl, bool alt);
  void SetCursor(HCURSOR cursor);
  void SetCapture();
  void ReleaseCapture();
  BOOL IsCaptured() const;
  CRect GetClientRect() const;
  CRect GetWindowRect() const;
  CSize GetClientSize() const;
  LRESULT SendMessageW(UINT msg, WPARAM w, LPARAM l);
  BOOL PostMessageW(UINT msg, WPARAM w, LPARAM l);
  // Deletes controls, timers, images and fonts; once.
  void DestroyData();

  // Reserved window-timer ids the manager handles itself.
  static constexpr UINT kTimerCaret = 6553, kTimerMessageEnd = 66, kTimerFade = 88,
                        kTimerProgress = 99, kTimerDump = 0x7FF0;

 private:
  struct TimerRecord {
    MControl* control;
    UINT key;
    UINT id;
    bool running;
  };
  void OnPaint();
  void PaintInto(Painter& p, CRect update);
  void DrawOverlay(Painter& p);
  void OnTimerMessage(UINT id);
  void DumpPicture();
  LRESULT RouteMouse(UINT msg, WPARAM w, LPARAM l);
  LRESULT RouteWheel(WPARAM w, LPARAM l);
  LRESULT RouteKey(WPARAM w, LPARAM l);
  void StartFade();
  void ForgetOne(MControl* c);

  HWND hwnd_ = nullptr;
  MWindow* window_ = nullptr;
  std::atomic<BOOL> initialized_{0};  // read by repaint requests from the timer thread
  COLORREF backColor_ = 0x050505, borderColor_ = 0x575757;
  CRect caption_;
  CSize maxSize_, minSize_;
  std::atomic<BOOL> layered_{0};
  std::shared_ptr<MImage> bkImage_;
  int backMode_ = BACK_MODE_NORMAL, corner_ = 4;
  BOOL wndDrag_ = 1;
  UINT scrollV_ = 0, scrollH_ = 0;
  COLORREF disabledText_ = 0x808080;

  // Overlay.
  CString overlayText_;
  int overlayLevel_ = 0, overlayAlpha_ = 0, shownPercent_ = 0, targetPercent_ = 0;
  CRect overlayRect_;
  CString overlayFont_ = L"Open Sans Semibold";

  std::atomic<UINT> mtimerId_{0};  // the first tick may come before SetMTimer returns
  UINT timerCounter_ = 4096;
  MControl* hover_ = nullptr;
  MControl* focus_ = nullptr;
  MControl* pressed_ = nullptr;  // the control that took the last press
  bool tracking_ = false;
  HWND tooltipWnd_ = nullptr;
  UINT tooltipOwner_ = 0;
  CString tooltipText_;

  std::recursive_mutex areasLock_, controlsLock_, imageLock_, timerLock_, mtimerLock_, fontLock_;
  std::vector<MControl*> areas_, controls_;
  std::vector<MControl*> mtimerControls_;
  std::vector<TimerRecord> timers_;
  std::map<CString, std::unique_ptr<ImgResInfo>> images_;
  std::map<CString, std::unique_ptr<FontFamily>> fonts_;

  std::unique_ptr<Painter> lastBuffer_;
  std::chrono::steady_clock::time_point lastDump_{};
  bool dumpPending_ = false;
};
