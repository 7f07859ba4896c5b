// Helpers shared by the toolkit tests: a control that records what reaches it, a
// dialog that records notifications, and the fixture skin folder.
#pragma once

#include <korinui/ControlFactory.h>
#include <korinui/MDialog.h>
#include <korinui/MPanel.h>
#include <korinui/Manager.h>
#include <korinui/Painter.h>
#include <korinui/TextCodec.h>
#include <korinui/WindowSystem.h>

#include <string>
#include <vector>

namespace {

struct Event {
  std::string what;
  UINT id;
  CPoint pt;
};

// Every control appends to one log so the order across controls shows.
class RecordingControl : public MControlFont {
 public:
  RecordingControl(MObject* parent, UINT id, CRect rect, std::vector<Event>* log, ARGB colour = 0xFF808080)
      : MControlFont(parent, id, rect), log_(log), colour_(colour) {}
  void DrawControl(HDC& hdc, CRect) override { hdc->FillRect(rect_, colour_); }
  LRESULT OnControlMouseMove(UINT, CPoint pt) override { return Log("move", pt); }
  LRESULT OnControlLButtonDown(UINT, CPoint pt) override { return Log("down", pt); }
  LRESULT OnControlLButtonUp(UINT, CPoint pt) override { return Log("up", pt); }
  LRESULT OnControlLButtonDblClk(UINT, CPoint pt) override { return Log("dbl", pt); }
  LRESULT OnControlKeyDown(UINT vk, UINT, UINT mods) override {
    lastMods = mods;
    Log("key", CPoint(static_cast<int>(vk), 0));
    return handleKeys;
  }
  LRESULT OnControlTimer() override {
    ++ticks;
    if (repaintOnTick) UpdateControl(0);
    return 1;
  }
  LRESULT SetControlFocus(int focus) override {
    focused_ = focus;
    return MControlFont::SetControlFocus(focus);
  }
  UINT lastMods = 0;
  int handleKeys = 1;
  bool repaintOnTick = false;
  std::atomic<int> ticks{0};

 private:
  LRESULT Log(const char* what, CPoint pt) {
    if (log_) log_->push_back({what, id_, pt});
    return 1;
  }
  std::vector<Event>* log_;
  ARGB colour_;
};

class RecordingDialog : public MDialog {
 public:
  struct Note {
    UINT id, code;
    WPARAM w;
    LPARAM l;
  };
  LRESULT OnMessage(UINT id, UINT code, WPARAM w, LPARAM l) override {
    notes.push_back({id, code, w, l});
    return 0;
  }
  std::vector<Note> notes;
};

inline void UseFixtureSkin() {
  Manager::SetProgramFolder(korinui::Utf8ToWide(std::string(KEYSTREL_TEST_FIXTURES) + "/toolkit/"));
}

inline HWND CreateDialog(MDialog& dlg, const wchar_t* caption, CRect rect, HWND owner = nullptr) {
  UseFixtureSkin();
  Manager::InitGdiplus();
  return dlg.Create(owner, caption, WS_POPUP, 0, rect);
}

}  // namespace
