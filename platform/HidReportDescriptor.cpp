#include "platform/HidReportDescriptor.h"

#include <cstddef>

namespace platform {
namespace {

// Item types and tags of the short item prefix (type in bits 3-2, tag in bits 7-4).
constexpr unsigned kTypeMain = 0;
constexpr unsigned kTypeGlobal = 1;
constexpr unsigned kTypeLocal = 2;
constexpr unsigned kTagCollection = 0xA;
constexpr unsigned kTagEndCollection = 0xC;
constexpr unsigned kTagUsagePage = 0x0;
constexpr unsigned kTagPush = 0xA;
constexpr unsigned kTagPop = 0xB;
constexpr unsigned kTagUsage = 0x0;
constexpr uint8_t kLongItemPrefix = 0xFE;
// Guards the Push stack against descriptors that only push.
constexpr size_t kMaxGlobalStack = 32;

}  // namespace

std::vector<HidUsagePair> ParseTopLevelCollections(const std::vector<uint8_t>& d) {
  std::vector<HidUsagePair> found;
  std::vector<uint32_t> pageStack;
  uint32_t usagePage = 0;
  bool haveUsage = false;
  uint32_t firstUsage = 0;
  int depth = 0;
  size_t i = 0;
  while (i < d.size()) {
    const uint8_t prefix = d[i];
    if (prefix == kLongItemPrefix) {
      // Long item: prefix, data size, long tag, data.
      if (i + 1 >= d.size()) break;
      const size_t len = d[i + 1];
      if (i + 3 + len > d.size()) break;
      i += 3 + len;
      continue;
    }
    size_t size = prefix & 0x3u;
    if (size == 3) size = 4;
    if (i + 1 + size > d.size()) break;
    uint32_t value = 0;
    for (size_t b = 0; b < size; ++b) value |= static_cast<uint32_t>(d[i + 1 + b]) << (8 * b);
    const unsigned type = (prefix >> 2) & 0x3u;
    const unsigned tag = prefix >> 4;
    i += 1 + size;

    if (type == kTypeGlobal) {
      if (tag == kTagUsagePage) {
        usagePage = value;
      } else if (tag == kTagPush) {
        if (pageStack.size() >= kMaxGlobalStack) break;
        pageStack.push_back(usagePage);
      } else if (tag == kTagPop) {
        if (pageStack.empty()) break;
        usagePage = pageStack.back();
        pageStack.pop_back();
      }
    } else if (type == kTypeLocal) {
      if (tag == kTagUsage && !haveUsage) {
        haveUsage = true;
        // A 4-byte usage carries its own page in the high half.
        firstUsage = size == 4 ? value : ((usagePage & 0xFFFFu) << 16) | (value & 0xFFFFu);
      }
    } else if (type == kTypeMain) {
      if (tag == kTagCollection) {
        if (depth == 0) {
          const uint32_t full = haveUsage ? firstUsage : (usagePage & 0xFFFFu) << 16;
          found.push_back({static_cast<uint16_t>(full >> 16), static_cast<uint16_t>(full & 0xFFFFu)});
        }
        ++depth;
      } else if (tag == kTagEndCollection) {
        if (depth == 0) break;
        --depth;
      }
      // Local items apply to the next main item only.
      haveUsage = false;
      firstUsage = 0;
    }
  }
  return found;
}

}  // namespace platform
