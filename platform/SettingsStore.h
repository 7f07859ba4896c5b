// The stand-in for one registry key of the user's own settings: a small text
// file of "name=value" lines (UTF-8), one value per line, replaced atomically
// on every write so a crash or a full disk never loses the old values.
//
// Value names compare case-insensitively (ASCII), as registry names do. In a
// value, backslash, line feed and carriage return are stored as "\\", "\n"
// and "\r"; lines the store does not understand are kept as they are.
//
// Thread safety: any thread may call; writes in one process are serialised
// so that two read-modify-write cycles never lose each other's value.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

class SettingsStore {
 public:
  // Whether the store can be opened for reading and writing.
  enum class Access {
    Open,     // folder and file exist and may be read and replaced
    Missing,  // the file (or its folder) does not exist yet
    Denied,   // something exists but cannot be read or replaced
  };

  explicit SettingsStore(std::string filePath);

  const std::string& Path() const { return path_; }

  Access Probe() const;

  // Creates the missing folders (mode 0700) and an empty store. True when the
  // store is Open afterwards (also when it already was).
  bool Create() const;

  // The named value; nullopt when it is absent or the store cannot be read.
  std::optional<std::string> Read(std::string_view name) const;

  // Sets the named value, creating the store first when it is Missing. False
  // when nothing was written: the store is Denied, the name is not storable
  // (empty, or holding '=', a line break or a leading '#'), or the
  // replacement failed (the old file then stays as it was).
  bool Write(std::string_view name, std::string_view value) const;

 private:
  std::string path_;
  std::string folder_;
};

// The settings file of an application: ConfigHome()/<appName>/settings.
// Empty when no config folder is known.
std::string SettingsFilePath(std::string_view appName);

}  // namespace platform
