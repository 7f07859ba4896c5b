#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace platform {

InstanceLock::Result InstanceLock::TryAcquire(const std::string& path,
                                              std::unique_ptr<InstanceLock>& out) {
  out.reset();
  if (path.empty()) return Result::Failed;
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (!fd.valid()) return Result::Failed;
  int rc;
  do {
    rc = ::flock(fd.get(), LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) return errno == EWOULDBLOCK ? Result::HeldElsewhere : Result::Failed;
  // The holder's pid, for whoever looks at the file; the lock does not need it.
  const std::string pid = std::to_string(::getpid()) + "\n";
  if (::ftruncate(fd.get(), 0) == 0) {
    const ssize_t ignored = ::pwrite(fd.get(), pid.data(), pid.size(), 0);
    (void)ignored;
  }
  out.reset(new InstanceLock(std::move(fd)));
  return Result::Acquired;
}

}  // namespace platform
