#include "app/data/LanguageFile.h"

#include "korinui/TextCodec.h"
#include "platform/AtomicFile.h"

#include <optional>

namespace {

constexpr std::size_t kMaxLanguageFileBytes = 16u << 20;

wchar_t FoldAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool SameName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

std::wstring_view Trim(std::wstring_view s) {
  const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

std::wstring_view Unquote(std::wstring_view v) {
  if (v.size() >= 2 && (v.front() == L'"' || v.front() == L'\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

std::u16string Utf16FromBytes(std::string_view bytes, bool bigEndian) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto hi = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
    const auto lo = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
    units.push_back(static_cast<char16_t>((hi << 8) | lo));
  }
  return units;
}

// Cuts to the reader's buffer, counting UTF-16 units.
CString Limit(std::wstring_view text) {
  std::size_t units = 0;
  std::size_t i = 0;
  for (; i < text.size(); ++i) {
    const std::size_t need = static_cast<unsigned long>(text[i]) > 0xFFFF ? 2 : 1;
    if (units + need > kMaxProfileTextUnits) break;
    units += need;
  }
  return CString(text.substr(0, i));
}

}  // namespace

CString DecodeLanguageFileBytes(std::string_view bytes) {
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
    return korinui::Utf16ToWide(Utf16FromBytes(bytes.substr(2), false));
  if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF')
    return korinui::Utf16ToWide(Utf16FromBytes(bytes.substr(2), true));
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  return korinui::Utf8ToWide(bytes);
}

CString ReadProfileString(const std::string& path, std::wstring_view section, std::wstring_view key) {
  const std::optional<std::string> bytes = platform::ReadWholeFile(path, kMaxLanguageFileBytes);
  if (!bytes) return {};
  const CString text = DecodeLanguageFileBytes(*bytes);
  section = Trim(section);
  key = Trim(key);
  enum class Where { Before, Inside, After } where = Where::Before;
  std::wstring_view rest(text);
  while (!rest.empty() && where != Where::After) {
    const auto end = rest.find_first_of(L"\r\n");
    const std::wstring_view line = Trim(rest.substr(0, end));
    rest.remove_prefix(end == std::wstring_view::npos ? rest.size() : end + 1);
    if (line.empty() || line.front() == L';') continue;
    if (line.front() == L'[') {
      const auto close = line.find(L']');
      const std::wstring_view name = Trim(line.substr(1, close == std::wstring_view::npos ? close : close - 1));
      if (where == Where::Inside) where = Where::After;
      else if (SameName(name, section)) where = Where::Inside;
      continue;
    }
    if (where != Where::Inside) continue;
    const auto eq = line.find(L'=');
    if (eq == std::wstring_view::npos) continue;
    if (SameName(Trim(line.substr(0, eq)), key)) return Limit(Unquote(Trim(line.substr(eq + 1))));
  }
  return {};
}
