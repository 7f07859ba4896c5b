// Conversions between the program's wide strings and the byte encodings used
// in files and the database. Invalid input never throws: malformed UTF-8 and
// lone surrogates become U+FFFD, so hostile files cannot crash a reader.
#pragma once

#include <string>
#include <string_view>

namespace korinui {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

// UTF-16 code units (native order) to and from wide strings; surrogate pairs are joined.
std::wstring Utf16ToWide(std::u16string_view utf16);
std::u16string WideToUtf16(std::wstring_view wide);

// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates, <= U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

}  // namespace korinui
