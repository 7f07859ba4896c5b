#include "platform/Locale.h"

#include <cstdlib>

namespace platform {
namespace {

constexpr int kSimplifiedChinese = 2052;
constexpr int kEnglish = 1033;

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

}  // namespace

std::string UiLocaleName() {
  if (const char* language = std::getenv("LANGUAGE"); language != nullptr) {
    std::string_view list(language);
    while (!list.empty()) {
      const auto colon = list.find(':');
      const std::string_view first = list.substr(0, colon);
      if (!first.empty()) return std::string(first);
      if (colon == std::string_view::npos) break;
      list.remove_prefix(colon + 1);
    }
  }
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* v = std::getenv(name);
    if (v != nullptr && v[0] != '\0') return v;
  }
  return {};
}

int LanguageIdFromLocaleName(std::string_view name) {
  // language[_territory][.codeset][@modifier]; BCP 47 style uses '-'.
  name = name.substr(0, name.find_first_of(".@"));
  const std::string id = LowerAscii(name);
  if (id == "zh_cn" || id == "zh-cn" || id == "zh_sg" || id == "zh-sg") return kSimplifiedChinese;
  return kEnglish;
}

int UserDefaultUiLanguage() { return LanguageIdFromLocaleName(UiLocaleName()); }

}  // namespace platform
