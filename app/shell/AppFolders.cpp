#include "app/shell/AppFolders.h"

#include "app/shell/AppIdentity.h"
#include "korinui/TextCodec.h"
#include "platform/Folders.h"

using korinui::Utf8ToWide;
using korinui::WideToUtf8;

CString GetProgramFolder() { return Utf8ToWide(platform::ResourceRoot()); }

CString GetAppDataFolder() {
  const std::string data = platform::DataHome();
  if (data.empty()) return {};
  return Utf8ToWide(data) + L"/" + kAppName + L" Files/";
}

bool CreateDirectoryTree(const CString& path) {
  const std::string p = WideToUtf8(path);
  if (p.empty()) return false;
  if (platform::IsFolder(p)) return true;
  // Every parent from the top; an existing one or a failure shows at the end.
  for (std::size_t pos = p.find('/', 1); pos != std::string::npos; pos = p.find('/', pos + 1))
    platform::MakeFolder(p.substr(0, pos));
  // "Already exists" counts only when what exists is a folder.
  return platform::MakeFolder(p) != platform::MakeFolderResult::Failed && platform::IsFolder(p);
}
