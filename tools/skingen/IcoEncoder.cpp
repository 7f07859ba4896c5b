#include "IcoEncoder.h"

namespace skingen {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> EncodeIco(const std::vector<IcoEntry>& entries) {
  if (entries.empty() || entries.size() > 0xFFFF) return {};
  for (const auto& e : entries)
    if (e.png.empty() || e.size < 1 || e.size > 256) return {};
  std::vector<std::uint8_t> out;
  Put16(out, 0);  // reserved
  Put16(out, 1);  // icon (2 would be a cursor)
  Put16(out, static_cast<std::uint32_t>(entries.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(entries.size());
  for (const auto& e : entries) {
    const auto side = static_cast<std::uint8_t>(e.size == 256 ? 0 : e.size);  // 0 means 256
    out.push_back(side);
    out.push_back(side);
    out.push_back(0);  // no palette
    out.push_back(0);  // reserved
    Put16(out, 1);     // colour planes
    Put16(out, 32);    // bits per pixel
    Put32(out, static_cast<std::uint32_t>(e.png.size()));
    Put32(out, offset);
    offset += static_cast<std::uint32_t>(e.png.size());
  }
  for (const auto& e : entries) out.insert(out.end(), e.png.begin(), e.png.end());
  return out;
}

}  // namespace skingen
