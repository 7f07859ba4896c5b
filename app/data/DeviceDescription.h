// In-memory records of the device description files: config.xml (model list
// and software identity) and the per-model layout files (features, keyboard
// picture and keys). Plain values; whoever holds them owns them (the main
// window keeps the model list and the current model's features).
#pragma once

#include <string>
#include <vector>

#include "korinui/Types.h"

// One `keyboard` element of config.xml.
struct ModelEntry {
  std::wstring name;         // shown in the device selector
  int type = 0;              // model type; < 200 first device family, >= 200 second
  int vid = 0;               // USB vendor id
  int pid = 0;               // USB product id
  std::wstring layout_file;  // layouts/<layout_file>.xml
  std::wstring id_pattern;   // "VID_%04X&PID_%04X", matched in interface names
  // Not read from the file; kept for the device presence code.
  std::wstring extra;
  int device_index = -1;     // index in the device manager, -1 when absent
  int present = 0;           // the model's command interface is open
  int reserved = 0;
};
using ModelList = std::vector<ModelEntry>;

// The `software` element and its children.
struct SoftwareIdentity {
  std::wstring caption;
  std::wstring version;
  std::wstring website_url;
  std::wstring store_url;
  std::wstring upgrade_url;
  std::wstring copyright;
};

// One `info` child of `light`: a lighting mode of the device.
struct ModeEntry {
  std::wstring name;  // decimal text id of the mode's name, stored as is in the light table
  int mode = 0;       // mode number as the keyboard knows it (from 1)
  int attribute = 0;  // 0x1 brightness, 0x2 speed, 0x100 user light, 0x200 music
};

// Page-mask bits that the program tests.
inline constexpr int kPageKeyAssign = 0x01;
inline constexpr int kPageLighting = 0x04;
inline constexpr int kPageSettings = 0x40;

// Group 1 of a layout file. A read replaces only what the file has, so the
// defaults below stay until a layout provides the value.
struct DeviceFeatures {
  int page_mask = 0x7F;
  std::wstring firmware_url;
  bool rgb_keyboard = false;    // read; nothing depends on it
  bool show_sleeptime = false;  // read; nothing depends on it
  int default_mode = 0;
  int default_brightness = 0;
  int default_speed = 0;
  int brightness_max = 0;  // upper bound of the brightness slider
  int speed_max = 0;       // upper bound of the speed slider
  std::vector<ModeEntry> modes;
};

// One `key` of a layout file.
struct KeyRecord {
  int code = 0;         // key code (hexadecimal in the file)
  std::wstring name;    // caption
  std::wstring desc;    // tool tip
  int key_index = 0;    // read; nothing depends on it
  int light_index = 0;  // read; nothing depends on it
  std::wstring icon;    // read; keys are added without an icon
  CRect rect;           // in picture coordinates, right and bottom exclusive
};

// Group 2 of a layout file.
struct KeyboardGeometry {
  bool found = false;  // the `Keyboard` element was there
  int xpos = 0;        // control position inside its page
  int ypos = 0;
  int width = 0;       // control and picture size
  int height = 0;
  std::wstring image;  // file name under the skin's keyboard folder
  std::vector<KeyRecord> keys;
};
