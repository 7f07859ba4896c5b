// Windows icon container with PNG-compressed entries (the form icon readers have
// accepted since Vista, and what desktop icon loaders on Linux read too).
#pragma once

#include <cstdint>
#include <vector>

namespace skingen {

struct IcoEntry {
  int size = 0;                     // square size in pixels, 1..256
  std::vector<std::uint8_t> png;    // the entry's PNG file bytes
};

// Returns the .ico file bytes, or an empty vector when an entry is empty or its size
// is outside 1..256.
std::vector<std::uint8_t> EncodeIco(const std::vector<IcoEntry>& entries);

}  // namespace skingen
