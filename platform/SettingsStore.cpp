#include "platform/SettingsStore.h"

#include "platform/AtomicFile.h"
#include "platform/Folders.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <vector>

namespace platform {
namespace {

// Far more than two numbers ever need; a bigger file is not ours to parse.
constexpr std::size_t kMaxStoreBytes = 1 << 20;
constexpr std::string_view kHeader = "# Keystrel settings; written by the program.\n";

std::mutex& WriteMutex() {
  static std::mutex m;
  return m;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool StorableName(std::string_view name) {
  if (name.empty() || name.front() == '#') return false;
  return name.find_first_of("=\r\n") == std::string_view::npos;
}

std::string Escape(std::string_view v) {
  std::string out;
  out.reserve(v.size());
  for (char c : v) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Unescape(std::string_view v) {
  std::string out;
  out.reserve(v.size());
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (v[i] != '\\' || i + 1 == v.size()) {
      out += v[i];
      continue;
    }
    const char n = v[++i];
    out += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
  }
  return out;
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const auto nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (nl == std::string_view::npos) break;
    text.remove_prefix(nl + 1);
  }
  return lines;
}

// The name of a value line, or empty for comments and lines without '='.
std::string_view LineName(std::string_view line) {
  if (line.empty() || line.front() == '#') return {};
  const auto eq = line.find('=');
  return eq == std::string_view::npos ? std::string_view{} : line.substr(0, eq);
}

bool Usable(const std::string& path, int mode) {
  return ::faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) == 0;
}

}  // namespace

SettingsStore::SettingsStore(std::string filePath) : path_(std::move(filePath)) {
  const auto slash = path_.rfind('/');
  folder_ = slash == std::string::npos ? "." : slash == 0 ? "/" : path_.substr(0, slash);
}

SettingsStore::Access SettingsStore::Probe() const {
  if (path_.empty()) return Access::Denied;
  struct stat st{};
  if (::stat(folder_.c_str(), &st) != 0) return errno == ENOENT ? Access::Missing : Access::Denied;
  // Replacing the file needs a writable, searchable folder.
  if (!S_ISDIR(st.st_mode) || !Usable(folder_, W_OK | X_OK)) return Access::Denied;
  if (::stat(path_.c_str(), &st) != 0) return errno == ENOENT ? Access::Missing : Access::Denied;
  if (!S_ISREG(st.st_mode) || !Usable(path_, R_OK | W_OK)) return Access::Denied;
  // Root passes every access check; the open proves the file really reads.
  const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Access::Denied;
  ::close(fd);
  return Access::Open;
}

bool SettingsStore::Create() const {
  switch (Probe()) {
    case Access::Open: return true;
    case Access::Denied: return false;
    case Access::Missing: break;
  }
  // Each missing folder from the top down; errors show up in the final probe.
  for (std::size_t pos = folder_.find('/', 1); ; pos = folder_.find('/', pos + 1)) {
    MakeFolder(folder_.substr(0, pos));
    if (pos == std::string::npos) break;
  }
  std::lock_guard<std::mutex> lock(WriteMutex());
  struct stat st{};
  if (::stat(path_.c_str(), &st) != 0 && !ReplaceFileAtomically(path_, kHeader)) return false;
  return Probe() == Access::Open;
}

std::optional<std::string> SettingsStore::Read(std::string_view name) const {
  if (Probe() != Access::Open) return std::nullopt;
  const auto text = ReadWholeFile(path_, kMaxStoreBytes);
  if (!text) return std::nullopt;
  for (std::string_view line : Lines(*text)) {
    const std::string_view n = LineName(line);
    if (!n.empty() && SameName(n, name)) return Unescape(line.substr(n.size() + 1));
  }
  return std::nullopt;
}

bool SettingsStore::Write(std::string_view name, std::string_view value) const {
  if (!StorableName(name)) return false;
  if (Probe() == Access::Missing && !Create()) return false;
  std::lock_guard<std::mutex> lock(WriteMutex());
  if (Probe() != Access::Open) return false;
  const auto text = ReadWholeFile(path_, kMaxStoreBytes);
  // An unreadable old file must not be replaced by one holding a single value.
  if (!text) return false;
  std::string out;
  bool replaced = false;
  for (std::string_view line : Lines(*text)) {
    const std::string_view n = LineName(line);
    if (!n.empty() && SameName(n, name)) {
      if (replaced) continue;  // a duplicate would shadow nothing; drop it
      out.append(name).append("=").append(Escape(value));
      replaced = true;
    } else {
      out.append(line);
    }
    out += '\n';
  }
  if (!replaced) out.append(name).append("=").append(Escape(value)).append("\n");
  return ReplaceFileAtomically(path_, out);
}

std::string SettingsFilePath(std::string_view appName) {
  const std::string config = ConfigHome();
  if (config.empty() || appName.empty()) return {};
  return config + "/" + std::string(appName) + "/settings";
}

}  // namespace platform
