// The channel through which a later start (or another program) asks the
// running instance to come to the front, or to end: a Unix stream socket
// beside the instance lock.
//
// Wire format: one request per connection, one line of ASCII text ending in
// "\n", at most 64 bytes with the line feed:
//   "activate\n"   bring the main window to the front
//   "exit <n>\n"   the external exit request with parameter n (decimal,
//                  optional '-'); the receiver ends only for n = 610
// The server answers "ok\n" when a handler took the request, "ignored\n"
// when no handler is installed yet (the window is still starting) and
// "bad\n" for anything else, then closes the connection.
#pragma once

#include "platform/UniqueFd.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace platform {

struct ActivationRequest {
  enum class Kind { Activate, ExternalExit };
  Kind kind = Kind::Activate;
  std::int64_t parameter = 0;  // the exit request's parameter; 0 for Activate

  bool operator==(const ActivationRequest&) const = default;
};

// The request's line, "\n" included.
std::string FormatActivationRequest(const ActivationRequest& request);

// Parses one line (with or without its "\n"); nullopt for anything that is
// not exactly one of the two forms.
std::optional<ActivationRequest> ParseActivationRequest(std::string_view line);

class ActivationServer {
 public:
  // Runs on the server's own thread, once per accepted request. It must not
  // block for long and must hand window work to the user-interface thread.
  using Handler = std::function<void(const ActivationRequest&)>;

  // Binds and listens at socketPath, replacing a stale socket left there (the
  // caller holds the instance lock, so no live server can own it), and starts
  // the serving thread. Only connections from this user are served. nullptr
  // when the socket cannot be set up (path too long, folder unusable).
  static std::unique_ptr<ActivationServer> Start(const std::string& socketPath);

  // Stops the thread, closes the socket and removes its file.
  ~ActivationServer();

  ActivationServer(const ActivationServer&) = delete;
  ActivationServer& operator=(const ActivationServer&) = delete;

  // Installs (or with an empty function removes) the handler. Any thread may
  // call, but not the handler itself. After it returns, the previous handler
  // is not running and will not be called again.
  void SetHandler(Handler handler);

 private:
  ActivationServer(std::string path, UniqueFd listener, UniqueFd wakeRead, UniqueFd wakeWrite);
  void Serve();
  void ServeOne(int connection);

  std::string path_;
  UniqueFd listener_;
  UniqueFd wakeRead_;
  UniqueFd wakeWrite_;
  std::mutex handlerMutex_;
  Handler handler_;
  std::thread thread_;
};

// Connects to the server at socketPath, sends the request and waits up to
// timeoutMs for the answer. True only when the server answered "ok".
bool SendActivationRequest(const std::string& socketPath, const ActivationRequest& request,
                           int timeoutMs = 2000);

}  // namespace platform
