// An exclusive, process-lifetime lock on a file: the single-instance rule.
// The kernel drops the lock when the process ends, however it ends, so a
// crashed instance never blocks the next start.
#pragma once

#include "platform/UniqueFd.h"

#include <memory>
#include <string>

namespace platform {

class InstanceLock {
 public:
  enum class Result {
    Acquired,      // this process now holds the lock
    HeldElsewhere, // another open of the file (another instance) holds it
    Failed,        // the lock file cannot be opened or locked at all
  };

  // Opens (creating, mode 0600, links not followed) and locks path without
  // waiting. On Acquired, out holds the lock; otherwise out is reset.
  // The lock is per open file, so a second TryAcquire in the same process
  // reports HeldElsewhere as well.
  static Result TryAcquire(const std::string& path, std::unique_ptr<InstanceLock>& out);

  // Releases the lock (closing the file). The lock file itself stays: removing
  // it would let a third start lock a fresh file beside the held one.
  ~InstanceLock() = default;

  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

 private:
  explicit InstanceLock(UniqueFd fd) : fd_(std::move(fd)) {}
  UniqueFd fd_;
};

}  // namespace platform
