#include "app/shell/AppFolders.h"
#include "app/shell/AppLanguage.h"
#include "app/shell/AppRegistry.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using testsupport::ReadBytes;
using testsupport::ScopedEnv;
using testsupport::TempFolder;
using testsupport::WriteBytes;

namespace {

// A private config home with the locale cleared, so only LANG decides.
class StartupSettings : public ::testing::Test {
 protected:
  StartupSettings() {
    env_.Set("XDG_CONFIG_HOME", home_.path())
        .Set("LANGUAGE", std::nullopt)
        .Set("LC_ALL", std::nullopt)
        .Set("LC_MESSAGES", std::nullopt)
        .Set("LANG", "en_US.UTF-8");
  }
  std::string Folder() const { return home_ / "ORVA 100"; }
  std::string File() const { return home_ / "ORVA 100/settings"; }
  void Store(const std::string& body) {
    std::filesystem::create_directories(Folder());
    WriteBytes(File(), body);
  }
  // The settings path made unopenable: a folder stands where the file belongs.
  void Block() { std::filesystem::create_directories(File()); }

  TempFolder home_;
  ScopedEnv env_;
};

}  // namespace

TEST_F(StartupSettings, LanguageIdReadsAndFallbacks) {
  struct Case {
    const char* name;
    std::optional<std::string> body;  // nullopt: no settings file at all
    int expect;
  };
  const Case cases[] = {
      {"first run", std::nullopt, 0},
      {"stored English", "LCID=1033\n", 1033},
      {"stored Chinese", "LCID=2052\n", 2052},
      {"other language kept", "LCID=1031\n", 1031},
      {"not a number", "LCID=abc\n", 0},
      {"leading number", "LCID=12abc\n", 12},
      {"blanks and sign", "LCID=  -7\n", -7},
      {"empty", "LCID=\n", 0},
      {"too long for the value buffer", "LCID=" + std::string(127, '1') + "\n", 0},
      {"overflow saturates", "LCID=99999999999\n", 2147483647},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(Folder());
    if (c.body) Store(*c.body);
    EXPECT_EQ(ReadLanguageId(), c.expect) << c.name;
  }
}

TEST_F(StartupSettings, FirstReadCreatesTheStore) {
  EXPECT_EQ(ReadRegistryInt(L"exit_mode"), 0);
  EXPECT_TRUE(std::filesystem::is_regular_file(File()));
}

TEST_F(StartupSettings, UnopenableStoreFallsBackAndIsNotWritten) {
  Block();
  EXPECT_EQ(ReadLanguageId(), 2052);
  EXPECT_EQ(ReadRegistryInt(L"exit_mode"), 0);
  SaveLanguageId(1033);
  WriteRegistryString(L"exit_mode", L"1");
  EXPECT_TRUE(std::filesystem::is_directory(File()));
  EXPECT_FALSE(std::filesystem::exists(File() + ".tmp"));
}

TEST_F(StartupSettings, StoreThatCannotBeCreatedFallsBack) {
  WriteBytes(Folder(), "a file where the folder belongs");
  EXPECT_EQ(ReadLanguageId(), 2052);
  EXPECT_EQ(ReadRegistryInt(L"exit_mode"), 0);
  SaveLanguageId(1033);
  EXPECT_EQ(ReadBytes(Folder()), "a file where the folder belongs");
}

TEST_F(StartupSettings, ValuesAreStoredAsDecimalText) {
  SaveLanguageId(1033);
  WriteRegistryString(L"exit_mode", L"2");
  EXPECT_EQ(ReadLanguageId(), 1033);
  EXPECT_EQ(ReadRegistryInt(L"exit_mode"), 2);
  const std::string text = ReadBytes(File());
  EXPECT_NE(text.find("LCID=1033\n"), std::string::npos);
  EXPECT_NE(text.find("exit_mode=2\n"), std::string::npos);
  WriteRegistryString(L"exit_mode", L"0");
  EXPECT_EQ(ReadRegistryInt(L"exit_mode"), 0);
  EXPECT_EQ(ReadLanguageId(), 1033);
}

TEST_F(StartupSettings, LanguageSettlesFromStoreOrLocale) {
  struct Case {
    const char* name;
    std::optional<std::string> body;
    const char* lang;
    int expect;
    std::optional<std::string> stored;  // what "LCID" holds afterwards; nullopt: no file written
  };
  const Case cases[] = {
      {"first run, German system", std::nullopt, "de_DE.UTF-8", 1033, "1033"},
      {"first run, simplified Chinese", std::nullopt, "zh_CN.UTF-8", 2052, "2052"},
      {"first run, Singapore Chinese", std::nullopt, "zh_SG", 2052, "2052"},
      {"first run, traditional Chinese", std::nullopt, "zh_TW.UTF-8", 1033, "1033"},
      {"garbage is overwritten", "LCID=abc\n", "zh_CN.UTF-8", 2052, "2052"},
      {"stored value wins over locale", "LCID=1033\n", "zh_CN.UTF-8", 1033, "1033"},
      {"stored other language kept", "LCID=1031\n", "en_US", 1031, "1031"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(Folder());
    if (c.body) Store(*c.body);
    env_.Set("LANG", c.lang);
    EXPECT_EQ(SettleLanguageAtStart(), c.expect) << c.name;
    EXPECT_EQ(CurrentLanguageId(), c.expect) << c.name;
    EXPECT_NE(ReadBytes(File()).find("LCID=" + *c.stored + "\n"), std::string::npos) << c.name;
  }
}

TEST_F(StartupSettings, UnopenableStoreGivesChineseAndStoresNothing) {
  Block();
  env_.Set("LANG", "en_US.UTF-8");
  EXPECT_EQ(SettleLanguageAtStart(), 2052);
  EXPECT_TRUE(std::filesystem::is_directory(File()));
}

TEST(StartupAppFolders, DataFolderFollowsXdgDataHome) {
  ScopedEnv env;
  env.Set("HOME", "/home/tester").Set("XDG_DATA_HOME", "/srv/data");
  EXPECT_EQ(GetAppDataFolder(), L"/srv/data/ORVA 100 Files/");
  env.Set("XDG_DATA_HOME", std::nullopt);
  EXPECT_EQ(GetAppDataFolder(), L"/home/tester/.local/share/ORVA 100 Files/");
}

TEST(StartupAppFolders, ProgramFolderIsTheResourceRootBesideTheExecutable) {
  const std::wstring expect = std::filesystem::path(KEYSTREL_BIN_DIR).wstring() + L"/";
  EXPECT_EQ(GetProgramFolder(), expect);
  EXPECT_TRUE(std::filesystem::exists(GetProgramFolder() + L"language/1033.lan"));
}

TEST(StartupAppFolders, CreateDirectoryTreeCases) {
  TempFolder t;
  WriteBytes(t / "file", "x");
  std::filesystem::create_directories(t / "exists");
  struct Case {
    const char* name;
    std::string path;
    bool expect;
  };
  const Case cases[] = {
      {"already a folder", t / "exists", true},
      {"nested new folders", t / "a/b/c/db", true},
      {"trailing slash", t / "x/y/", true},
      {"a file in the folder's place", t / "file", false},
      {"below a file", t / "file/db", false},
      {"empty path", "", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CreateDirectoryTree(std::filesystem::path(c.path).wstring()), c.expect) << c.name;
    if (c.expect) {
      EXPECT_TRUE(std::filesystem::is_directory(c.path)) << c.name;
    }
  }
  EXPECT_TRUE(std::filesystem::is_regular_file(t / "file"));
}
