#include "app/shell/AppLanguage.h"

#include "app/shell/AppRegistry.h"
#include "platform/Locale.h"

#include <atomic>

namespace {

// English until start-up settles the language.
std::atomic<int> g_languageId{1033};

}  // namespace

int CurrentLanguageId() { return g_languageId.load(std::memory_order_relaxed); }

void SetCurrentLanguageId(int id) { g_languageId.store(id, std::memory_order_relaxed); }

int DefaultInterfaceLanguage() {
  return platform::UserDefaultUiLanguage() == 2052 ? 2052 : 1033;
}

int SettleLanguageAtStart() {
  int id = ReadLanguageId();
  if (id == 0) {
    id = DefaultInterfaceLanguage();
    SaveLanguageId(id);
  }
  SetCurrentLanguageId(id);
  return id;
}
