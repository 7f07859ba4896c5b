#include "platform/Charset.h"

#include <iconv.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

// Wide text as iconv sees it: glibc's wchar_t is one UCS-4 code point.
constexpr const char* kWide = "WCHAR_T";

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}
  ~Iconv() {
    if (valid()) ::iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

// Runs iconv over the whole input, appending output to `raw`. At every invalid
// or unconvertible sequence `onBad` puts a replacement in place and `skipUnit`
// input bytes are skipped; a sequence cut off by the end of input ends the run.
template <typename OnBad>
void RunIconv(iconv_t cd, const char* in, std::size_t inLeft, std::string& raw, CharsetResult& res,
              std::size_t skipUnit, OnBad onBad) {
  char buf[4096];
  char* src = const_cast<char*>(in);
  while (inLeft > 0) {
    char* dst = buf;
    std::size_t dstLeft = sizeof buf;
    const std::size_t r = ::iconv(cd, &src, &inLeft, &dst, &dstLeft);
    raw.append(buf, static_cast<std::size_t>(dst - buf));
    if (r != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    if (errno == EINVAL) {  // input ends inside a sequence
      res.truncated = true;
      ++res.lost;
      onBad();
      break;
    }
    // EILSEQ: skip one unit of input and put a replacement in its place.
    ++res.lost;
    onBad();
    const std::size_t skip = inLeft < skipUnit ? inLeft : skipUnit;
    src += skip;
    inLeft -= skip;
  }
  // Flush any shift state.
  char* dst = buf;
  std::size_t dstLeft = sizeof buf;
  ::iconv(cd, nullptr, nullptr, &dst, &dstLeft);
  raw.append(buf, static_cast<std::size_t>(dst - buf));
}

std::size_t UnitSize(const std::string& charset) {
  std::string up;
  for (char c : charset) up.push_back(static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c));
  if (up.rfind("UTF-16", 0) == 0 || up.rfind("UCS-2", 0) == 0) return 2;
  if (up.rfind("UTF-32", 0) == 0 || up.rfind("UCS-4", 0) == 0) return 4;
  return 1;
}

}  // namespace

bool IsCharsetKnown(const std::string& charset) {
  if (charset.empty()) return false;
  Iconv cd(kWide, charset.c_str());
  return cd.valid();
}

CharsetResult DecodeCharset(const std::string& charset, std::string_view bytes, std::wstring& out) {
  CharsetResult res;
  out.clear();
  if (charset.empty()) return res;
  Iconv cd(kWide, charset.c_str());
  if (!cd.valid()) return res;
  res.ok = true;
  std::string raw;
  raw.reserve(bytes.size() * sizeof(wchar_t));
  auto replace = [&raw] {
    const wchar_t r = 0xFFFD;
    raw.append(reinterpret_cast<const char*>(&r), sizeof r);
  };
  RunIconv(cd.get(), bytes.data(), bytes.size(), raw, res, UnitSize(charset), replace);
  out.resize(raw.size() / sizeof(wchar_t));
  std::memcpy(out.data(), raw.data(), out.size() * sizeof(wchar_t));
  return res;
}

CharsetResult EncodeCharset(const std::string& charset, std::wstring_view text, std::string& out) {
  CharsetResult res;
  out.clear();
  if (charset.empty()) return res;
  Iconv cd(charset.c_str(), kWide);
  if (!cd.valid()) return res;
  res.ok = true;
  // '?' in the output charset: ASCII for 8-bit charsets, one unit for UTF-16/32.
  std::string question;
  {
    Iconv q(charset.c_str(), kWide);
    const wchar_t qm = L'?';
    char* src = reinterpret_cast<char*>(const_cast<wchar_t*>(&qm));
    std::size_t inLeft = sizeof qm;
    char buf[16];
    char* dst = buf;
    std::size_t dstLeft = sizeof buf;
    if (::iconv(q.get(), &src, &inLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1))
      question.assign(buf, static_cast<std::size_t>(dst - buf));
  }
  // Converted bytes wait in `raw`; a replacement must follow what came before it.
  std::string raw;
  raw.reserve(text.size());
  auto onBad = [&] {
    out.append(raw);
    raw.clear();
    out.append(question);
  };
  RunIconv(cd.get(), reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t), raw, res,
           sizeof(wchar_t), onBad);
  out.append(raw);
  return res;
}

std::string AnsiCharsetForLocale(std::string_view locale) {
  // language[_territory][.codeset][@modifier]
  std::string_view lang = locale;
  std::string_view codeset;
  if (const auto at = lang.find('@'); at != std::string_view::npos) lang = lang.substr(0, at);
  if (const auto dot = lang.find('.'); dot != std::string_view::npos) {
    codeset = lang.substr(dot + 1);
    lang = lang.substr(0, dot);
  }
  std::string cs;
  for (char c : codeset) {
    if (c != '-' && c != '_') cs.push_back(static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c));
  }
  if (!cs.empty() && cs != "UTF8" && cs != "ANSIX3.41968" && cs != "ASCII") {
    const std::string named(codeset);
    if (IsCharsetKnown(named)) return named;
  }
  const auto starts = [&lang](std::string_view p) { return lang.substr(0, p.size()) == p; };
  if (starts("zh_CN") || starts("zh_SG")) return "GBK";
  if (starts("zh_TW") || starts("zh_HK") || starts("zh_MO")) return "BIG5";
  if (starts("ja")) return "CP932";
  if (starts("ko")) return "CP949";
  return "WINDOWS-1252";
}

std::string AnsiCharset() {
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* v = std::getenv(name);
    if (v != nullptr && *v != '\0') return AnsiCharsetForLocale(v);
  }
  return AnsiCharsetForLocale("");
}

}  // namespace platform
