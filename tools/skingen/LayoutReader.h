// Reads the keyboard picture and key rectangles of a device layout file: the `Keyboard`
// element (width, height, image) and its `KeyItems/key` children (code, name, rect as
// "x#y#w#h"). A deliberately small reader: elements, attributes, comments, processing
// instructions and character references; nothing else of XML is needed by these files.
#pragma once

#include <string>
#include <vector>

namespace skingen {

struct LayoutKey {
  std::string name;  // UTF-8 caption
  unsigned code = 0;
  int x = 0, y = 0, w = 0, h = 0;
};

struct KeyboardLayout {
  std::string image;  // file name below the skin's keyboard folder
  int width = 0;
  int height = 0;
  std::vector<LayoutKey> keys;
};

// Parses layout text. Returns false, with a reason in `error`, when there is no
// `Keyboard` element, its size is not positive or its image name is empty or leaves the
// keyboard folder. Numbers that do not parse read as 0, as the program reads them.
bool ParseKeyboardLayout(const std::string& text, KeyboardLayout& layout, std::string& error);

// Reads and parses a file; a file that cannot be read gives false with the reason.
bool ReadKeyboardLayout(const std::string& path, KeyboardLayout& layout, std::string& error);

}  // namespace skingen
