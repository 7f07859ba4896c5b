#include <gtest/gtest.h>

#include <SDL.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "korinui/TextCodec.h"
#include "platform/DesktopOpener.h"
#include "platform/TextPaster.h"

namespace {

bool WaitForFile(const std::filesystem::path& p, int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    if (std::filesystem::exists(p)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

}  // namespace

TEST(DeviceDesktopOpener, StartsAProgramByItsPathAlone) {
  const auto dir = std::filesystem::temp_directory_path() / ("keystrel-opener-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  // A path with shell characters is still one program path.
  const auto program = dir / "start me; touch injected";
  {
    std::ofstream out(program);
    out << "#!/bin/sh\necho \"$#\" > \"$(dirname \"$0\")/ran\"\n";
  }
  ::chmod(program.c_str(), 0755);
  platform::GioDesktopOpener opener;
  ASSERT_TRUE(opener.OpenProgramOrFile(korinui::Utf8ToWide(program.string())));
  ASSERT_TRUE(WaitForFile(dir / "ran", 5000));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::ifstream in(dir / "ran");
  int args = -1;
  in >> args;
  EXPECT_EQ(args, 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "injected"));
  EXPECT_FALSE(std::filesystem::exists("injected"));
  EXPECT_FALSE(opener.OpenProgramOrFile(L""));
  std::filesystem::remove_all(dir);
}

TEST(DeviceTextPaster, ClipboardIsEmptyAfterThePaste) {
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
  platform::X11TextPaster paster;
  EXPECT_TRUE(paster.PasteText(L"pasted text"));
  char* now = SDL_GetClipboardText();
  ASSERT_NE(now, nullptr);
  EXPECT_STREQ(now, "");
  SDL_free(now);
}
