#include "korinui/TextEditModel.h"

#include <algorithm>

#include "korinui/TextCodec.h"

void TextEditModel::SetText(const CString& text) {
  text_ = text;
  caret_ = anchor_ = text_.size();
}

CString TextEditModel::GetSelectedText() const {
  return text_.substr(GetSelectionStart(), GetSelectionEnd() - GetSelectionStart());
}

void TextEditModel::SetCaret(std::size_t position, bool extend) {
  caret_ = std::min(position, text_.size());
  if (!extend) anchor_ = caret_;
}

void TextEditModel::MoveCaret(Move move, bool extend) {
  switch (move) {
    case Move::Left:
      if (HasSelection() && !extend) return SetCaret(GetSelectionStart(), false);
      return SetCaret(caret_ == 0 ? 0 : caret_ - 1, extend);
    case Move::Right:
      if (HasSelection() && !extend) return SetCaret(GetSelectionEnd(), false);
      return SetCaret(caret_ + 1, extend);
    case Move::Home:
      return SetCaret(0, extend);
    case Move::End:
      return SetCaret(text_.size(), extend);
  }
}

void TextEditModel::SelectAll() {
  anchor_ = 0;
  caret_ = text_.size();
}

bool TextEditModel::EraseSelection() {
  if (!HasSelection()) return false;
  const std::size_t start = GetSelectionStart();
  text_.erase(start, GetSelectionEnd() - start);
  caret_ = anchor_ = start;
  return true;
}

bool TextEditModel::Insert(const CString& text) {
  CString accepted;
  for (wchar_t c : text) {
    if (c == L'\r' || c == L'\n') break;
    if (c < 0x20 || c == 0x7F) continue;
    if (digitsOnly_ && (c < L'0' || c > L'9')) continue;
    accepted += c;
  }
  const std::size_t kept = text_.size() - (GetSelectionEnd() - GetSelectionStart());
  if (limit_ != 0) {
    const std::size_t room = kept >= limit_ ? 0 : limit_ - kept;
    if (accepted.size() > room) accepted.resize(room);
  }
  // Nothing acceptable typed over a selection leaves the selection alone, as typing a
  // refused letter into a digits box should not delete what was selected.
  if (accepted.empty()) return false;
  EraseSelection();
  text_.insert(caret_, accepted);
  caret_ = anchor_ = caret_ + accepted.size();
  return true;
}

bool TextEditModel::InsertUtf8(const std::string& utf8) {
  if (!korinui::IsValidUtf8(utf8)) return false;
  return Insert(korinui::Utf8ToWide(utf8));
}

bool TextEditModel::Backspace() {
  if (EraseSelection()) return true;
  if (caret_ == 0) return false;
  text_.erase(--caret_, 1);
  anchor_ = caret_;
  return true;
}

bool TextEditModel::Delete() {
  if (EraseSelection()) return true;
  if (caret_ >= text_.size()) return false;
  text_.erase(caret_, 1);
  return true;
}

bool TextEditModel::Copy(ITextClipboard& clipboard) const {
  return HasSelection() && clipboard.SetClipboardText(GetSelectedText());
}

bool TextEditModel::Cut(ITextClipboard& clipboard) {
  if (!Copy(clipboard)) return false;
  return EraseSelection();
}

bool TextEditModel::Paste(ITextClipboard& clipboard) {
  CString text;
  if (!clipboard.GetClipboardText(text)) return false;
  return Insert(text);
}
