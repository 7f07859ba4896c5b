// Character references inside XML attribute values: decoding on read and the
// five escapes on write.
#pragma once

#include <string>
#include <string_view>

// The code point of an HTML 4 entity name (or "apos"), 0 if unknown. Names
// match exactly first; failing that, without regard to ASCII case (so
// "&EACUTE;" finds the first of "Eacute"/"eacute" in table order).
char32_t LookupHtmlEntity(std::wstring_view name);

// Replaces "&#N;", "&#xH;" and "&name;" by their characters. A reference that
// is unknown, lacks its ';', is 0, is a surrogate half or lies beyond U+10FFFF
// stays as written. Characters above U+FFFF are one wchar_t (as every code
// point is in the program's wide strings).
std::wstring DecodeCharacterReferences(std::wstring_view text);

// Escapes < & > ' " as &lt; &amp; &gt; &apos; &quot; and nothing else.
std::wstring EscapeAttributeValue(std::wstring_view value);
