#include "platform/FileContents.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace platform {
namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Closes now and reports whether the close itself succeeded.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

std::string ErrorText(int err) { return std::strerror(err); }

}  // namespace

bool ReadFileContents(const std::string& path, std::size_t maxBytes, std::string& bytes, std::string& error) {
  bytes.clear();
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    error = ErrorText(errno);
    return false;
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) {
    error = ErrorText(errno);
    return false;
  }
  if (S_ISDIR(st.st_mode)) {
    error = ErrorText(EISDIR);
    return false;
  }
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = ErrorText(errno);
      bytes.clear();
      return false;
    }
    if (n == 0) break;
    if (bytes.size() + static_cast<std::size_t>(n) > maxBytes) {
      error = ErrorText(EFBIG);
      bytes.clear();
      return false;
    }
    bytes.append(buf, static_cast<std::size_t>(n));
  }
  return true;
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes, std::string& error) {
  static std::atomic<unsigned> counter{0};
  const std::string tmp = path + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
  Fd fd(::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (fd.get() < 0) {
    error = ErrorText(errno);
    return false;
  }
  auto fail = [&](int err) {
    error = ErrorText(err);
    fd.Close();
    ::unlink(tmp.c_str());
    return false;
  };
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd.get(), p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  if (::fsync(fd.get()) != 0) return fail(errno);
  if (!fd.Close()) {
    const int err = errno;
    ::unlink(tmp.c_str());
    error = ErrorText(err);
    return false;
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    const int err = errno;
    ::unlink(tmp.c_str());
    error = ErrorText(err);
    return false;
  }
  return true;
}

}  // namespace platform
