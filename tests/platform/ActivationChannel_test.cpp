#include "platform/ActivationChannel.h"
#include "platform/InstanceLock.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <vector>

using platform::ActivationRequest;
using platform::ActivationServer;
using platform::InstanceLock;
using testsupport::TempFolder;
using Kind = ActivationRequest::Kind;

namespace {

// Collects what the server hands over, from the server's thread.
class Received {
 public:
  ActivationServer::Handler Handler() {
    return [this](const ActivationRequest& r) {
      std::lock_guard<std::mutex> lock(m_);
      requests_.push_back(r);
      cv_.notify_all();
    };
  }
  std::vector<ActivationRequest> Get() {
    std::lock_guard<std::mutex> lock(m_);
    return requests_;
  }

 private:
  std::mutex m_;
  std::condition_variable cv_;
  std::vector<ActivationRequest> requests_;
};

}  // namespace

TEST(SingleInstanceChannel, RequestLinesFormatAndParse) {
  EXPECT_EQ(platform::FormatActivationRequest({Kind::Activate, 0}), "activate\n");
  EXPECT_EQ(platform::FormatActivationRequest({Kind::ExternalExit, 610}), "exit 610\n");
  const std::pair<const char*, std::optional<ActivationRequest>> cases[] = {
      {"activate\n", ActivationRequest{Kind::Activate, 0}},
      {"activate", ActivationRequest{Kind::Activate, 0}},
      {"exit 610\n", ActivationRequest{Kind::ExternalExit, 610}},
      {"exit -3", ActivationRequest{Kind::ExternalExit, -3}},
      {"exit 0", ActivationRequest{Kind::ExternalExit, 0}},
      {"exit", std::nullopt},
      {"exit ", std::nullopt},
      {"exit +610", std::nullopt},
      {"exit 610x", std::nullopt},
      {"exit  610", std::nullopt},
      {"exit 99999999999999999999", std::nullopt},
      {"Activate", std::nullopt},
      {"activate now", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [line, expect] : cases) EXPECT_EQ(platform::ParseActivationRequest(line), expect) << line;
}

TEST(SingleInstanceChannel, ServerHandsRequestsToTheHandler) {
  TempFolder t;
  const std::string sock = t / "app.sock";
  auto server = ActivationServer::Start(sock);
  ASSERT_NE(server, nullptr);
  // Before the window exists, requests are answered but not taken.
  EXPECT_FALSE(platform::SendActivationRequest(sock, {Kind::Activate, 0}));
  Received got;
  server->SetHandler(got.Handler());
  EXPECT_TRUE(platform::SendActivationRequest(sock, {Kind::Activate, 0}));
  EXPECT_TRUE(platform::SendActivationRequest(sock, {Kind::ExternalExit, 610}));
  EXPECT_TRUE(platform::SendActivationRequest(sock, {Kind::ExternalExit, 5}));
  const std::vector<ActivationRequest> expect = {
      {Kind::Activate, 0}, {Kind::ExternalExit, 610}, {Kind::ExternalExit, 5}};
  EXPECT_EQ(got.Get(), expect);
  server->SetHandler(nullptr);
  EXPECT_FALSE(platform::SendActivationRequest(sock, {Kind::Activate, 0}));
  EXPECT_EQ(got.Get().size(), 3u);
}

TEST(SingleInstanceChannel, MalformedOrSilentClientsDoNotBlockTheServer) {
  TempFolder t;
  const std::string sock = t / "app.sock";
  auto server = ActivationServer::Start(sock);
  ASSERT_NE(server, nullptr);
  Received got;
  server->SetHandler(got.Handler());

  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path, sock.c_str(), sock.size() + 1);
  auto connectRaw = [&] {
    platform::UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    EXPECT_EQ(::connect(fd.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0);
    return fd;
  };
  {
    auto fd = connectRaw();
    const std::string junk(200, 'a');  // longer than any request
    ASSERT_GT(::send(fd.get(), junk.data(), junk.size(), MSG_NOSIGNAL), 0);
  }
  const auto silent = connectRaw();  // connects and never writes
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(platform::SendActivationRequest(sock, {Kind::Activate, 0}, 3000));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_EQ(got.Get(), (std::vector<ActivationRequest>{{Kind::Activate, 0}}));
}

TEST(SingleInstanceChannel, StaleSocketIsReplacedAndRemovedOnStop) {
  TempFolder t;
  const std::string sock = t / "app.sock";
  testsupport::WriteBytes(sock, "left by a crash");
  {
    auto server = ActivationServer::Start(sock);
    ASSERT_NE(server, nullptr);
    Received got;
    server->SetHandler(got.Handler());
    EXPECT_TRUE(platform::SendActivationRequest(sock, {Kind::Activate, 0}));
  }
  EXPECT_FALSE(std::filesystem::exists(sock));
  EXPECT_FALSE(platform::SendActivationRequest(sock, {Kind::Activate, 0}));
}

TEST(SingleInstanceChannel, UnusableSocketPathsFailCleanly) {
  EXPECT_EQ(ActivationServer::Start("/tmp/" + std::string(200, 'x')), nullptr);
  EXPECT_EQ(ActivationServer::Start("/nonexistent-folder/app.sock"), nullptr);
  EXPECT_EQ(ActivationServer::Start(""), nullptr);
  EXPECT_FALSE(platform::SendActivationRequest("/nonexistent-folder/app.sock", {Kind::Activate, 0}));
}

TEST(SingleInstanceLock, OnlyOneHolderUntilReleased) {
  TempFolder t;
  const std::string path = t / "app.lock";
  std::unique_ptr<InstanceLock> first, second;
  ASSERT_EQ(InstanceLock::TryAcquire(path, first), InstanceLock::Result::Acquired);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(InstanceLock::TryAcquire(path, second), InstanceLock::Result::HeldElsewhere);
  EXPECT_EQ(second, nullptr);
  first.reset();
  EXPECT_EQ(InstanceLock::TryAcquire(path, second), InstanceLock::Result::Acquired);
  EXPECT_EQ(InstanceLock::TryAcquire(t / "no/such/folder.lock", first), InstanceLock::Result::Failed);
  EXPECT_EQ(InstanceLock::TryAcquire("", first), InstanceLock::Result::Failed);
}
