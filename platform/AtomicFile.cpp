#include "platform/AtomicFile.h"

#include "platform/UniqueFd.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, unsigned newFileMode) {
  if (path.empty()) return false;
  auto mode = static_cast<mode_t>(newFileMode & 0777);
  bool keepOldMode = false;
  struct stat old{};
  if (::stat(path.c_str(), &old) == 0) {
    if (!S_ISREG(old.st_mode)) return false;
    mode = old.st_mode & 07777;
    keepOldMode = true;
  }
  const std::string temp = path + ".tmp";
  UniqueFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, mode));
  if (!fd.valid()) return false;
  // A new file takes open()'s mode less the umask; a replaced one keeps its bits exactly.
  const bool written = (!keepOldMode || ::fchmod(fd.get(), mode) == 0) && WriteAll(fd.get(), bytes) &&
                       ::fsync(fd.get()) == 0;
  // close() can report a deferred write error (network file systems); a file
  // whose close failed is not trusted.
  const bool closed = fd.Close();
  if (!written || !closed || ::rename(temp.c_str(), path.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  // The rename is durable only once the folder entry is on disk; the new
  // content is already complete either way, so a failure here is not one.
  UniqueFd dir(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.valid()) ::fsync(dir.get());
  return true;
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t maxBytes) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return std::nullopt;
  struct stat st{};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<unsigned long long>(st.st_size) > maxBytes)
    return std::nullopt;
  std::string out;
  out.reserve(static_cast<size_t>(st.st_size));
  char buf[8192];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) break;
    out.append(buf, static_cast<size_t>(n));
    if (out.size() > maxBytes) return std::nullopt;  // grew while we read
  }
  return out;
}

}  // namespace platform
