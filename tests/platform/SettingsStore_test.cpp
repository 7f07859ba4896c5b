#include "platform/AtomicFile.h"
#include "platform/SettingsStore.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <thread>
#include <vector>

using platform::SettingsStore;
using testsupport::ReadBytes;
using testsupport::TempFolder;
using testsupport::WriteBytes;
using Access = SettingsStore::Access;

namespace {

std::string StorePath(const TempFolder& t) { return t / "cfg/ORVA 100/settings"; }

}  // namespace

TEST(SettingsStore, ValuesRoundTripIncludingAwkwardText) {
  TempFolder t;
  const SettingsStore store(StorePath(t));
  const std::pair<const char*, std::string> cases[] = {
      {"LCID", "2052"},
      {"exit_mode", ""},
      {"with_equals", "a=b=c"},
      {"line_breaks", "one\ntwo\r\nthree"},
      {"backslashes", "C:\\dir\\n"},
      {"utf8", "\xE9\x85\x8D\xE7\xBD\xAE"},
  };
  for (const auto& [name, value] : cases) ASSERT_TRUE(store.Write(name, value)) << name;
  for (const auto& [name, value] : cases) EXPECT_EQ(store.Read(name), value) << name;
  EXPECT_EQ(store.Read("absent"), std::nullopt);
  // Each value stays on its own line, so a hand edit cannot mix them up.
  const std::string text = ReadBytes(store.Path());
  EXPECT_NE(text.find("LCID=2052\n"), std::string::npos);
  EXPECT_NE(text.find("line_breaks=one\\ntwo\\r\\nthree\n"), std::string::npos);
}

TEST(SettingsStore, NamesCompareWithoutCaseAndRewriteKeepsForeignLines) {
  TempFolder t;
  const SettingsStore store(StorePath(t));
  ASSERT_TRUE(store.Create());
  WriteBytes(store.Path(), "# note by hand\nLCID=1033\nnot a value line\nlcid=9999\nexit_mode=1\n");
  EXPECT_EQ(store.Read("lcid"), "1033");  // the first of two equal names wins
  ASSERT_TRUE(store.Write("Lcid", "2052"));
  EXPECT_EQ(ReadBytes(store.Path()), "# note by hand\nLcid=2052\nnot a value line\nexit_mode=1\n");
}

TEST(SettingsStore, UnstorableNamesAreRefusedWithoutTouchingTheFile) {
  TempFolder t;
  const SettingsStore store(StorePath(t));
  ASSERT_TRUE(store.Write("LCID", "1033"));
  const std::string before = ReadBytes(store.Path());
  for (const char* name : {"", "a=b", "two\nlines", "cr\r", "#comment"})
    EXPECT_FALSE(store.Write(name, "1")) << name;
  EXPECT_EQ(ReadBytes(store.Path()), before);
}

TEST(SettingsStore, ProbeTellsMissingFromDenied) {
  struct Case {
    const char* name;
    void (*prepare)(const TempFolder&);
    Access expect;
  };
  const Case cases[] = {
      {"nothing yet", [](const TempFolder&) {}, Access::Missing},
      {"folder without file",
       [](const TempFolder& t) { std::filesystem::create_directories(t / "cfg/ORVA 100"); },
       Access::Missing},
      {"file where the folder belongs",
       [](const TempFolder& t) {
         std::filesystem::create_directories(t / "cfg");
         WriteBytes(t / "cfg/ORVA 100", "x");
       },
       Access::Denied},
      {"folder where the file belongs",
       [](const TempFolder& t) { std::filesystem::create_directories(t / "cfg/ORVA 100/settings"); },
       Access::Denied},
      {"readable file",
       [](const TempFolder& t) {
         std::filesystem::create_directories(t / "cfg/ORVA 100");
         WriteBytes(t / "cfg/ORVA 100/settings", "LCID=1033\n");
       },
       Access::Open},
  };
  for (const auto& c : cases) {
    TempFolder t;
    c.prepare(t);
    EXPECT_EQ(SettingsStore(StorePath(t)).Probe(), c.expect) << c.name;
  }
}

