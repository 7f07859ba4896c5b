#include "korinui/TextCodec.h"

#include <gtest/gtest.h>

using korinui::IsValidUtf8;
using korinui::Utf16ToWide;
using korinui::Utf8ToWide;
using korinui::WideToUtf16;
using korinui::WideToUtf8;

TEST(TextCodec, RoundTripsAcrossPlanes) {
  const std::wstring text = L"A\u00e9\u4e2d\U0001F600";
  EXPECT_EQ(Utf8ToWide(WideToUtf8(text)), text);
  EXPECT_EQ(Utf16ToWide(WideToUtf16(text)), text);
  EXPECT_EQ(WideToUtf8(text), "A\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80");
  EXPECT_EQ(WideToUtf16(L"\U0001F600").size(), 2u);
}

TEST(TextCodec, MalformedInputBecomesReplacement) {
  struct Case { const char* name; std::string bytes; std::wstring expect; };
  const Case cases[] = {
      {"lone continuation", "\x80", L"\uFFFD"},
      {"overlong slash", "\xC0\xAF", L"\uFFFD\uFFFD"},
      {"surrogate", "\xED\xA0\x80", L"\uFFFD"},
      {"past U+10FFFF", "\xF4\x90\x80\x80", L"\uFFFD"},
      {"truncated then ascii", "\xE4\xB8" "a", L"\uFFFDa"},
      {"truncated at end", "a\xF0\x9F", L"a\uFFFD"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToWide(c.bytes), c.expect) << c.name;
    EXPECT_FALSE(IsValidUtf8(c.bytes)) << c.name;
  }
  EXPECT_TRUE(IsValidUtf8("plain \xEF\xBF\xBD ok"));
  EXPECT_EQ(Utf16ToWide(std::u16string{u'a', char16_t(0xDC00), u'b'}), L"a\uFFFDb");
}
