#include "app/data/XmlEncoding.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "korinui/TextCodec.h"
#include "platform/Charset.h"

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

std::string Lower(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) out.push_back(LowerAscii(c));
  return out;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool StartsWithNoCase(std::string_view s, std::size_t at, std::string_view prefix) {
  if (at + prefix.size() > s.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (LowerAscii(s[at + i]) != prefix[i]) return false;
  }
  return true;
}

// name=value pairs of a tag body (names lower-cased), quoted or not.
std::vector<std::pair<std::string, std::string>> ParsePseudoAttributes(std::string_view tag) {
  std::vector<std::pair<std::string, std::string>> out;
  std::size_t p = 0;
  while (p < tag.size()) {
    while (p < tag.size() && IsBlank(tag[p])) ++p;
    const std::size_t nameStart = p;
    while (p < tag.size() && !IsBlank(tag[p]) && tag[p] != '=' && tag[p] != '>' && tag[p] != '?' &&
           tag[p] != '/' && tag[p] != '"' && tag[p] != '\'')
      ++p;
    if (p == nameStart) {
      ++p;
      continue;
    }
    std::string name = Lower(tag.substr(nameStart, p - nameStart));
    std::size_t q = p;
    while (q < tag.size() && IsBlank(tag[q])) ++q;
    if (q >= tag.size() || tag[q] != '=') {
      out.emplace_back(std::move(name), std::string());
      continue;
    }
    ++q;
    while (q < tag.size() && IsBlank(tag[q])) ++q;
    std::string value;
    if (q < tag.size() && (tag[q] == '"' || tag[q] == '\'')) {
      const char quote = tag[q];
      const std::size_t close = tag.find(quote, q + 1);
      const std::size_t end = close == std::string_view::npos ? tag.size() : close;
      value = std::string(tag.substr(q + 1, end - q - 1));
      p = end + 1;
    } else {
      const std::size_t vs = q;
      while (q < tag.size() && !IsBlank(tag[q]) && tag[q] != '>') ++q;
      value = std::string(tag.substr(vs, q - vs));
      p = q;
    }
    out.emplace_back(std::move(name), std::move(value));
  }
  return out;
}

std::string MetaCharset(std::string_view text) {
  for (std::size_t at = 0; (at = text.find('<', at)) != std::string_view::npos; ++at) {
    if (!StartsWithNoCase(text, at, "<meta") || at + 5 >= text.size() || !IsBlank(text[at + 5])) continue;
    const std::size_t close = text.find('>', at);
    const std::string_view tag =
        text.substr(at + 5, (close == std::string_view::npos ? text.size() : close) - (at + 5));
    bool contentType = false;
    std::string content;
    for (const auto& [name, value] : ParsePseudoAttributes(tag)) {
      if (name == "http-equiv" && Lower(value) == "content-type") contentType = true;
      if (name == "content") content = value;
    }
    if (!contentType) continue;
    const std::string lc = Lower(content);
    const std::size_t cs = lc.find("charset=");
    if (cs == std::string::npos) continue;
    std::size_t b = cs + 8;
    std::size_t e = b;
    while (e < content.size() && content[e] != ';' && !IsBlank(content[e]) && content[e] != '"' &&
           content[e] != '\'')
      ++e;
    if (e > b) return content.substr(b, e - b);
  }
  return {};
}

bool IsSafeCharsetName(std::string_view name) {
  if (name.empty() || name.size() > 40) return false;
  for (char c : name) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                    c == '_' || c == '.' || c == ':';
    if (!ok) return false;
  }
  return true;
}

std::size_t UnitBytes(const std::string& resolved) {
  if (resolved.rfind("UTF-16", 0) == 0) return 2;
  if (resolved.rfind("UTF-32", 0) == 0) return 4;
  return 1;
}

std::wstring Num(std::size_t n) { return std::to_wstring(n); }

void Note(std::wstring& notes, std::wstring_view line) {
  notes.append(line);
  notes.push_back(L'\n');
}

std::wstring Wide(std::string_view ascii) { return korinui::Utf8ToWide(ascii); }