TEST(SettingsStore, DeniedStoreIsNeitherReadNorWritten) {
  TempFolder t;
  std::filesystem::create_directories(StorePath(t));  // a folder in the file's place
  const SettingsStore store(StorePath(t));
  EXPECT_FALSE(store.Create());
  EXPECT_FALSE(store.Write("LCID", "1033"));
  EXPECT_EQ(store.Read("LCID"), std::nullopt);
  EXPECT_TRUE(std::filesystem::is_directory(StorePath(t)));
}

TEST(SettingsStore, PermissionsClosedByTheUserDenyTheStore) {
  if (testsupport::RunningAsRoot()) GTEST_SKIP() << "root passes every permission check";
  TempFolder t;
  const SettingsStore store(StorePath(t));
  ASSERT_TRUE(store.Write("LCID", "1033"));
  ASSERT_EQ(::chmod(store.Path().c_str(), 0400), 0);
  EXPECT_EQ(store.Probe(), Access::Denied);
  EXPECT_FALSE(store.Write("LCID", "2052"));
  ASSERT_EQ(::chmod(store.Path().c_str(), 0600), 0);
  ASSERT_EQ(::chmod((t / "cfg/ORVA 100").c_str(), 0500), 0);
  EXPECT_EQ(store.Probe(), Access::Denied);
  EXPECT_FALSE(store.Write("LCID", "2052"));
  ASSERT_EQ(::chmod((t / "cfg/ORVA 100").c_str(), 0700), 0);
  EXPECT_EQ(store.Read("LCID"), "1033");
}

TEST(SettingsStore, FailedReplacementKeepsTheOldValues) {
  TempFolder t;
  const SettingsStore store(StorePath(t));
  ASSERT_TRUE(store.Write("LCID", "1033"));
  ASSERT_TRUE(store.Write("exit_mode", "1"));
  const std::string before = ReadBytes(store.Path());
  // Something that cannot be opened as a file holds the temporary's name, so
  // the new content can never be written out.
  std::filesystem::create_directories(store.Path() + ".tmp");
  EXPECT_FALSE(store.Write("LCID", "2052"));
  EXPECT_EQ(ReadBytes(store.Path()), before);
  EXPECT_EQ(store.Read("LCID"), "1033");
}

TEST(SettingsStore, WritesFromSeveralThreadsAreAllKept) {
  TempFolder t;
  const SettingsStore store(StorePath(t));
  ASSERT_TRUE(store.Create());
  std::vector<std::thread> threads;
  for (int w = 0; w < 4; ++w) {
    threads.emplace_back([&store, w] {
      for (int i = 0; i < 25; ++i) store.Write("value" + std::to_string(w), std::to_string(i));
    });
  }
  for (auto& th : threads) th.join();
  for (int w = 0; w < 4; ++w) EXPECT_EQ(store.Read("value" + std::to_string(w)), "24") << w;
}

TEST(SettingsStoreAtomicFile, ReplacementKeepsPermissionsAndLeavesNoTemporary) {
  TempFolder t;
  const std::string path = t / "file";
  ASSERT_TRUE(platform::ReplaceFileAtomically(path, "one"));
  struct stat st{};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(platform::ReplaceFileAtomically(path, "two"));
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(ReadBytes(path), "two");
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
  EXPECT_FALSE(platform::ReplaceFileAtomically(t.path(), "a folder is not replaced"));
}

TEST(SettingsStoreAtomicFile, WholeFileReadsRespectTheLimit) {
  TempFolder t;
  WriteBytes(t / "f", std::string(100, 'x'));
  EXPECT_EQ(platform::ReadWholeFile(t / "f", 100).value_or(""), std::string(100, 'x'));
  EXPECT_EQ(platform::ReadWholeFile(t / "f", 99), std::nullopt);
  EXPECT_EQ(platform::ReadWholeFile(t / "missing", 100), std::nullopt);
  EXPECT_EQ(platform::ReadWholeFile(t.path(), 100), std::nullopt);
}
