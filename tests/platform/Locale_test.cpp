#include "platform/Folders.h"
#include "platform/Locale.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using testsupport::ScopedEnv;

TEST(StartupLocale, LocaleNamesMapToTheTwoLanguages) {
  const std::pair<const char*, int> cases[] = {
      {"zh_CN", 2052},        {"zh_CN.UTF-8", 2052}, {"zh_CN.GB18030@stroke", 2052},
      {"zh-cn", 2052},        {"zh_SG.UTF-8", 2052}, {"ZH_sg", 2052},
      {"zh_TW.UTF-8", 1033},  {"zh_HK", 1033},       {"zh", 1033},
      {"de_DE.UTF-8", 1033},  {"en_US.UTF-8", 1033}, {"C", 1033},
      {"POSIX", 1033},        {"", 1033},            {"zh_CNX", 1033},
  };
  for (const auto& [name, id] : cases) EXPECT_EQ(platform::LanguageIdFromLocaleName(name), id) << name;
}

TEST(StartupLocale, EnvironmentPrecedence) {
  using V = std::optional<std::string>;
  struct Case {
    const char* name;
    V language, lcAll, lcMessages, lang;
    const char* expect;
  };
  const Case cases[] = {
      {"LANGUAGE first entry", V("zh_CN:en_US"), V("de_DE"), V("fr_FR"), V("en_GB"), "zh_CN"},
      {"empty LANGUAGE entries skipped", V("::zh_SG"), std::nullopt, std::nullopt, V("en_GB"), "zh_SG"},
      {"empty LANGUAGE ignored", V(""), V("de_DE.UTF-8"), V("fr_FR"), V("en_GB"), "de_DE.UTF-8"},
      {"LC_ALL over LC_MESSAGES", std::nullopt, V("zh_CN.UTF-8"), V("en_US"), V("en_GB"), "zh_CN.UTF-8"},
      {"LC_MESSAGES over LANG", std::nullopt, V(""), V("zh_CN"), V("en_GB"), "zh_CN"},
      {"LANG last", std::nullopt, std::nullopt, std::nullopt, V("zh_SG.UTF-8"), "zh_SG.UTF-8"},
      {"nothing set", std::nullopt, std::nullopt, std::nullopt, std::nullopt, ""},
  };
  for (const auto& c : cases) {
    ScopedEnv env;
    env.Set("LANGUAGE", c.language).Set("LC_ALL", c.lcAll).Set("LC_MESSAGES", c.lcMessages).Set("LANG", c.lang);
    EXPECT_EQ(platform::UiLocaleName(), c.expect) << c.name;
  }
}

TEST(StartupFolders, XdgFoldersHonourAbsoluteValuesOnly) {
  ScopedEnv env;
  env.Set("HOME", "/home/tester");
  env.Set("XDG_CONFIG_HOME", "/x/config/").Set("XDG_DATA_HOME", "/x/data");
  EXPECT_EQ(platform::ConfigHome(), "/x/config");
  EXPECT_EQ(platform::DataHome(), "/x/data");
  env.Set("XDG_CONFIG_HOME", "relative/config").Set("XDG_DATA_HOME", "");
  EXPECT_EQ(platform::ConfigHome(), "/home/tester/.config");
  EXPECT_EQ(platform::DataHome(), "/home/tester/.local/share");
  env.Set("XDG_RUNTIME_DIR", "/run/user/1234");
  EXPECT_EQ(platform::RuntimeFolder(), "/run/user/1234");
}

TEST(StartupFolders, RuntimeFallbackIsPrivate) {
  ScopedEnv env;
  env.Set("XDG_RUNTIME_DIR", std::nullopt);
  const std::string dir = platform::RuntimeFolder();
  ASSERT_FALSE(dir.empty());
  struct stat st{};
  ASSERT_EQ(::lstat(dir.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 077, 0u);
  EXPECT_EQ(st.st_uid, ::getuid());
}

TEST(StartupFolders, MakeFolderResults) {
  testsupport::TempFolder t;
  EXPECT_EQ(platform::MakeFolder(t / "a"), platform::MakeFolderResult::Created);
  EXPECT_EQ(platform::MakeFolder(t / "a"), platform::MakeFolderResult::AlreadyExists);
  EXPECT_EQ(platform::MakeFolder(t / "missing/b"), platform::MakeFolderResult::Failed);
  EXPECT_EQ(platform::MakeFolder(""), platform::MakeFolderResult::Failed);
  EXPECT_TRUE(platform::IsFolder(t / "a"));
  EXPECT_FALSE(platform::IsFolder(t / "missing"));
}
