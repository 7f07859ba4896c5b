#include "platform/Charset.h"

#include <gtest/gtest.h>

namespace {

TEST(XmlCharset, LegacyCharsetFromTheLocale) {
  struct Case { const char* locale; const char* charset; };
  const Case cases[] = {
      {"en_US.UTF-8", "WINDOWS-1252"}, {"de_DE.utf8", "WINDOWS-1252"}, {"C", "WINDOWS-1252"}, {"", "WINDOWS-1252"},
      {"zh_CN.UTF-8", "GBK"},          {"zh_SG", "GBK"},               {"zh_TW.UTF-8", "BIG5"},
      {"ja_JP.UTF-8", "CP932"},        {"ko_KR.UTF-8@x", "CP949"},     {"ru_RU.KOI8-R", "KOI8-R"},
      {"en_US.ISO-8859-15", "ISO-8859-15"}, {"xx_XX.NO-SUCH-SET", "WINDOWS-1252"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.locale);
    EXPECT_EQ(platform::AnsiCharsetForLocale(c.locale), c.charset);
  }
}

TEST(XmlCharset, BadInputIsReplacedNotDropped) {
  std::wstring text;
  auto r = platform::DecodeCharset("UTF-8", "a\xFF" "b\xE4\xB8", text);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(text, L"a\uFFFDb\uFFFD");
  EXPECT_EQ(r.lost, 2u);
  EXPECT_TRUE(r.truncated);

  std::string bytes;
  r = platform::EncodeCharset("ISO-8859-1", L"\u00e9\u4e2dz", bytes);
  EXPECT_EQ(bytes, "\xE9?z");
  EXPECT_EQ(r.lost, 1u);
  r = platform::EncodeCharset("UTF-16LE", L"\u4e2d", bytes);
  EXPECT_EQ(bytes, "\x2D\x4E");

  EXPECT_FALSE(platform::DecodeCharset("NO-SUCH-SET", "x", text).ok);
  EXPECT_TRUE(text.empty());
}

}  // namespace
