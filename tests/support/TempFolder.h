// Test helpers: a private temporary folder removed afterwards, and scoped
// environment variables restored afterwards.
#pragma once

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

class TempFolder {
 public:
  TempFolder() {
    // Short paths under /tmp keep socket paths within the kernel's limit.
    char tmpl[] = "/tmp/kst.XXXXXX";
    const char* made = ::mkdtemp(tmpl);
    if (made == nullptr) ADD_FAILURE() << "mkdtemp failed";
    else path_ = made;
  }
  ~TempFolder() {
    std::error_code ec;
    // Tests may have closed folders to show unwritable settings.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
      ::chmod(it->path().c_str(), 0700);
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(std::string_view rel) const { return path_ + "/" + std::string(rel); }

 private:
  std::string path_;
};

// Sets (or with nullopt unsets) variables for the lifetime of the object.
class ScopedEnv {
 public:
  ScopedEnv() = default;
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;
  ~ScopedEnv() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) Apply(it->first, it->second);
  }
  ScopedEnv& Set(const std::string& name, std::optional<std::string> value) {
    const char* old = std::getenv(name.c_str());
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    Apply(name, value);
    return *this;
  }

 private:
  static void Apply(const std::string& name, const std::optional<std::string>& value) {
    if (value) ::setenv(name.c_str(), value->c_str(), 1);
    else ::unsetenv(name.c_str());
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

inline void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline bool RunningAsRoot() { return ::geteuid() == 0; }

}  // namespace testsupport
