// Reader of the per-model layout files, layouts/<layout_file>.xml.
//
// The file is read as two independent groups, each from a fresh document;
// within each group the order is fixed (XmlDocument searches only forward):
//   group 1: device.info > function, firmware, light > info*
//   group 2: device.info > Keyboard > KeyItems > key*
#pragma once

#include <string>

#include "app/data/DescriptionTargets.h"
#include "app/data/DeviceDescription.h"

// <programFolder>layouts/<layoutFile>.xml
std::wstring LayoutFilePath(const std::wstring& programFolder, const std::wstring& layoutFile);

// "x#y#w#h" -> (x, y, x + w, y + h); missing parts read as 0.
CRect ParseKeyRect(const std::wstring& text);

// Group 1 into `features`: each element found replaces its members (a found
// `light` also replaces the whole mode list); missing elements, or a missing
// or ill-formed file, leave the members as they were. Returns whether the
// file was loaded.
bool ReadLayoutFeatures(const std::wstring& path, DeviceFeatures& features);

// Group 2: the keyboard picture and its keys, in file order. A missing or
// ill-formed file, or no `Keyboard` element, gives found = false and no keys.
KeyboardGeometry ReadLayoutKeyboard(const std::wstring& path);

// The group-2 step of selecting a model: empties every keyboard enabled by
// `pageMask`, then reads the file and gives each enabled keyboard its
// rectangle, picture ("keyboard/" + image), size and keys (no icons); with bit
// 0x40 the settings keyboard is put into its single-colour state. A missing
// file leaves the keyboards empty. Returns whether a keyboard was found.
bool FillPageKeyboards(const std::wstring& path, int pageMask, const PageKeyboards& keyboards);
