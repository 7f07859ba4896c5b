#include "korinui/TextCodec.h"

#include <cstdint>

namespace korinui {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one code point at bytes[i]; advances i. Returns U+FFFD for any malformed sequence
// and consumes only the bytes that were part of it.
char32_t DecodeOne(std::string_view bytes, size_t& i) {
  const auto b0 = static_cast<unsigned char>(bytes[i]);
  if (b0 < 0x80) { ++i; return b0; }
  int len = 0;
  char32_t cp = 0;
  char32_t min = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) { len = 2; cp = b0 & 0x1F; min = 0x80; }
  else if (b0 >= 0xE0 && b0 <= 0xEF) { len = 3; cp = b0 & 0x0F; min = 0x800; }
  else if (b0 >= 0xF0 && b0 <= 0xF4) { len = 4; cp = b0 & 0x07; min = 0x10000; }
  else { ++i; return kReplacement; }
  size_t j = i + 1;
  for (int k = 1; k < len; ++k, ++j) {
    if (j >= bytes.size()) { i = j; return kReplacement; }
    const auto b = static_cast<unsigned char>(bytes[j]);
    if ((b & 0xC0) != 0x80) { i = j; return kReplacement; }
    cp = (cp << 6) | (b & 0x3F);
  }
  i = j;
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

std::wstring Utf8ToWide(std::string_view utf8) {
  std::wstring out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) out.push_back(static_cast<wchar_t>(DecodeOne(utf8, i)));
  return out;
}

std::string WideToUtf8(std::wstring_view wide) {
  std::string out;
  out.reserve(wide.size());
  for (wchar_t wc : wide) AppendUtf8(out, static_cast<char32_t>(static_cast<std::uint32_t>(wc)));
  return out;
}

std::wstring Utf16ToWide(std::u16string_view utf16) {
  std::wstring out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    char32_t u = utf16[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      u = 0x10000 + ((u - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      u = kReplacement;
    }
    out.push_back(static_cast<wchar_t>(u));
  }
  return out;
}

std::u16string WideToUtf16(std::wstring_view wide) {
  std::u16string out;
  out.reserve(wide.size());
  for (wchar_t wc : wide) {
    auto cp = static_cast<char32_t>(static_cast<std::uint32_t>(wc));
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    const size_t start = i;
    const char32_t cp = DecodeOne(bytes, i);
    if (cp == kReplacement) {
      // A literal U+FFFD (EF BF BD) is valid; anything else that decoded to it is not.
      if (i - start != 3 || bytes.substr(start, 3) != "\xEF\xBF\xBD") return false;
    }
  }
  return true;
}

}  // namespace korinui
