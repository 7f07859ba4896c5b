#include "platform/DebugCapability.h"

#include "platform/AtomicFile.h"

#include <cstdint>
#include <string_view>

namespace platform {

bool HasDebugCapability() {
  constexpr int kCapSysPtrace = 19;
  const auto status = ReadWholeFile("/proc/self/status", 1 << 16);
  if (!status) return false;
  constexpr std::string_view kKey = "\nCapEff:";
  const auto at = status->find(kKey);
  if (at == std::string::npos) return false;
  std::uint64_t mask = 0;
  bool any = false;
  for (std::size_t i = at + kKey.size(); i < status->size(); ++i) {
    const char c = (*status)[i];
    if (c == ' ' || c == '\t') continue;
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else break;
    mask = (mask << 4) | static_cast<std::uint64_t>(digit);
    any = true;
  }
  return any && ((mask >> kCapSysPtrace) & 1u) != 0;
}

}  // namespace platform
