// Reading one entry of an INI-style language file the way the platform's
// private-profile reader does: "[section]" lines, "key=value" entries, ';'
// comment lines; section and key names compare case-insensitively (ASCII)
// after trimming blanks; the value is trimmed and one pair of matching
// enclosing quotes is removed. Only the first section of the name is
// searched, and in it the first entry of the key wins.
//
// Encodings: UTF-8 with or without byte-order mark, UTF-16LE and UTF-16BE
// with their byte-order marks. Malformed bytes become U+FFFD.
// The file is read anew on every call (no cache); any thread may call.
#pragma once

#include "korinui/Types.h"

#include <cstddef>
#include <string>
#include <string_view>

// Longest text returned, in UTF-16 code units: the reader's buffer holds 260
// with the terminator. A surrogate pair that would be split is left out whole.
inline constexpr std::size_t kMaxProfileTextUnits = 259;

// The value of key in section of the file at path (UTF-8 path); empty when
// the file, the section or the key is missing, or the file is unreadable or
// larger than 16 MiB.
CString ReadProfileString(const std::string& path, std::wstring_view section, std::wstring_view key);

// Decodes the bytes of a language file (see the encodings above).
CString DecodeLanguageFileBytes(std::string_view bytes);
