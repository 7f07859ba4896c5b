#include "app/device/KeyCodes.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr uint8_t kCtrl = 0xE0;
constexpr uint8_t kAlt = 0xE2;
constexpr uint8_t kGui = 0xE3;
constexpr uint8_t kSpace = 0x2C;
constexpr uint8_t kPressed10 = 0x01;   // EncodeDelay(false, 10)
constexpr uint8_t kReleased10 = 0x81;  // EncodeDelay(true, 10)

// Modifier held around one key.
std::vector<MacroWireEvent> Chord(uint8_t modifier, uint8_t key) {
  return {{modifier, kPressed10}, {key, kPressed10}, {key, kReleased10}, {modifier, kReleased10}};
}

// Alt+Space opens the window menu, then the key picks its entry.
std::vector<MacroWireEvent> WindowMenu(uint8_t key) {
  return {{kAlt, kPressed10},  {kSpace, kPressed10}, {key, kPressed10},
          {key, kReleased10}, {kSpace, kReleased10}, {kAlt, kReleased10}};
}

// Single codes and ranges that are not simple offsets.
constexpr std::pair<int, uint8_t> kSingles[] = {
    {48, 39},   {13, 40},   {27, 41},   {8, 42},    {9, 43},    {32, 44},   {189, 45},  {187, 46},
    {219, 47},  {221, 48},  {220, 49},  {666, 50},  {186, 51},  {222, 52},  {192, 53},  {188, 54},
    {190, 55},  {191, 56},  {20, 57},   {44, 70},   {145, 71},  {19, 72},   {45, 73},   {36, 74},
    {33, 75},   {46, 76},   {35, 77},   {34, 78},   {39, 79},   {37, 80},   {40, 81},   {38, 82},
    {144, 83},  {111, 84},  {106, 85},  {109, 86},  {107, 87},  {108, 88},  {96, 98},   {110, 99},
    {226, 100}, {93, 101},  {254, 175}, {162, 224}, {160, 225}, {164, 226}, {91, 227},  {163, 228},
    {161, 229}, {165, 230}, {92, 231},  {301, 236}, {302, 235},
};

struct Range {
  int first, last;
  uint8_t usage;  // usage of `first`
};
constexpr std::array<Range, 6> kRanges = {{
    {65, 90, 4},     // A-Z
    {49, 57, 30},    // 1-9
    {112, 123, 58},  // F1-F12
    {97, 105, 89},   // keypad 1-9
    {124, 135, 104}, // F13-F24
    {136, 139, 136}, // international keys, unchanged
}};

}  // namespace

uint8_t EncodeDelay(bool released, int delayMs) {
  const int d = std::min(delayMs, 31000);
  int unit = 0;
  int count = 1;
  if (d <= 10) {
    unit = 0;
    count = 1;
  } else if (d <= 310) {
    unit = 0;
    count = d / 10;
  } else if (d <= 1550) {
    unit = 1;
    count = d / 50;
  } else if (d <= 3100) {
    unit = 2;
    count = d / 100;
  } else {
    unit = 3;
    count = d / 1000;
  }
  return static_cast<uint8_t>((released ? 0x80 : 0) + unit * 0x20 + count);
}

uint8_t VirtualKeyToUsage(int virtualKey) {
  for (const Range& r : kRanges) {
    if (virtualKey >= r.first && virtualKey <= r.last) return static_cast<uint8_t>(r.usage + (virtualKey - r.first));
  }
  for (const auto& [code, usage] : kSingles) {
    if (code == virtualKey) return usage;
  }
  return 0;
}

std::vector<MacroWireEvent> ShortcutSequence(int value) {
  switch (value) {
    case 1: return Chord(kCtrl, 0x04);   // Ctrl+A
    case 2: return Chord(kCtrl, 0x06);   // Ctrl+C
    case 3: return Chord(kCtrl, 0x1B);   // Ctrl+X
    case 4: return Chord(kCtrl, 0x19);   // Ctrl+V
    case 5: return Chord(kCtrl, 0x1D);   // Ctrl+Z
    case 6: return Chord(kCtrl, 0x16);   // Ctrl+S
    case 7: return Chord(kGui, 0x08);    // GUI+E
    case 8: return Chord(kGui, 0x0F);    // GUI+L
    case 9: return Chord(kGui, 0x07);    // GUI+D
    case 10: return Chord(kAlt, 0x2B);   // Alt+Tab
    case 11: return Chord(kGui, 0x10);   // GUI+M
    case 12: return Chord(kCtrl, 0x1A);  // Ctrl+W
    case 13: return WindowMenu(0x1B);    // Alt+Space, X
    case 14: return WindowMenu(0x11);    // Alt+Space, N
    case 15: return Chord(kAlt, 0x3D);   // Alt+F4
    default: return {};
  }
}
