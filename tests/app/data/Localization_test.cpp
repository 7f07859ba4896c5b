#include "app/data/LanguageFile.h"
#include "app/data/Localization.h"
#include "app/shell/AppFolders.h"
#include "app/shell/AppLanguage.h"

#include "support/TempFolder.h"

#include "korinui/TextCodec.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using testsupport::TempFolder;
using testsupport::WriteBytes;

namespace {

// Restores the process-wide language after a test changed it.
class LanguageGuard {
 public:
  LanguageGuard() : saved_(CurrentLanguageId()) {}
  ~LanguageGuard() { SetCurrentLanguageId(saved_); }

 private:
  int saved_;
};

std::string Utf16LeWithBom(const std::wstring& text) {
  std::string out = "\xFF\xFE";
  for (char16_t u : korinui::WideToUtf16(text)) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
  }
  return out;
}

std::string Utf16BeWithBom(const std::wstring& text) {
  std::string out = "\xFE\xFF";
  for (char16_t u : korinui::WideToUtf16(text)) {
    out += static_cast<char>(u >> 8);
    out += static_cast<char>(u & 0xFF);
  }
  return out;
}

// Every text id the program's windows, pages and dialogs ask for.
std::set<int> UsedTextIds() {
  std::set<int> ids = {2,   5,   10,  11,  22,  26,  27,  28,  29,  30,  31,  32,  33,  37,  50,  51,
                       52,  53,  55,  56,  60,  61,  65,  82,  83,  86,  87,  88,  150, 151, 152, 153,
                       156, 157, 165, 166, 167, 168, 170, 171, 172, 175, 176, 177, 201, 202, 204, 205,
                       206, 207, 208, 209, 210, 211, 212, 218, 220, 252, 290, 291, 293, 295, 329, 330,
                       331, 621};
  auto range = [&ids](int from, int to) {
    for (int i = from; i <= to; ++i) ids.insert(i);
  };
  range(100, 104);  // lighting page music controls
  range(222, 228);  // list functions
  range(230, 236);  // media functions
  range(270, 279);  // picker icon names
  range(300, 312);  // macro page
  range(316, 323);
  range(325, 327);
  range(335, 337);
  range(363, 370);  // message boxes of the key and macro pages
  range(701, 715);  // built-in shortcuts
  range(801, 810);  // effect names of the shipped layouts
  return ids;
}

}  // namespace

TEST(LocalizationFile, EntryLookupFollowsTheProfileReaderRules) {
  const std::string file =
      "; comment line\n"
      "[Other]\n"
      "65=wrong section\n"
      "[ kb.dialog ]\n"
      "  65  =  Profile  \n"
      "65=second of the same key\n"
      "; 66=commented out\n"
      "67\n"
      "68=\"quoted text\"\n"
      "69='single quoted'\n"
      "70=\"unbalanced\n"
      "71=a=b\n"
      "072=leading zero\n"
      "73=\n"
      "[KB.DIALOG]\n"
      "74=in a second section of the same name\n"
      "[Next]\n"
      "75=next section\n";
  const std::pair<const wchar_t*, std::wstring> cases[] = {
      {L"65", L"Profile"},       {L"66", L""},           {L"67", L""},
      {L"68", L"quoted text"},   {L"69", L"single quoted"}, {L"70", L"\"unbalanced"},
      {L"71", L"a=b"},           {L"72", L""},           {L"73", L""},
      {L"74", L""},              {L"75", L""},           {L"", L""},
  };
  TempFolder t;
  WriteBytes(t / "t.lan", file);
  for (const auto& [key, expect] : cases)
    EXPECT_EQ(ReadProfileString(t / "t.lan", L"KB.DIALOG", key), expect) << korinui::WideToUtf8(key);
  EXPECT_EQ(ReadProfileString(t / "t.lan", L"Missing", L"65"), L"");
  EXPECT_EQ(ReadProfileString(t / "absent.lan", L"KB.DIALOG", L"65"), L"");
}

TEST(LocalizationFile, EncodingsAndLineEnds) {
  const std::wstring text = L"[KB.DIALOG]\r\n65=\u914D\u7F6E\u6587\u4EF6\r\n331=\u5B8F \U0001F600\r\n";
  const std::pair<const char*, std::string> cases[] = {
      {"UTF-8", korinui::WideToUtf8(text)},
      {"UTF-8 with mark", "\xEF\xBB\xBF" + korinui::WideToUtf8(text)},
      {"UTF-16LE with mark", Utf16LeWithBom(text)},
      {"UTF-16BE with mark", Utf16BeWithBom(text)},
      {"bare CR line ends", korinui::WideToUtf8(L"[KB.DIALOG]\r65=\u914D\u7F6E\u6587\u4EF6\r331=\u5B8F \U0001F600")},
  };
  TempFolder t;
  for (const auto& [name, bytes] : cases) {
    WriteBytes(t / "t.lan", bytes);
    EXPECT_EQ(ReadProfileString(t / "t.lan", L"KB.DIALOG", L"65"), L"\u914D\u7F6E\u6587\u4EF6") << name;
    EXPECT_EQ(ReadProfileString(t / "t.lan", L"KB.DIALOG", L"331"), L"\u5B8F \U0001F600") << name;
  }
  // Malformed bytes do not stop the reader.
  WriteBytes(t / "t.lan", "[KB.DIALOG]\n1=a\xFF" "b\n2=fine\n");
  EXPECT_EQ(ReadProfileString(t / "t.lan", L"KB.DIALOG", L"1"), L"a\uFFFDb");
  EXPECT_EQ(ReadProfileString(t / "t.lan", L"KB.DIALOG", L"2"), L"fine");
}

