#include "app/data/Localization.h"

#include "app/data/LanguageFile.h"
#include "app/shell/AppFolders.h"
#include "app/shell/AppLanguage.h"
#include "korinui/TextCodec.h"

#include <string_view>

namespace {

constexpr std::wstring_view kSection = L"KB.DIALOG";

bool StartsWith(const CString& s, std::wstring_view prefix) {
  return s.size() >= prefix.size() && std::wstring_view(s).substr(0, prefix.size()) == prefix;
}

}  // namespace

CString LanguageFilePath(int languageId) {
  return GetProgramFolder() + L"language/" + std::to_wstring(languageId) + L".lan";
}

CString GetText(int id) {
  return ReadProfileString(korinui::WideToUtf8(LanguageFilePath(CurrentLanguageId())), kSection,
                           std::to_wstring(id));
}

CString LocalizeName(const CString& stored, const NamePrefixes& prefixes, int textId) {
  const int language = CurrentLanguageId();
  const wchar_t* prefix = language == 2052 ? prefixes.latin
                          : language == 1033 ? prefixes.chinese
                                             : nullptr;
  if (prefix == nullptr || !StartsWith(stored, prefix)) return stored;
  return GetText(textId) + stored.substr(std::wstring_view(prefix).size());
}
