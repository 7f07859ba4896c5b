// The user's base folders (XDG rules), the resource root and the few folder
// operations the program needs. Paths are UTF-8 byte strings.
#pragma once

#include <string>

namespace platform {

// Home folder: $HOME when absolute, else the password database entry; empty
// when neither is known.
std::string HomeFolder();

// $XDG_CONFIG_HOME, or HOME/.config. Relative or empty values are ignored as
// the XDG rules require. No trailing '/'. Empty when no home is known.
std::string ConfigHome();

// $XDG_DATA_HOME, or HOME/.local/share. Same rules as ConfigHome.
std::string DataHome();

// $XDG_RUNTIME_DIR when absolute. Without it, a private folder
// /tmp/keystrel-<uid> is created (mode 0700) and used only when it is a real
// folder owned by this user and closed to others; otherwise empty.
std::string RuntimeFolder();

// The resource root with a trailing '/': <prefix>/share/keystrel/ when the
// executable sits in <prefix>/bin and that folder exists (installed), else
// the executable's own folder (build tree). Empty when the executable's
// location is unknown.
std::string ResourceRoot();

// True when the path names a folder (symbolic links followed).
bool IsFolder(const std::string& path);

enum class MakeFolderResult { Created, AlreadyExists, Failed };

// One mkdir with mode 0700 (the user's data is nobody else's). AlreadyExists
// also when a non-folder holds the name; callers that need a folder check
// IsFolder.
MakeFolderResult MakeFolder(const std::string& path);

}  // namespace platform
