// The single-instance rule across real processes: the test holds the instance
// and starts the shipped program as the second start.
#include "app/shell/SingleInstance.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

extern char** environ;

using platform::ActivationRequest;
using testsupport::ScopedEnv;
using testsupport::TempFolder;
using Kind = ActivationRequest::Kind;

namespace {

class Received {
 public:
  platform::ActivationServer::Handler Handler() {
    return [this](const ActivationRequest& r) {
      std::lock_guard<std::mutex> lock(m_);
      requests_.push_back(r);
    };
  }
  std::vector<ActivationRequest> Get() {
    std::lock_guard<std::mutex> lock(m_);
    return requests_;
  }

 private:
  std::mutex m_;
  std::vector<ActivationRequest> requests_;
};

// Runs the program with the test's environment; returns its exit code, or -1.
int RunProgram() {
  const std::string exe = std::string(KEYSTREL_BIN_DIR) + "/keystrel";
  char* argv[] = {const_cast<char*>(exe.c_str()), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int rc = ::posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return -1;
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

class SingleInstanceStartup : public ::testing::Test {
 protected:
  SingleInstanceStartup() {
    env_.Set("XDG_RUNTIME_DIR", root_ / "run")
        .Set("XDG_CONFIG_HOME", root_ / "config")
        .Set("XDG_DATA_HOME", root_ / "data")
        .Set("LANGUAGE", std::nullopt)
        .Set("LC_ALL", std::nullopt)
        .Set("LC_MESSAGES", std::nullopt)
        .Set("LANG", "zh_CN.UTF-8");
    std::filesystem::create_directories(root_ / "run");
  }
  TempFolder root_;
  ScopedEnv env_;
};

}  // namespace

TEST_F(SingleInstanceStartup, FirstStartClaimsAndSetsUp) {
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_TRUE(std::filesystem::is_directory(root_ / "data/ORVA 100 Files/db"));
  EXPECT_NE(testsupport::ReadBytes(root_ / "config/ORVA 100/settings").find("LCID=2052\n"),
            std::string::npos);
  // The instance mark went with the process.
  EXPECT_NE(SingleInstance::Claim(), nullptr);
}

TEST_F(SingleInstanceStartup, SecondStartActivatesTheFirstAndInitialisesNothing) {
  auto first = SingleInstance::Claim();
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(first->HoldsLock());
  ASSERT_TRUE(first->HasChannel());
  Received got;
  first->SetRequestHandler(got.Handler());

  EXPECT_EQ(RunProgram(), 0);
  EXPECT_EQ(got.Get(), (std::vector<ActivationRequest>{{Kind::Activate, 0}}));
  EXPECT_FALSE(std::filesystem::exists(root_ / "data"));
  EXPECT_FALSE(std::filesystem::exists(root_ / "config"));
  first->SetRequestHandler(nullptr);
}

TEST_F(SingleInstanceStartup, SecondStartWhileTheFirstIsStillStartingShowsNothing) {
  auto first = SingleInstance::Claim();
  ASSERT_NE(first, nullptr);
  // No receiver yet: the window does not exist.
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_FALSE(std::filesystem::exists(root_ / "data"));
}

TEST_F(SingleInstanceStartup, ExternalExitRequestReachesTheReceiver) {
  auto first = SingleInstance::Claim();
  ASSERT_NE(first, nullptr);
  Received got;
  first->SetRequestHandler(got.Handler());
  EXPECT_TRUE(PostExternalExit(610));
  EXPECT_TRUE(PostExternalExit(1));
  EXPECT_EQ(got.Get(), (std::vector<ActivationRequest>{{Kind::ExternalExit, 610}, {Kind::ExternalExit, 1}}));
  // A second claim in this process is a second start too.
  EXPECT_EQ(SingleInstance::Claim(), nullptr);
  EXPECT_EQ(got.Get().size(), 3u);
  first->SetRequestHandler(nullptr);
}

TEST_F(SingleInstanceStartup, WithoutRuntimeFolderTheProgramRunsUnguarded) {
  env_.Set("XDG_RUNTIME_DIR", root_ / "run/missing");
  auto first = SingleInstance::Claim();
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(first->HoldsLock());
  EXPECT_FALSE(first->HasChannel());
}
