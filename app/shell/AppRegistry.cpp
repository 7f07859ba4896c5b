#include "app/shell/AppRegistry.h"

#include "app/shell/AppIdentity.h"
#include "korinui/TextCodec.h"
#include "platform/SettingsStore.h"

#include <climits>
#include <optional>
#include <string>

using korinui::Utf8ToWide;
using korinui::WideToUtf16;
using korinui::WideToUtf8;

namespace {

constexpr int kFallbackLanguage = 2052;
// The value buffer announces 255 bytes: a value whose UTF-16 form with its
// terminator is longer does not fit and reads as empty.
constexpr std::size_t kValueRoomBytes = 255;

platform::SettingsStore AppKey() {
  return platform::SettingsStore(platform::SettingsFilePath(WideToUtf8(kAppName)));
}

// Decimal conversion as the C runtime does it: leading blanks, a sign, digits
// up to the first other character; no digits gives 0; overflow saturates.
int DecimalValue(const std::wstring& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  long long value = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    value = value * 10 + (text[i] - L'0');
    if (value > static_cast<long long>(INT_MAX) + 1) break;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

// Opening the key: a missing store is created first (empty, so the caller's
// value is 0). nullopt when the store cannot be opened or created.
std::optional<int> ReadNumber(const platform::SettingsStore& key, const std::wstring& name) {
  switch (key.Probe()) {
    case platform::SettingsStore::Access::Denied: return std::nullopt;
    case platform::SettingsStore::Access::Missing:
      if (!key.Create()) return std::nullopt;
      return 0;
    case platform::SettingsStore::Access::Open: break;
  }
  const auto raw = key.Read(WideToUtf8(name));
  if (!raw) return 0;
  const std::wstring text = Utf8ToWide(*raw);
  if ((WideToUtf16(text).size() + 1) * 2 > kValueRoomBytes) return 0;
  return DecimalValue(text);
}

void WriteValue(const std::wstring& name, const std::wstring& text) {
  const auto key = AppKey();
  if (key.Probe() == platform::SettingsStore::Access::Denied) return;
  key.Write(WideToUtf8(name), WideToUtf8(text));
}

}  // namespace

int ReadLanguageId() { return ReadNumber(AppKey(), L"LCID").value_or(kFallbackLanguage); }

void SaveLanguageId(int id) { WriteValue(L"LCID", std::to_wstring(id)); }

int ReadRegistryInt(const CString& name) { return ReadNumber(AppKey(), name).value_or(0); }

void WriteRegistryString(const CString& name, const CString& text) { WriteValue(name, text); }
