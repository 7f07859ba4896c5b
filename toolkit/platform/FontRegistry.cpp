// Fontconfig private fonts; pango's font map is told when the set changes.
#include "FontRegistry.h"

#include <korinui/TextCodec.h>

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <mutex>

namespace korinui::fonts {
namespace {
std::mutex g_fcLock;  // fontconfig's configuration is not re-entrant
}

bool AddFontFile(const std::wstring& path, std::wstring* family) {
  std::string file = WideToUtf8(path);
  std::lock_guard<std::mutex> guard(g_fcLock);
  if (!FcInit()) return false;
  FcPattern* pat = FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(file.c_str()), 0, nullptr, nullptr);
  if (!pat) return false;
  FcChar8* name = nullptr;
  bool hasFamily = FcPatternGetString(pat, FC_FAMILY, 0, &name) == FcResultMatch && name;
  if (hasFamily && family) *family = Utf8ToWide(reinterpret_cast<const char*>(name));
  FcPatternDestroy(pat);
  if (!hasFamily) return false;
  if (!FcConfigAppFontAddFile(FcConfigGetCurrent(), reinterpret_cast<const FcChar8*>(file.c_str())))
    return false;
  PangoFontMap* map = pango_cairo_font_map_get_default();
  if (PANGO_IS_FC_FONT_MAP(map)) pango_fc_font_map_config_changed(PANGO_FC_FONT_MAP(map));
  return true;
}

bool FamilyExists(const std::wstring& family) {
  if (family.empty()) return false;
  std::string name = WideToUtf8(family);
  std::lock_guard<std::mutex> guard(g_fcLock);
  if (!FcInit()) return false;
  FcPattern* pat = FcPatternCreate();
  FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* set = FcFontList(FcConfigGetCurrent(), pat, os);
  bool found = set && set->nfont > 0;
  if (set) FcFontSetDestroy(set);
  FcObjectSetDestroy(os);
  FcPatternDestroy(pat);
  return found;
}

}  // namespace korinui::fonts
