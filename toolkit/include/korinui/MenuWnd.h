// A popup menu. Create it with new, Create, AddMenu..., then ShowWindow(SW_SHOW). A
// chosen item posts `commandMessage` to the owner window with wParam = the item's
// wParam and lParam = the item id; a click on a plain item closes the menu, and so
// does deactivation. The object deletes itself when its window is gone: never delete
// a MenuWnd yourself.
#pragma once

#include <korinui/MPopupWnd.h>
#include <korinui/MenuItem.h>

#include <vector>

class MenuWnd : public MPopupWnd {
 public:
  explicit MenuWnd(MObject* parent = nullptr) : MPopupWnd(parent) {}

  // Creates the window "Menu Window" at topLeft (screen), `width` wide, with an
  // optional background image (mode and frame corner). Null on failure.
  HWND Create(HWND owner, CPoint topLeft, UINT commandMessage, const CString& backgroundImage,
              int frameCorner, int width, enumBackMode mode);
  HWND Create(HWND owner, CPoint topLeft, UINT commandMessage) {
    return Create(owner, topLeft, commandMessage, L"", 0, width_, BACK_MODE_NORMAL);
  }
  // Appends an item; the menu grows to fit the title (text width + padding + 4).
  MenuItem* AddMenu(const CString& title, UINT id, const CString& iconImage = L"", int checkable = 0,
                    int check = 0);
  MenuItem* AddSeparator(UINT id, const CString& image = L"");
  // Settings by item title, applied now and again when the menu is laid out.
  void SetItemTitle(const CString& title, const CString& newTitle);
  void SetItemVisible(const CString& title, int visible);
  void SetItemEnable(const CString& title, int enabled);
  void SetItemCheck(const CString& title, int check);
  // Lays the items out top to bottom and resizes the window to fit.
  void SetMenuPoint();
  int GetMenuWidth() const { return width_; }
  std::vector<MenuItem*> GetItems();
  void CloseWindow() override { PostMessageW(WM_CLOSE, 0, 0); }

  void InitUI(CRect) override;
  LRESULT OnMessage(UINT id, UINT code, WPARAM w, LPARAM l) override;
  void PostNcDestroy() override { delete this; }

 private:
  struct Pending {
    CString title;
    CString newTitle;
    int visible = -1, enabled = -1, check = -1;
  };
  MenuItem* FindItem(const CString& title);
  void Apply(Pending& p);

  HWND owner_ = nullptr;
  UINT command_ = 0;
  CString fontName_ = L"Open Sans Semibold";
  int fontSize_ = 18;
  int fontStyle_ = 0;
  int padding_ = 5, itemHeight_ = 35, width_ = 300;
  int topMargin_ = 6, bottomMargin_ = 6, thirdMargin_ = 6;
  ARGB textColor_ = 0xFFC95100;
  std::vector<Pending> pending_;
};
