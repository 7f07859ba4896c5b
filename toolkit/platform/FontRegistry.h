// Private fonts and family lookup through fontconfig. UI thread, or any thread
// holding the caller's font-cache lock.
#pragma once

#include <string>

namespace korinui::fonts {

// Adds a font file to the process's fonts; false when the file is missing or holds
// no font. The first family name in the file is stored in *family when given.
bool AddFontFile(const std::wstring& path, std::wstring* family);
// True when fontconfig knows a family of exactly this name (private or installed).
bool FamilyExists(const std::wstring& family);

}  // namespace korinui::fonts