TEST(LocalizationFile, LongTextsAreCutAt259Units) {
  TempFolder t;
  const std::wstring astral = L"\U0001F600";  // two UTF-16 units
  struct Case {
    const char* name;
    std::wstring value;
    std::wstring expect;
  };
  const Case cases[] = {
      {"300 characters", std::wstring(300, L'x'), std::wstring(259, L'x')},
      {"exactly 259", std::wstring(259, L'y'), std::wstring(259, L'y')},
      {"pair would straddle the end", std::wstring(258, L'z') + astral, std::wstring(258, L'z')},
      {"pair fits", std::wstring(257, L'z') + astral + L"w", std::wstring(257, L'z') + astral},
  };
  for (const auto& c : cases) {
    WriteBytes(t / "t.lan", korinui::WideToUtf8(L"[KB.DIALOG]\n5=" + c.value + L"\n"));
    EXPECT_EQ(ReadProfileString(t / "t.lan", L"KB.DIALOG", L"5"), c.expect) << c.name;
  }
}

TEST(LocalizationText, TextsFollowTheCurrentLanguage) {
  LanguageGuard guard;
  SetCurrentLanguageId(1033);
  EXPECT_EQ(GetText(65), L"Profile");
  EXPECT_EQ(GetText(331), L"Macro");
  SetCurrentLanguageId(2052);
  EXPECT_EQ(GetText(65), L"\u914D\u7F6E\u6587\u4EF6");
  EXPECT_EQ(GetText(331), L"\u5B8F");
  EXPECT_EQ(GetText(999999), L"");
  SetCurrentLanguageId(1031);  // no such file: every text is empty
  EXPECT_EQ(GetText(65), L"");
  EXPECT_EQ(LanguageFilePath(1031), GetProgramFolder() + L"language/1031.lan");
}

TEST(LocalizationText, LocalizeNameTranslatesOnlyTheKnownPrefix) {
  LanguageGuard guard;
  const std::wstring zhProfile = L"\u914D\u7F6E\u6587\u4EF6";
  struct Case {
    int language;
    std::wstring stored;
    bool macro;
    std::wstring expect;
  };
  const Case cases[] = {
      {2052, L"Profile 1", false, zhProfile + L" 1"},
      {2052, L"Profile X", false, zhProfile + L" X"},
      {2052, L"ProfileZ", false, zhProfile + L"Z"},
      {2052, L"profile 1", false, L"profile 1"},
      {2052, L"My Profile", false, L"My Profile"},
      {2052, zhProfile + L" 2", false, zhProfile + L" 2"},
      {1033, zhProfile + L" 2", false, L"Profile 2"},
      {1033, L"Profile 1", false, L"Profile 1"},
      {1031, L"Profile 1", false, L"Profile 1"},
      {1031, zhProfile + L" 1", false, zhProfile + L" 1"},
      {2052, L"Macro 3", true, L"\u5B8F 3"},
      {1033, L"\u5B8F 3", true, L"Macro 3"},
      {1033, L"\u5B8F", true, L"Macro"},
      {2052, L"Macros", true, L"\u5B8Fs"},
      {2052, L"Profile 1", true, L"Profile 1"},
      {2052, L"", false, L""},
  };
  for (const auto& c : cases) {
    SetCurrentLanguageId(c.language);
    const auto& prefixes = c.macro ? kMacroNamePrefixes : kProfileNamePrefixes;
    const int id = c.macro ? kMacroWordTextId : kProfileWordTextId;
    EXPECT_EQ(LocalizeName(c.stored, prefixes, id), c.expect)
        << c.language << " " << korinui::WideToUtf8(c.stored);
  }
}

TEST(LocalizationText, ShippedFilesCoverEveryUsedTextInBothLanguages) {
  LanguageGuard guard;
  for (int language : {1033, 2052}) {
    SetCurrentLanguageId(language);
    for (int id : UsedTextIds()) {
      const CString text = GetText(id);
      EXPECT_FALSE(text.empty()) << "language " << language << " text " << id;
      EXPECT_LT(korinui::WideToUtf16(text).size(), kMaxProfileTextUnits) << language << " " << id;
    }
  }
  // Names created in one language must be recognised as the other's prefix.
  SetCurrentLanguageId(1033);
  EXPECT_EQ(GetText(kProfileWordTextId), kProfileNamePrefixes.latin);
  EXPECT_EQ(GetText(kMacroWordTextId), kMacroNamePrefixes.latin);
  SetCurrentLanguageId(2052);
  EXPECT_EQ(GetText(kProfileWordTextId), kProfileNamePrefixes.chinese);
  EXPECT_EQ(GetText(kMacroWordTextId), kMacroNamePrefixes.chinese);
}
