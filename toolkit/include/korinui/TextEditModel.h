// The text, caret and selection of a single-line editor, without any window: the edit
// boxes, the list's in-place rename and the macro step delay editor all keep their
// editing state in one of these and only draw it. Window thread only; not locked.
//
// Positions count characters (wide characters, one per code point here) from 0 to the
// text length. The selection is the range between the anchor and the caret; it is empty
// when both are equal. Every editing call returns true when the text changed.
#pragma once

#include <cstddef>
#include <string>

#include "korinui/Types.h"

// What the editor needs from a clipboard. The toolkit's window layer implements it over
// the platform clipboard; tests use a plain string.
class ITextClipboard {
 public:
  virtual ~ITextClipboard() = default;
  // Replaces the clipboard text; false when the clipboard refused it.
  virtual bool SetClipboardText(const CString& text) = 0;
  // Reads the clipboard text; false when it holds none.
  virtual bool GetClipboardText(CString& text) = 0;
};

class TextEditModel {
 public:
  enum class Move { Left, Right, Home, End };

  // Replaces the whole text as given (the program's own values are not filtered), puts
  // the caret at its end and clears the selection.
  void SetText(const CString& text);
  const CString& GetText() const { return text_; }

  // Most characters the user can bring the text to; 0 means no limit. A text that is
  // already longer is kept, but nothing more can be typed or pasted into it.
  void SetLimit(std::size_t characters) { limit_ = characters; }
  std::size_t GetLimit() const { return limit_; }
  // Only the digits 0 to 9 are accepted from typing and pasting.
  void SetDigitsOnly(bool on) { digitsOnly_ = on; }
  bool IsDigitsOnly() const { return digitsOnly_; }

  std::size_t GetCaret() const { return caret_; }
  std::size_t GetSelectionStart() const { return caret_ < anchor_ ? caret_ : anchor_; }
  std::size_t GetSelectionEnd() const { return caret_ < anchor_ ? anchor_ : caret_; }
  bool HasSelection() const { return caret_ != anchor_; }
  CString GetSelectedText() const;

  // Places the caret (clamped to the text); `extend` keeps the anchor, so the selection
  // grows or shrinks, otherwise the selection is dropped.
  void SetCaret(std::size_t position, bool extend);
  // Left and Right without `extend` first collapse a selection to its near end.
  void MoveCaret(Move move, bool extend);
  void SelectAll();

  // Replaces the selection with `text` after filtering: line breaks end the text (the
  // editor holds one line), control characters and, in digits-only mode, non-digits are
  // dropped, and the rest is cut to what the limit leaves room for.
  bool Insert(const CString& text);
  // Text input as the platform delivers it (UTF-8); malformed input is ignored.
  bool InsertUtf8(const std::string& utf8);
  // Delete the selection, else the character before (Backspace) or after the caret.
  bool Backspace();
  bool Delete();

  // Clipboard operations on the selection. Copy returns true when the clipboard took the
  // text. Copy and Cut do nothing without a selection; Cut removes the text only when
  // the clipboard took it, so nothing is lost.
  bool Copy(ITextClipboard& clipboard) const;
  bool Cut(ITextClipboard& clipboard);
  bool Paste(ITextClipboard& clipboard);

 private:
  bool EraseSelection();

  CString text_;
  std::size_t caret_ = 0;
  std::size_t anchor_ = 0;
  std::size_t limit_ = 0;
  bool digitsOnly_ = false;
};
