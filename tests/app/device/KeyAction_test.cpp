#include <gtest/gtest.h>

#include <map>

#include "app/device/KeyActionRunner.h"

namespace {

struct FakeActions : StoredKeyActionSource {
  std::map<int, StoredKeyAction> rows;
  std::optional<StoredKeyAction> GetOtherData(int id) override {
    const auto it = rows.find(id);
    if (it == rows.end()) return std::nullopt;
    return it->second;
  }
};

struct FakeDesktop : platform::DesktopOpener, platform::TextPaster {
  std::vector<std::wstring> programs, addresses, pasted;
  bool OpenProgramOrFile(const std::wstring& t) override { programs.push_back(t); return true; }
  bool OpenAddress(const std::wstring& a) override { addresses.push_back(a); return true; }
  bool PasteText(const std::wstring& t) override { pasted.push_back(t); return true; }
};

struct ActionRig {
  FakeActions actions;
  FakeDesktop desktop;
  std::vector<int> profiles;
  KeyActionRunner runner{actions, desktop, desktop, [this](int p) { profiles.push_back(p); }};
};

}  // namespace

TEST(DeviceKeyAction, EachKindReachesItsService) {
  ActionRig rig;
  rig.actions.rows = {
      {0, {L"zero", L"/usr/bin/zero", 8}},
      {1, {L"Editor", L"/usr/bin/editor; rm -rf ~", 8}},
      {2, {L"example.com", L"ignored.org", 9}},
      {3, {L"Hello, wörld", L"", 10}},
      {4, {L"", L"3", 11}},
      {5, {L"x", L"y", 12}},
      {6, {L"", L"", 10}},
      {7, {L"", L"abc", 11}},
      {8, {L"", L"0", 11}},
  };
  for (int id : {0, 1, 2, 3, 4, 5, 6, 7, 8, 99}) rig.runner.RunKeyAction(id);
  // The parameter is one path, passed on whole; nothing parses it as a command line.
  EXPECT_EQ(rig.desktop.programs, (std::vector<std::wstring>{L"/usr/bin/zero", L"/usr/bin/editor; rm -rf ~"}));
  EXPECT_EQ(rig.desktop.addresses, std::vector<std::wstring>{L"www.example.com"});
  EXPECT_EQ(rig.desktop.pasted, std::vector<std::wstring>{L"Hello, wörld"});
  EXPECT_EQ(rig.profiles, std::vector<int>{3});
}

TEST(DeviceKeyAction, WebAddresses) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"example.com", L"www.example.com"},
      {L"www.example.com", L"www.example.com"},
      {L"https://shop.www.example.com", L"https://shop.www.example.com"},
      {L"https://example.com", L"www.https://example.com"},
      {L"", L""},
  };
  for (const auto& [text, address] : cases) EXPECT_EQ(KeyActionRunner::WebAddress(text), address) << text;
}

TEST(DeviceKeyAction, AddressesOnlyOpenWebPages) {
  const std::pair<const wchar_t*, const char*> cases[] = {
      {L"www.example.com", "http://www.example.com"},
      {L"HTTPS://www.example.com/a?b", "HTTPS://www.example.com/a?b"},
      {L"ftp://www.example.com", "ftp://www.example.com"},
      {L"www.file:///usr/bin/xterm", "http://www.file:///usr/bin/xterm"},
      {L"file:///usr/bin/xterm", "http://file:///usr/bin/xterm"},
  };
  for (const auto& [address, uri] : cases) EXPECT_EQ(platform::AddressToUri(address), uri);
}

TEST(DeviceKeyAction, ProfileNumbers) {
  EXPECT_EQ(KeyActionRunner::ProfileNumber(L"2"), 2);
  EXPECT_EQ(KeyActionRunner::ProfileNumber(L" 12x"), 12);
  EXPECT_EQ(KeyActionRunner::ProfileNumber(L"0"), std::nullopt);
  EXPECT_EQ(KeyActionRunner::ProfileNumber(L"-1"), std::nullopt);
  EXPECT_EQ(KeyActionRunner::ProfileNumber(L""), std::nullopt);
  EXPECT_EQ(KeyActionRunner::ProfileNumber(L"99999999999"), std::nullopt);
}
