#include <korinui/MenuWnd.h>
#include <korinui/WindowSystem.h>

namespace win = korinui::win;

HWND MenuWnd::Create(HWND owner, CPoint topLeft, UINT commandMessage, const CString& backgroundImage,
                     int frameCorner, int width, enumBackMode mode) {
  owner_ = owner;
  command_ = commandMessage;
  if (width > 0) width_ = width;
  HWND h = MWindow::Create(owner, L"Menu Window", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                           CRect(topLeft.x, topLeft.y, topLeft.x + width_, topLeft.y + topMargin_ + bottomMargin_));
  if (!h) return nullptr;
  if (!backgroundImage.empty()) {
    manager_.SetBackMode(mode, frameCorner);
    manager_.LoadBKImage(backgroundImage);
  }
  EnableWndDrag(0);
  return h;
}

std::vector<MenuItem*> MenuWnd::GetItems() {
  std::vector<MenuItem*> items;
  for (MControl* c : manager_.GetControls())
    if (auto* m = dynamic_cast<MenuItem*>(c)) items.push_back(m);
  return items;
}

MenuItem* MenuWnd::AddMenu(const CString& title, UINT id, const CString& iconImage, int checkable, int check) {
  TextFormat f;
  f.family = fontName_;
  f.sizePx = fontSize_;
  f.style = fontStyle_;
  int textWidth = Painter::MeasureText(title, f).cx;
  if (width_ < textWidth + padding_ + 4) width_ = textWidth + padding_ + 4;
  auto* item = static_cast<MenuItem*>(CreateControl(L"MenuItem", id, CRect(), title.c_str()));
  if (!item) return nullptr;
  item->SetFont(fontName_.c_str(), fontSize_, fontStyle_);
  if (!iconImage.empty()) item->SetImage(iconImage.c_str(), 4);
  item->SetCheckable(checkable);
  item->SetCheck(check);
  SetMenuPoint();
  return item;
}

MenuItem* MenuWnd::AddSeparator(UINT id, const CString& image) {
  auto* item = static_cast<MenuItem*>(CreateControl(L"MenuItem", id, CRect(), L""));
  if (!item) return nullptr;
  item->SetSeparator(1);
  if (!image.empty()) item->SetImage(image.c_str(), 1);
  SetMenuPoint();
  return item;
}

void MenuWnd::SetMenuPoint() {
  int y = topMargin_ ? topMargin_ : 2;
  for (MenuItem* item : GetItems()) {
    if (!item->IsVisible()) {
      item->SetControlRect(CRect());
      continue;
    }
    if (item->IsSeparator()) {
      item->SetControlRect(CRect(padding_ + 1, y + 1, width_ - 1, y + 2));
      y += 4;
      continue;
    }
    item->SetControlRect(CRect(2, y, width_ - 2, y + itemHeight_));
    item->SetTextPadding(padding_);
    item->SetTextColor(textColor_);
    y += itemHeight_;
  }
  if (!hwnd_) return;
  CRect r = GetWindowRect();
  MoveWindow(CRect(r.left, r.top, r.left + width_, r.top + y + (bottomMargin_ ? bottomMargin_ : 2)), 1);
}

MenuItem* MenuWnd::FindItem(const CString& title) {
  for (MenuItem* item : GetItems())
    if (item->GetTitle() == title) return item;
  return nullptr;
}

void MenuWnd::Apply(Pending& p) {
  MenuItem* item = FindItem(p.title);
  if (!item) return;
  if (!p.newTitle.empty()) item->SetControlTitle(p.newTitle.c_str());
  if (p.visible >= 0) item->SetControlVisible(p.visible);
  if (p.enabled >= 0) item->SetEnabled(p.enabled);
  if (p.check >= 0) item->SetCheck(p.check);
  if (!p.newTitle.empty()) p.title = p.newTitle;
}

void MenuWnd::SetItemTitle(const CString& title, const CString& newTitle) {
  pending_.push_back({title, newTitle});
  Apply(pending_.back());
  SetMenuPoint();
}
void MenuWnd::SetItemVisible(const CString& title, int visible) {
  pending_.push_back({title, L"", visible});
  Apply(pending_.back());
  SetMenuPoint();
}
void MenuWnd::SetItemEnable(const CString& title, int enabled) {
  pending_.push_back({title, L"", -1, enabled});
  Apply(pending_.back());
}
void MenuWnd::SetItemCheck(const CString& title, int check) {
  pending_.push_back({title, L"", -1, -1, check});
  Apply(pending_.back());
}

void MenuWnd::InitUI(CRect) {
  for (auto& p : pending_) Apply(p);
  SetMenuPoint();
}

LRESULT MenuWnd::OnMessage(UINT id, UINT code, WPARAM w, LPARAM) {
  if (code != 2 && code != 7) return 0;
  if (owner_) win::PostMessage(owner_, command_, w, static_cast<LPARAM>(id));
  if (code == 2) CloseWindow();
  return 1;
}
