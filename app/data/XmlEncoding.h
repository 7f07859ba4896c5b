// Byte-level side of XML files: byte-order marks, declared encodings, NUL
// removal, UTF-8 detection and the conversion to and from wide text.
#pragma once

#include <string>
#include <string_view>

// Byte-order mark found on load (and written again on save).
enum class XmlBom { None, Utf8, Utf16Le, Utf16Be };

// Decodes a whole file into document text. `bom` receives the mark found;
// `notes` gets one line per step ("bom", "nulls_removed", "endian_swap",
// "utf8_detection", "converted_to", "conversion_loss", "truncation_error").
// Never fails: undecodable bytes become U+FFFD.
std::wstring DecodeXmlBytes(std::string_view bytes, XmlBom& bom, std::wstring& notes);

// Encodes document text for saving, in the encoding its own declaration
// names (UTF-8 when none), with the mark of `bom` in front when it is set.
// Characters the encoding lacks become '?' ("conversion_loss" in `notes`).
std::string EncodeXmlText(std::wstring_view text, XmlBom bom, std::wstring& notes);

// The value of the `encoding` pseudo-attribute of a leading <?xml ...?>
// declaration, or, failing that and when `htmlMeta` is set, the charset of an
// HTML <meta http-equiv="Content-Type" content="...; charset=..."> element;
// empty when none is there. Looks only at ASCII, so works on raw bytes too.
std::string FindDeclaredEncoding(std::string_view text, bool htmlMeta);

// Maps a charset name as files write it to a converter name: "" for an
// unknown name; "UTF-32LE"/"UTF-32BE" for names starting with UTF-32 (these
// are converted here, not by the platform); Windows' meanings where the two
// differ (utf-16 and unicode are little-endian, gb2312 is GBK, shift_jis is
// CP932...). Case-insensitive for ASCII.
std::string ResolveCharsetName(std::string_view name);
