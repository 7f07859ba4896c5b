#include "app/device/KeyActionRunner.h"

#include <cwctype>

KeyActionRunner::KeyActionRunner(StoredKeyActionSource& actions, platform::DesktopOpener& opener,
                                 platform::TextPaster& paster, std::function<void(int)> switchProfile)
    : actions_(actions), opener_(opener), paster_(paster), switchProfile_(std::move(switchProfile)) {}

std::wstring KeyActionRunner::WebAddress(const std::wstring& text) {
  if (text.empty() || text.find(L"www.") != std::wstring::npos) return text;
  return L"www." + text;
}

std::optional<int> KeyActionRunner::ProfileNumber(const std::wstring& param) {
  size_t i = 0;
  while (i < param.size() && std::iswspace(static_cast<wint_t>(param[i]))) ++i;
  long long value = 0;
  size_t digits = 0;
  for (; i < param.size() && param[i] >= L'0' && param[i] <= L'9' && digits < 10; ++i, ++digits) {
    value = value * 10 + (param[i] - L'0');
  }
  if (digits == 0 || value < 1 || value > 0x7FFFFFFF) return std::nullopt;
  return static_cast<int>(value);
}

void KeyActionRunner::RunKeyAction(int value) {
  const std::optional<StoredKeyAction> action = actions_.GetOtherData(value);
  if (!action) return;
  // Failures to start or paste are not reported, as with every key action.
  switch (action->kind) {
    case kOpenProgram:
      if (!action->param.empty()) opener_.OpenProgramOrFile(action->param);
      break;
    case kOpenWebPage: {
      const std::wstring address = WebAddress(action->text);
      if (!address.empty()) opener_.OpenAddress(address);
      break;
    }
    case kPasteText:
      if (!action->text.empty()) paster_.PasteText(action->text);
      break;
    case kSwitchProfile:
      if (const auto profile = ProfileNumber(action->param); profile && switchProfile_) switchProfile_(*profile);
      break;
    default:
      break;
  }
}
