#include "app/shell/EntryPoint.h"

#include "app/shell/AppFolders.h"
#include "app/shell/AppLanguage.h"
#include "app/shell/DebugPrivilege.h"
#include "app/shell/SingleInstance.h"
#include "korinui/TextCodec.h"

#include <cstdio>

int RunEntryPoint() {
  // Held until the process ends, as the instance mark must be.
  const auto instance = SingleInstance::Claim();
  if (!instance) return 0;

  (void)EnableDebugPrivilege();
  const int language = SettleLanguageAtStart();
  const CString dbFolder = GetAppDataFolder() + L"db";
  const bool dataReady = CreateDirectoryTree(dbFolder);

  std::printf("keystrel: language %d, data folder %s%s\n", language,
              korinui::WideToUtf8(dbFolder).c_str(), dataReady ? "" : " (could not be created)");
  std::puts("keystrel: the main window is not built yet; nothing to show.");
  return 0;
}
