// Conversion between named byte charsets and the program's wide text, over the
// C library's iconv. This is where "code page" conversions of file readers land.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Result of one conversion. `lost` counts characters that could not be
// represented (decoding: malformed byte sequences, each replaced by U+FFFD;
// encoding: characters the charset lacks, each replaced by '?').
// `truncated` is set when the input ended inside a multi-byte sequence.
struct CharsetResult {
  bool ok = false;  // false only when the charset is unknown to the converter
  std::size_t lost = 0;
  bool truncated = false;
};

// True when iconv can convert between `charset` and wide text.
bool IsCharsetKnown(const std::string& charset);

// Decodes `bytes` in `charset` into `out` (replaced; one wchar_t per code
// point). Never fails on bad input: bad sequences become U+FFFD. With an
// unknown charset `out` is left empty and the result is not ok.
// Any thread; no shared state.
CharsetResult DecodeCharset(const std::string& charset, std::string_view bytes, std::wstring& out);

// Encodes `text` into `charset` (replacing `out`); characters the charset
// cannot hold become '?'. With an unknown charset `out` is left empty.
CharsetResult EncodeCharset(const std::string& charset, std::wstring_view text, std::string& out);

// The charset that stands in for the legacy "ANSI code page" when a file is
// neither declared nor valid UTF-8. From the locale name's codeset when that
// is a legacy one; for a UTF-8 (or absent) codeset the legacy charset that
// desktops of that language used: GBK for zh_CN/zh_SG, BIG5 for zh_TW/zh_HK,
// CP932 for ja, CP949 for ko, otherwise WINDOWS-1252. UTF-8 itself is never
// returned, since such files have just failed the UTF-8 test.
std::string AnsiCharsetForLocale(std::string_view localeName);

// AnsiCharsetForLocale of the locale environment (LC_ALL, LC_CTYPE, LANG).
std::string AnsiCharset();

}  // namespace platform
