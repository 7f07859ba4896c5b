// Carries out the computer-side action of a key the keyboard reported:
// start a program or open a file (kind 8), open a web page (9), paste a text
// (10), switch the key profile (11). Runs on the user-interface thread when
// the reader's message arrives.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/DesktopOpener.h"
#include "platform/TextPaster.h"

// One stored action (table t_key_otherdata).
struct StoredKeyAction {
  std::wstring text;   // macro_desc
  std::wstring param;  // param
  int kind = 0;        // type
};

// Filled by the profile database.
class StoredKeyActionSource {
 public:
  virtual ~StoredKeyActionSource() = default;
  // The action stored under id; nullopt when there is none.
  virtual std::optional<StoredKeyAction> GetOtherData(int id) = 0;
};

class KeyActionRunner {
 public:
  static constexpr int kOpenProgram = 8;
  static constexpr int kOpenWebPage = 9;
  static constexpr int kPasteText = 10;
  static constexpr int kSwitchProfile = 11;

  // switchProfile: makes the number the current key profile and reloads the
  // key page (provided by the key page; may be empty until it exists).
  KeyActionRunner(StoredKeyActionSource& actions, platform::DesktopOpener& opener, platform::TextPaster& paster,
                  std::function<void(int)> switchProfile);

  void RunKeyAction(int value);

  // The address a web-page action opens: the text with "www." in front when
  // it does not contain "www." and is not empty.
  static std::wstring WebAddress(const std::wstring& text);
  // The profile number of a switch action; nullopt unless the parameter is a
  // decimal number of at least 1 (there is no profile 0 to switch to).
  static std::optional<int> ProfileNumber(const std::wstring& param);

 private:
  StoredKeyActionSource& actions_;
  platform::DesktopOpener& opener_;
  platform::TextPaster& paster_;
  std::function<void(int)> switchProfile_;
};