// UTF-32 is the one encoding the class converts itself.
std::wstring DecodeUtf32(std::string_view bytes, bool bigEndian, std::size_t& lost, bool& truncated) {
  std::wstring out;
  out.reserve(bytes.size() / 4);
  std::size_t i = 0;
  for (; i + 4 <= bytes.size(); i += 4) {
    std::uint32_t v = 0;
    for (int k = 0; k < 4; ++k) {
      const auto b = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(bigEndian ? k : 3 - k)]);
      v = (v << 8) | b;
    }
    if (v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) {
      v = 0xFFFD;
      ++lost;
    }
    out.push_back(static_cast<wchar_t>(v));
  }
  if (i < bytes.size()) {
    truncated = true;
    ++lost;
    out.push_back(static_cast<wchar_t>(0xFFFD));
  }
  return out;
}

std::string EncodeUtf32(std::wstring_view text, bool bigEndian, std::size_t& lost) {
  std::string out;
  out.reserve(text.size() * 4);
  for (const wchar_t wc : text) {
    auto v = static_cast<std::uint32_t>(wc);
    if (v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) {
      v = '?';
      ++lost;
    }
    for (int k = 0; k < 4; ++k) {
      const int shift = bigEndian ? 24 - 8 * k : 8 * k;
      out.push_back(static_cast<char>((v >> shift) & 0xFF));
    }
  }
  return out;
}

}  // namespace

std::string FindDeclaredEncoding(std::string_view text, bool htmlMeta) {
  std::size_t p = 0;
  while (p < text.size() && IsBlank(text[p])) ++p;
  if (text.substr(p, 5) == "<?xml" && p + 5 < text.size() && IsBlank(text[p + 5])) {
    const std::size_t end = text.find("?>", p);
    const std::string_view body = text.substr(p + 5, end == std::string_view::npos ? std::string_view::npos : end - p - 5);
    for (const auto& [name, value] : ParsePseudoAttributes(body)) {
      if (name == "encoding") return value;
    }
  }
  return htmlMeta ? MetaCharset(text) : std::string();
}

std::string ResolveCharsetName(std::string_view name) {
  if (!IsSafeCharsetName(name)) return {};
  const std::string n = Lower(name);
  if (n.rfind("utf-32", 0) == 0) return n == "utf-32be" ? "UTF-32BE" : "UTF-32LE";
  static const std::pair<const char*, const char*> kAliases[] = {
      {"utf-8", "UTF-8"},           {"utf8", "UTF-8"},
      {"utf-16", "UTF-16LE"},       {"utf-16le", "UTF-16LE"},
      {"unicode", "UTF-16LE"},      {"ucs-2", "UTF-16LE"},
      {"utf-16be", "UTF-16BE"},     {"unicodefffe", "UTF-16BE"},
      {"gb2312", "GBK"},            {"gb_2312-80", "GBK"},
      {"x-gbk", "GBK"},             {"cp936", "GBK"},
      {"shift_jis", "CP932"},       {"shift-jis", "CP932"},
      {"sjis", "CP932"},            {"x-sjis", "CP932"},
      {"ms_kanji", "CP932"},        {"csshiftjis", "CP932"},
      {"big5", "CP950"},            {"cp950", "CP950"},
      {"ks_c_5601-1987", "CP949"},  {"ks_c_5601", "CP949"},
      {"euc-kr", "CP949"},          {"korean", "CP949"},
  };
  for (const auto& [alias, target] : kAliases) {
    if (n == alias) return target;
  }
  const std::string upper = [&] {
    std::string u;
    for (char c : name) u.push_back(static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c));
    return u;
  }();
  return platform::IsCharsetKnown(upper) ? upper : std::string();
}

