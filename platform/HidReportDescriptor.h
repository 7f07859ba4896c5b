// Top-level collections of a HID report descriptor.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

struct HidUsagePair {
  uint16_t usagePage = 0;
  uint16_t usage = 0;
  bool operator==(const HidUsagePair&) const = default;
};

// The (usage page, usage) of each top-level application collection, in
// descriptor order. Reading stops at the first malformed item (truncated data
// or unbalanced collections), keeping what was found before it, so a hostile
// descriptor can never make the reader run past the bytes it was given.
std::vector<HidUsagePair> ParseTopLevelCollections(const std::vector<uint8_t>& descriptor);

}  // namespace platform
