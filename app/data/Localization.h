// Texts of the user interface by text id, from the language file of the
// current language: <program folder>language/<id>.lan, section "KB.DIALOG".
// Nothing is cached, so a text always reflects the current language and the
// file as it is now. Any thread may call.
#pragma once

#include "korinui/Types.h"

// The two stored forms of a name prefix that the program creates from a text
// (the English and the Chinese wording of that text).
struct NamePrefixes {
  const wchar_t* latin;
  const wchar_t* chinese;
};

// Default profile names: text 65 ("Profile"), a space and a number.
inline constexpr NamePrefixes kProfileNamePrefixes{L"Profile", L"\u914D\u7F6E\u6587\u4EF6"};
inline constexpr int kProfileWordTextId = 65;
// New macro names: text 331 ("Macro"), a space and a number.
inline constexpr NamePrefixes kMacroNamePrefixes{L"Macro", L"\u5B8F"};
inline constexpr int kMacroWordTextId = 331;

// The language file for a language id: GetProgramFolder() + "language/<id>.lan".
CString LanguageFilePath(int languageId);

// The text with this id in the current language; empty when the file, the
// section or the entry is missing. At most 259 UTF-16 units.
CString GetText(int id);

// The name as lists show it: with language 2052 a stored name beginning
// exactly (case-sensitive) with prefixes.latin, or with 1033 one beginning
// with prefixes.chinese, shows GetText(textId) followed by the rest of the
// name; any other name is shown as stored.
CString LocalizeName(const CString& stored, const NamePrefixes& prefixes, int textId);
