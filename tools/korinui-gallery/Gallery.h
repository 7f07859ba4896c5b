// The gallery's section registry. A section is one window: it creates its controls in
// `build` and may put them into states (hover, pressed, checked...) in `drive`, which
// runs after the window is shown. Register a section with a file-scope
// GallerySectionRegistrar in its own *Section.cpp file.
#pragma once

#include <korinui/MDialog.h>

#include <functional>
#include <string>
#include <vector>

struct GallerySection {
  std::wstring name;  // the window caption is "Gallery <name>", which names its dump PNG
  CSize size;         // client size of the window
  std::function<void(MDialog& dlg, CRect client)> build;
  std::function<void(MDialog& dlg)> drive;  // optional
  int order = 100;    // sections open in ascending order, then by name
};

void RegisterGallerySection(GallerySection section);
const std::vector<GallerySection>& GallerySections();

struct GallerySectionRegistrar {
  explicit GallerySectionRegistrar(GallerySection section) { RegisterGallerySection(std::move(section)); }
};

// The gallery's language: 1033 (English, default) or 2052 (Chinese), from --lang.
int GalleryLanguage();
// The text for the gallery's language.
inline const wchar_t* GalleryText(const wchar_t* english, const wchar_t* chinese) {
  return GalleryLanguage() == 2052 ? chinese : english;
}
