#include "platform/HidInterfaceName.h"

#include <cwchar>
#include <vector>

namespace platform {
namespace {

bool HexDigit(int c, unsigned& v) {
  if (c >= '0' && c <= '9') { v = static_cast<unsigned>(c - '0'); return true; }
  if (c >= 'a' && c <= 'f') { v = static_cast<unsigned>(c - 'a' + 10); return true; }
  if (c >= 'A' && c <= 'F') { v = static_cast<unsigned>(c - 'A' + 10); return true; }
  return false;
}

// Reads exactly `count` hexadecimal digits of s starting at pos.
template <typename Str>
bool ReadHex(const Str& s, size_t pos, size_t count, unsigned& out) {
  if (pos + count > s.size()) return false;
  out = 0;
  for (size_t i = 0; i < count; ++i) {
    unsigned v = 0;
    if (!HexDigit(static_cast<int>(s[pos + i]), v)) return false;
    out = out * 16 + v;
  }
  return true;
}

std::vector<std::string_view> Segments(std::string_view path) {
  std::vector<std::string_view> out;
  size_t start = 0;
  while (start <= path.size()) {
    const size_t slash = path.find('/', start);
    const size_t end = slash == std::string_view::npos ? path.size() : slash;
    if (end > start) out.push_back(path.substr(start, end - start));
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
  return out;
}

// "BBBB:VVVV:PPPP.IIII", the kernel's name of a HID device.
bool ParseHidSegment(std::string_view s, unsigned& vid, unsigned& pid) {
  unsigned bus = 0, inst = 0;
  return s.size() == 19 && ReadHex(s, 0, 4, bus) && s[4] == ':' && ReadHex(s, 5, 4, vid) &&
         s[9] == ':' && ReadHex(s, 10, 4, pid) && s[14] == '.' && ReadHex(s, 15, 4, inst);
}

// "<bus>-<port...>:<config>.<interface>", a USB interface; returns the interface.
int ParseUsbInterfaceSegment(std::string_view s) {
  const size_t colon = s.find(':');
  if (colon == std::string_view::npos || s.find('-') == std::string_view::npos) return -1;
  const size_t dot = s.find('.', colon);
  if (dot == std::string_view::npos || dot + 1 >= s.size()) return -1;
  int value = 0;
  for (size_t i = dot + 1; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9' || value > 255) return -1;
    value = value * 10 + (s[i] - '0');
  }
  return value;
}

}  // namespace

std::wstring FormatInterfaceName(uint16_t vendorId, uint16_t productId, int interfaceNumber,
                                 std::string_view node) {
  wchar_t head[48];
  if (interfaceNumber >= 0) {
    std::swprintf(head, 48, L"HID#VID_%04X&PID_%04X&MI_%02X#", vendorId, productId,
                  static_cast<unsigned>(interfaceNumber & 0xFF));
  } else {
    std::swprintf(head, 48, L"HID#VID_%04X&PID_%04X#", vendorId, productId);
  }
  std::wstring name(head);
  for (char c : node) name.push_back(static_cast<unsigned char>(c));
  return name;
}

std::wstring InterfaceNameFromDevpath(std::string_view devpath) {
  const auto parts = Segments(devpath);
  for (size_t i = 0; i < parts.size(); ++i) {
    unsigned vid = 0, pid = 0;
    if (!ParseHidSegment(parts[i], vid, pid)) continue;
    const int mi = i > 0 ? ParseUsbInterfaceSegment(parts[i - 1]) : -1;
    const std::string_view node = parts.back() == parts[i] ? std::string_view{} : parts.back();
    return FormatInterfaceName(static_cast<uint16_t>(vid), static_cast<uint16_t>(pid), mi, node);
  }
  return {};
}

bool ParseInterfaceIds(std::wstring_view name, uint16_t& vendorId, uint16_t& productId) {
  constexpr std::wstring_view kHead = L"HID#VID_";
  constexpr std::wstring_view kMid = L"&PID_";
  if (name.substr(0, kHead.size()) != kHead) return false;
  unsigned vid = 0, pid = 0;
  const size_t midAt = kHead.size() + 4;
  if (!ReadHex(name, kHead.size(), 4, vid) || name.substr(midAt, kMid.size()) != kMid ||
      !ReadHex(name, midAt + kMid.size(), 4, pid)) {
    return false;
  }
  vendorId = static_cast<uint16_t>(vid);
  productId = static_cast<uint16_t>(pid);
  return true;
}

}  // namespace platform
