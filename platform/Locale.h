// The user's interface language, from the locale environment.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The locale name that decides the interface language: the first entry of
// LANGUAGE (a colon-separated list), else LC_ALL, else LC_MESSAGES, else
// LANG; the first non-empty one wins. Empty when none is set.
std::string UiLocaleName();

// Windows language id for a locale name such as "zh_CN.UTF-8" or "zh-SG":
// simplified Chinese (zh_CN, zh_SG; territory in any case, codeset and
// modifier ignored) is 2052, everything else, "C" and "" included, is 1033.
int LanguageIdFromLocaleName(std::string_view name);

// LanguageIdFromLocaleName(UiLocaleName()).
int UserDefaultUiLanguage();

}  // namespace platform
