// The single-instance rule: an exclusive lock on "$XDG_RUNTIME_DIR/ORVA 100.lock"
// and, beside it, the activation channel "ORVA 100.sock" through which a
// second start asks the first to bring its window to the front, and through
// which the external exit request ("exit 610") arrives.
#pragma once

#include "platform/ActivationChannel.h"
#include "platform/InstanceLock.h"

#include <memory>
#include <string>

class SingleInstance {
 public:
  // Takes the lock. When another instance holds it, asks that instance to
  // activate and returns nullptr: the caller must end with exit code 0 and
  // start nothing (if the other instance is still starting and cannot be
  // reached, nothing is shown either). When no lock can be made at all (no
  // runtime folder), the program runs unguarded and an object without lock or
  // channel is returned.
  static std::unique_ptr<SingleInstance> Claim();

  // Installs the receiver of "activate" and "exit <n>" requests; it runs on
  // the channel's own thread and must post window work to the user-interface
  // thread. Requests that arrive before a receiver exists are answered
  // "ignored". An empty function removes the receiver; after the call the old
  // one is not running. Does nothing without a channel.
  void SetRequestHandler(platform::ActivationServer::Handler handler);

  bool HoldsLock() const { return lock_ != nullptr; }
  bool HasChannel() const { return server_ != nullptr; }

 private:
  SingleInstance() = default;
  std::unique_ptr<platform::InstanceLock> lock_;
  std::unique_ptr<platform::ActivationServer> server_;
};

// "<runtime folder>/ORVA 100.lock" and "<runtime folder>/ORVA 100.sock";
// empty when there is no runtime folder.
std::string InstanceLockPath();
std::string ActivationSocketPath();

// Sends the external exit request with the given parameter to the running
// instance (610 ends it). True when the instance took the request.
bool PostExternalExit(long long parameter);
