#include "platform/ActivationChannel.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>

namespace platform {
namespace {

constexpr std::size_t kMaxLine = 64;
constexpr int kPeerTimeoutMs = 500;  // a silent client must not hold the server

bool FillAddress(const std::string& path, sockaddr_un& addr) {
  std::memset(&addr, 0, sizeof addr);
  addr.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof addr.sun_path) return false;
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  return true;
}

// Waits until fd is ready for the events or the deadline passes.
bool WaitFor(int fd, short events, std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0) return false;
    pollfd p{fd, events, 0};
    const int rc = ::poll(&p, 1, static_cast<int>(left));
    if (rc > 0) return true;
    if (rc < 0 && errno != EINTR) return false;
  }
}

// Reads up to and including the first '\n' (at most kMaxLine bytes).
std::optional<std::string> ReadLine(int fd, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string line;
  while (line.size() < kMaxLine) {
    if (!WaitFor(fd, POLLIN, deadline)) return std::nullopt;
    char buf[kMaxLine];
    const ssize_t n = ::recv(fd, buf, kMaxLine - line.size(), 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return std::nullopt;
    line.append(buf, static_cast<size_t>(n));
    if (const auto nl = line.find('\n'); nl != std::string::npos) return line.substr(0, nl + 1);
  }
  return std::nullopt;
}

bool SendAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

std::string FormatActivationRequest(const ActivationRequest& request) {
  if (request.kind == ActivationRequest::Kind::Activate) return "activate\n";
  return "exit " + std::to_string(request.parameter) + "\n";
}

std::optional<ActivationRequest> ParseActivationRequest(std::string_view line) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (line == "activate") return ActivationRequest{ActivationRequest::Kind::Activate, 0};
  constexpr std::string_view kExit = "exit ";
  if (line.substr(0, kExit.size()) != kExit) return std::nullopt;
  const std::string_view number = line.substr(kExit.size());
  if (number.empty() || number.front() == '+') return std::nullopt;
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec != std::errc() || end != number.data() + number.size()) return std::nullopt;
  return ActivationRequest{ActivationRequest::Kind::ExternalExit, value};
}

ActivationServer::ActivationServer(std::string path, UniqueFd listener, UniqueFd wakeRead,
                                   UniqueFd wakeWrite)
    : path_(std::move(path)),
      listener_(std::move(listener)),
      wakeRead_(std::move(wakeRead)),
      wakeWrite_(std::move(wakeWrite)) {}

std::unique_ptr<ActivationServer> ActivationServer::Start(const std::string& socketPath) {
  sockaddr_un addr{};
  if (!FillAddress(socketPath, addr)) return nullptr;
  UniqueFd listener(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!listener.valid()) return nullptr;
  ::unlink(socketPath.c_str());
  if (::bind(listener.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0)
    return nullptr;
  if (::listen(listener.get(), 8) != 0) {
    ::unlink(socketPath.c_str());
    return nullptr;
  }
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
    ::unlink(socketPath.c_str());
    return nullptr;
  }
  std::unique_ptr<ActivationServer> server(new ActivationServer(
      socketPath, std::move(listener), UniqueFd(pipeFds[0]), UniqueFd(pipeFds[1])));
  server->thread_ = std::thread([s = server.get()] { s->Serve(); });
  return server;
}

ActivationServer::~ActivationServer() {
  const char stop = 'x';
  while (::write(wakeWrite_.get(), &stop, 1) < 0 && errno == EINTR) {
  }
  if (thread_.joinable()) thread_.join();
  ::unlink(path_.c_str());
}

void ActivationServer::SetHandler(Handler handler) {
  std::lock_guard<std::mutex> lock(handlerMutex_);
  handler_ = std::move(handler);
}

void ActivationServer::Serve() {
  for (;;) {
    pollfd fds[2] = {{listener_.get(), POLLIN, 0}, {wakeRead_.get(), POLLIN, 0}};
    const int rc = ::poll(fds, 2, -1);
    if (rc < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents != 0) return;
    if ((fds[0].revents & POLLIN) == 0) {
      if (fds[0].revents != 0) return;  // the listener broke; nothing more to serve
      continue;
    }
    UniqueFd connection(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
    if (connection.valid()) ServeOne(connection.get());
  }
}

void ActivationServer::ServeOne(int connection) {
  // Only this user's programs may bring our window up or end us.
  ucred peer{};
  socklen_t len = sizeof peer;
  if (::getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &peer, &len) != 0 || peer.uid != ::getuid())
    return;
  const auto line = ReadLine(connection, kPeerTimeoutMs);
  const auto request = line ? ParseActivationRequest(*line) : std::nullopt;
  std::string_view answer = "bad\n";
  if (request) {
    std::lock_guard<std::mutex> lock(handlerMutex_);
    if (handler_) {
      handler_(*request);
      answer = "ok\n";
    } else {
      answer = "ignored\n";
    }
  }
  SendAll(connection, answer);
}

bool SendActivationRequest(const std::string& socketPath, const ActivationRequest& request,
                           int timeoutMs) {
  sockaddr_un addr{};
  if (!FillAddress(socketPath, addr)) return false;
  UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!fd.valid()) return false;
  int rc;
  do {
    rc = ::connect(fd.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) return false;
  if (!SendAll(fd.get(), FormatActivationRequest(request))) return false;
  const auto answer = ReadLine(fd.get(), timeoutMs);
  return answer && *answer == "ok\n";
}

}  // namespace platform