std::wstring DecodeXmlBytes(std::string_view bytes, XmlBom& bom, std::wstring& notes) {
  bom = XmlBom::None;
  std::string encoding;
  std::size_t skip = 0;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    bom = XmlBom::Utf8;
    encoding = "UTF-8";
    skip = 3;
  } else if (bytes.substr(0, 2) == "\xFF\xFE") {
    bom = XmlBom::Utf16Le;
    encoding = "UTF-16LE";
    skip = 2;
  } else if (bytes.substr(0, 2) == "\xFE\xFF") {
    bom = XmlBom::Utf16Be;
    encoding = "UTF-16BE";
    skip = 2;
  }
  if (bom != XmlBom::None) {
    Note(notes, L"bom " + Wide(encoding));
  } else {
    encoding = FindDeclaredEncoding(bytes.substr(0, 1024), true);
    // The declaration was just read as ASCII, so the bytes cannot be UTF-16 or
    // UTF-32: such a declaration is wrong (a common fault of writers that
    // declare their in-memory encoding) and decoding by it would garble the file.
    if (!encoding.empty() && UnitBytes(ResolveCharsetName(encoding)) != 1) {
      Note(notes, L"declaration_ignored " + Wide(encoding));
      encoding.clear();
    }
    if (encoding.empty() && !bytes.empty() && bytes[0] == '<') encoding = "UTF-8";
  }

  std::string body(bytes.substr(skip));
  std::string resolved = encoding.empty() ? std::string() : ResolveCharsetName(encoding);
  const std::size_t unit = encoding.empty() ? 1 : UnitBytes(resolved);

  // NULs are dropped by whole units: a zero byte, or a zero UTF-16/UTF-32 unit.
  std::size_t removed = 0;
  {
    std::string kept;
    kept.reserve(body.size());
    std::size_t i = 0;
    for (; i + unit <= body.size(); i += unit) {
      bool zero = true;
      for (std::size_t k = 0; k < unit; ++k) zero = zero && body[i + k] == '\0';
      if (zero) {
        ++removed;
      } else {
        kept.append(body, i, unit);
      }
    }
    kept.append(body, i, std::string::npos);
    body.swap(kept);
  }
  if (removed > 0) Note(notes, L"nulls_removed " + Num(removed));

  if (resolved == "UTF-16BE") {
    for (std::size_t i = 0; i + 1 < body.size(); i += 2) std::swap(body[i], body[i + 1]);
    resolved = "UTF-16LE";
    Note(notes, L"endian_swap");
  }

  if (encoding.empty()) {
    const bool utf8 = korinui::IsValidUtf8(body);
    encoding = utf8 ? "UTF-8" : platform::AnsiCharset();
    resolved = ResolveCharsetName(encoding);
    Note(notes, L"utf8_detection " + std::wstring(utf8 ? L"UTF-8" : L"not UTF-8"));
  }
  if (resolved.empty()) resolved = ResolveCharsetName(platform::AnsiCharset());

  std::wstring text;
  std::size_t lost = 0;
  bool truncated = false;
  if (resolved.rfind("UTF-32", 0) == 0) {
    text = DecodeUtf32(body, resolved == "UTF-32BE", lost, truncated);
  } else {
    const platform::CharsetResult r = platform::DecodeCharset(resolved, body, text);
    if (r.ok) {
      lost = r.lost;
      truncated = r.truncated;
    } else {
      // No converter at all: keep the bytes as Latin-1 so nothing is dropped.
      resolved = "ISO-8859-1";
      text.assign(body.begin(), body.end());
      for (auto& c : text) c = static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
  }
  Note(notes, L"converted_to UTF-32 from " + Wide(resolved) + L" " + Num(text.size()));
  if (lost > 0) Note(notes, L"conversion_loss " + Num(lost));
  if (truncated) Note(notes, L"truncation_error");
  return text;
}

std::string EncodeXmlText(std::wstring_view text, XmlBom bom, std::wstring& notes) {
  std::string head;
  for (const wchar_t c : text.substr(0, 1024)) head.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  const std::string declared = FindDeclaredEncoding(head, false);
  std::string resolved = ResolveCharsetName(declared.empty() ? std::string("UTF-8") : declared);
  if (resolved.empty()) resolved = ResolveCharsetName(platform::AnsiCharset());

  std::string out;
  if (bom != XmlBom::None) {
    if (resolved == "UTF-8") out = "\xEF\xBB\xBF";
    if (resolved == "UTF-16LE") out = "\xFF\xFE";
    if (resolved == "UTF-16BE") out = "\xFE\xFF";
  }
  std::size_t lost = 0;
  if (resolved.rfind("UTF-32", 0) == 0) {
    out += EncodeUtf32(text, resolved == "UTF-32BE", lost);
  } else {
    std::string encoded;
    const platform::CharsetResult r = platform::EncodeCharset(resolved, text, encoded);
    if (!r.ok) {
      resolved = "UTF-8";
      encoded = korinui::WideToUtf8(text);
    }
    lost = r.lost;
    out += encoded;
  }
  Note(notes, L"converted_from UTF-32 to " + Wide(resolved) + L" " + Num(out.size()));
  if (lost > 0) Note(notes, L"conversion_loss " + Num(lost));
  return out;
}
