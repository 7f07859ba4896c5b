#include "korinui/TextEditModel.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class FakeClipboard : public ITextClipboard {
 public:
  bool SetClipboardText(const CString& text) override {
    if (refuse) return false;
    content = text;
    has = true;
    return true;
  }
  bool GetClipboardText(CString& text) override {
    if (!has) return false;
    text = content;
    return true;
  }
  CString content;
  bool has = false;
  bool refuse = false;
};

TEST(TextEditModel, TypingFiltersAndRespectsTheLimit) {
  struct Case {
    const char* what;
    const wchar_t* start;
    std::size_t limit;
    bool digits;
    std::string typed;
    const wchar_t* result;
    bool changed;
  };
  const Case cases[] = {
      {"plain text", L"", 0, false, "abc", L"abc", true},
      {"UTF-8 input", L"", 0, false, "\xE9\x94\xAE\xE7\x9B\x98", L"\x952E\x76D8", true},
      {"malformed UTF-8 is ignored", L"a", 0, false, "\xC3\x28", L"a", false},
      {"digits only keeps the digits", L"", 0, true, "1a2-3", L"123", true},
      {"digits only refuses letters", L"12", 0, true, "x", L"12", false},
      {"limit cuts the insertion", L"12", 4, false, "3456", L"1234", true},
      {"full text takes nothing", L"1234", 4, false, "5", L"1234", false},
      {"longer text set by the program is kept", L"123456", 4, false, "7", L"123456", false},
      {"a line break ends the input", L"", 0, false, "ab\ncd", L"ab", true},
      {"control characters are dropped", L"", 0, false, "a\tb", L"ab", true},
  };
  for (const Case& c : cases) {
    TextEditModel m;
    m.SetText(c.start);
    m.SetLimit(c.limit);
    m.SetDigitsOnly(c.digits);
    EXPECT_EQ(m.InsertUtf8(c.typed), c.changed) << c.what;
    EXPECT_EQ(m.GetText(), c.result) << c.what;
    EXPECT_EQ(m.GetCaret(), m.GetText().size()) << c.what;
  }
}

TEST(TextEditModel, TypingReplacesTheSelectionWithinTheLimit) {
  TextEditModel m;
  m.SetText(L"12345");
  m.SetLimit(5);
  m.SetCaret(1, false);
  m.SetCaret(4, true);  // "234" selected
  EXPECT_TRUE(m.Insert(L"abcd"));  // room for 3 once the selection goes
  EXPECT_EQ(m.GetText(), L"1abc5");
  EXPECT_EQ(m.GetCaret(), 4u);
  EXPECT_FALSE(m.HasSelection());

  // A refused character does not delete the selection.
  m.SetDigitsOnly(true);
  m.SelectAll();
  EXPECT_FALSE(m.InsertUtf8("z"));
  EXPECT_EQ(m.GetText(), L"1abc5");
  EXPECT_TRUE(m.HasSelection());
}

TEST(TextEditModel, CaretMovesAndSelections) {
  TextEditModel m;
  m.SetText(L"hello");
  EXPECT_EQ(m.GetCaret(), 5u);
  m.MoveCaret(TextEditModel::Move::Right, false);
  EXPECT_EQ(m.GetCaret(), 5u);  // stays at the end
  m.MoveCaret(TextEditModel::Move::Left, true);
  m.MoveCaret(TextEditModel::Move::Left, true);
  EXPECT_EQ(m.GetSelectedText(), L"lo");
  m.MoveCaret(TextEditModel::Move::Right, false);  // collapses to the selection's end
  EXPECT_EQ(m.GetCaret(), 5u);
  EXPECT_FALSE(m.HasSelection());
  m.MoveCaret(TextEditModel::Move::Home, true);
  EXPECT_EQ(m.GetSelectedText(), L"hello");
  m.MoveCaret(TextEditModel::Move::Left, false);  // collapses to the start
  EXPECT_EQ(m.GetCaret(), 0u);
  m.MoveCaret(TextEditModel::Move::Left, false);
  EXPECT_EQ(m.GetCaret(), 0u);
  m.SetCaret(99, false);
  EXPECT_EQ(m.GetCaret(), 5u);
}

TEST(TextEditModel, BackspaceAndDelete) {
  TextEditModel m;
  m.SetText(L"abc");
  EXPECT_TRUE(m.Backspace());
  EXPECT_EQ(m.GetText(), L"ab");
  EXPECT_FALSE(m.Delete());  // nothing after the caret
  m.SetCaret(0, false);
  EXPECT_FALSE(m.Backspace());
  EXPECT_TRUE(m.Delete());
  EXPECT_EQ(m.GetText(), L"b");
  m.SelectAll();
  EXPECT_TRUE(m.Backspace());
  EXPECT_EQ(m.GetText(), L"");  // an emptied delay box reads empty; its owner decides
}

TEST(TextEditModel, ClipboardCutCopyPaste) {
  FakeClipboard clip;
  TextEditModel m;
  m.SetText(L"macro one");
  EXPECT_FALSE(m.Copy(clip));  // no selection
  EXPECT_FALSE(clip.has);
  m.SetCaret(0, false);
  m.SetCaret(5, true);
  EXPECT_TRUE(m.Cut(clip));
  EXPECT_EQ(clip.content, L"macro");
  EXPECT_EQ(m.GetText(), L" one");
  m.MoveCaret(TextEditModel::Move::End, false);
  EXPECT_TRUE(m.Paste(clip));
  EXPECT_EQ(m.GetText(), L" onemacro");

  // A clipboard that refuses the text: Cut keeps it, so nothing is lost.
  clip.refuse = true;
  m.SelectAll();
  EXPECT_FALSE(m.Cut(clip));
  EXPECT_EQ(m.GetText(), L" onemacro");
}

TEST(TextEditModel, PasteIsFilteredLikeTyping) {
  FakeClipboard clip;
  clip.has = true;
  clip.content = L"12ab34\r\n56";
  TextEditModel m;
  m.SetDigitsOnly(true);
  m.SetLimit(3);
  EXPECT_TRUE(m.Paste(clip));
  EXPECT_EQ(m.GetText(), L"123");
  FakeClipboard empty;
  EXPECT_FALSE(m.Paste(empty));
}

}  // namespace
