#include "platform/Folders.h"

#include "platform/ExecutablePath.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace platform {
namespace {

// An environment value counts only when it is an absolute path.
std::string AbsoluteEnv(const char* name) {
  const char* v = std::getenv(name);
  if (v == nullptr || v[0] != '/') return {};
  std::string s(v);
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

std::string UnderHome(const char* rel) {
  const std::string home = HomeFolder();
  if (home.empty()) return {};
  return home == "/" ? std::string("/") + rel : home + "/" + rel;
}

}  // namespace

std::string HomeFolder() {
  std::string home = AbsoluteEnv("HOME");
  if (!home.empty()) return home;
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  if (size <= 0) size = 16384;
  std::vector<char> buf(static_cast<size_t>(size));
  passwd pw{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &pw, buf.data(), buf.size(), &found) != 0 || found == nullptr ||
      found->pw_dir == nullptr || found->pw_dir[0] != '/')
    return {};
  return found->pw_dir;
}

std::string ConfigHome() {
  std::string v = AbsoluteEnv("XDG_CONFIG_HOME");
  return v.empty() ? UnderHome(".config") : v;
}

std::string DataHome() {
  std::string v = AbsoluteEnv("XDG_DATA_HOME");
  return v.empty() ? UnderHome(".local/share") : v;
}

std::string RuntimeFolder() {
  std::string v = AbsoluteEnv("XDG_RUNTIME_DIR");
  if (!v.empty()) return v;
  // A shared /tmp is only safe for our lock and socket when the folder is
  // ours alone; someone else could have planted it first.
  const std::string dir = "/tmp/keystrel-" + std::to_string(::getuid());
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return {};
  struct stat st{};
  if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() ||
      (st.st_mode & 077) != 0)
    return {};
  return dir;
}

std::string ResourceRoot() {
  const std::string exe = ExecutableFolder();
  if (exe.empty()) return {};
  const std::string binSuffix = "/bin/";
  if (exe.size() > binSuffix.size() &&
      exe.compare(exe.size() - binSuffix.size(), binSuffix.size(), binSuffix) == 0) {
    const std::string installed = exe.substr(0, exe.size() - binSuffix.size()) + "/share/keystrel/";
    if (IsFolder(installed)) return installed;
  }
  return exe;
}

bool IsFolder(const std::string& path) {
  struct stat st{};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

MakeFolderResult MakeFolder(const std::string& path) {
  if (path.empty()) return MakeFolderResult::Failed;
  if (::mkdir(path.c_str(), 0700) == 0) return MakeFolderResult::Created;
  return errno == EEXIST ? MakeFolderResult::AlreadyExists : MakeFolderResult::Failed;
}

}  // namespace platform
