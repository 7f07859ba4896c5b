#include "app/device/CommandFrames.h"

#include <algorithm>
#include <initializer_list>

namespace {

constexpr uint8_t kFeatureId = 0x07;
constexpr int kSecondFamilyType = 200;

CommandReport Frame(std::initializer_list<uint8_t> head) {
  CommandReport r{};
  std::copy(head.begin(), head.end(), r.begin());
  return r;
}

uint8_t Byte(int v) { return static_cast<uint8_t>(v & 0xFF); }

// Second family: every output report starts with this magic.
CommandReport SecondFamilyFrame(std::initializer_list<uint8_t> rest) {
  CommandReport r = Frame({0xBB, 0xAA, 0x99, 0x88});
  std::copy(rest.begin(), rest.end(), r.begin() + 4);
  return r;
}

// Writes one block at `at` (64 bytes): 00 00, key, repeat, events.
void PutBlock(uint8_t* at, int keyCode, int repeat, const std::vector<MacroWireEvent>& events) {
  at[2] = Byte(keyCode);
  at[3] = Byte(std::clamp(repeat, 1, 255));
  for (size_t e = 0; e < events.size() && e < kMacroEventsPerBlock; ++e) {
    at[4 + 2 * e] = events[e].usage;
    at[5 + 2 * e] = events[e].delay;
  }
}

}  // namespace

DeviceFamily FamilyOfType(int deviceType) {
  return deviceType < kSecondFamilyType ? DeviceFamily::First : DeviceFamily::Second;
}

CommandReport SetLightModeFrame(DeviceFamily family, int mode, int brightness, int speed, std::optional<int> slot) {
  if (family == DeviceFamily::Second) return SecondFamilyFrame({0xAA, Byte(mode - 1), Byte(brightness), Byte(speed)});
  return Frame({kFeatureId, 0xFF, 0xFF, Byte(mode - 1), Byte(brightness), Byte(speed), 0x00,
                Byte(slot.value_or(0))});
}

CommandReport UserLightBeginFrame(int slot) {
  return Frame({kFeatureId, 0x12, 0x34, 0x56, 0x78, 0x00, 0x00, Byte(slot)});
}

CommandReport UserLightKeyFrame(int keyCode, bool lit) {
  return Frame({kFeatureId, 0x12, 0x34, 0x56, 0x78, Byte(keyCode), static_cast<uint8_t>(lit ? 1 : 0)});
}

CommandReport UserLightEndFrame(int slot) {
  return Frame({kFeatureId, 0x12, 0x34, 0x56, 0x78, 0xFE, 0x00, Byte(slot)});
}

CommandReport MusicLevelFrame(int musicMode, int level) {
  return Frame({kFeatureId, 0x23, 0x45, 0x67, 0x89, Byte(musicMode), Byte(std::clamp(level, 0, 255))});
}

CommandReport MacroBeginFrame() { return Frame({kFeatureId, 0x01, 0x23, 0x45, 0x67}); }
CommandReport MacroEndFrame() { return Frame({kFeatureId, 0xAB, 0xCD, 0xEF, 0x00}); }
CommandReport KeyMapBeginFrame() { return Frame({kFeatureId, 0x76, 0x54, 0x32, 0x10}); }
CommandReport KeyMapEndFrame() { return Frame({kFeatureId, 0xFE, 0xDC, 0xBA, 0x00}); }
CommandReport FirstFamilyResetFrame() { return Frame({kFeatureId, 0xF0, 0xAA, 0x00, 0x00, 0x00}); }

CommandReport SecondFamilyResetFrame(bool request) {
  const uint8_t v = request ? 0xAA : 0x00;
  return SecondFamilyFrame({v, v, v, v, v, v});
}

CommandReport PackSubFrames(uint8_t marker, const uint8_t* payload, size_t payloadSize, size_t reportIndex) {
  CommandReport r{};
  for (size_t g = 0; g < 8; ++g) {
    r[8 * g] = kFeatureId;
    r[8 * g + 1] = marker;
    for (size_t b = 0; b < 6; ++b) {
      const size_t from = kPayloadPerReport * reportIndex + 6 * g + b;
      r[8 * g + 2 + b] = from < payloadSize ? payload[from] : 0;
    }
  }
  return r;
}

std::vector<MacroWireEvent> MacroEvents(const std::vector<UploadMacroStep>& steps) {
  std::vector<MacroWireEvent> all;
  for (const UploadMacroStep& s : steps) {
    if (s.kind != 2 && s.kind != 3) continue;
    all.push_back({VirtualKeyToUsage(s.virtualKey), EncodeDelay(s.kind == 3, s.delayMs)});
  }
  if (all.size() <= kMacroEventsPerBlock) return all;

  // Too long: keep a prefix that leaves room to release what it holds.
  std::vector<MacroWireEvent> kept;
  std::vector<uint8_t> held;  // pressed usages in press order
  for (const MacroWireEvent& e : all) {
    const bool released = (e.delay & 0x80) != 0;
    std::vector<uint8_t> after = held;
    if (!released && e.usage != 0) {
      after.push_back(e.usage);
    } else if (released) {
      const auto it = std::find(after.begin(), after.end(), e.usage);
      if (it != after.end()) after.erase(it);
    }
    if (kept.size() + 1 + after.size() > kMacroEventsPerBlock) break;
    kept.push_back(e);
    held = std::move(after);
  }
  for (auto it = held.rbegin(); it != held.rend(); ++it) kept.push_back({*it, EncodeDelay(true, 10)});
  return kept;
}

std::array<uint8_t, kMacroPayloadSize> BuildMacroPayload(const std::vector<UploadKeyRecord>& records,
                                                         KeyTableSource& source) {
  std::array<uint8_t, kMacroPayloadSize> payload{};
  size_t blocks = 0;
  // Macro blocks always precede shortcut blocks, whatever the key order.
  for (const UploadKeyRecord& r : records) {
    if (r.macroType != kAssignMacro || blocks == kMacroBlocks) continue;
    const std::optional<int> times = source.MacroPlayTimes(r.macroValue);
    const std::vector<MacroWireEvent> events = times ? MacroEvents(source.MacroSteps(r.macroValue))
                                                     : std::vector<MacroWireEvent>{};
    PutBlock(payload.data() + kMacroBlockSize * blocks++, r.keyCode, times.value_or(1), events);
  }
  for (const UploadKeyRecord& r : records) {
    if (r.macroType != kAssignShortcut || blocks == kMacroBlocks) continue;
    PutBlock(payload.data() + kMacroBlockSize * blocks++, r.keyCode, 1, ShortcutSequence(r.macroValue));
  }
  return payload;
}

std::array<uint8_t, kKeyMapPayloadSize> BuildKeyMapPayload(const std::vector<UploadKeyRecord>& records) {
  std::array<uint8_t, kKeyMapPayloadSize> payload{};
  size_t pairs = 0;
  for (const UploadKeyRecord& r : records) {
    if (r.macroType == kAssignDefault || r.macroType == kAssignMacro || r.macroType == kAssignShortcut) continue;
    if (pairs == kKeyMapPairs) break;
    payload[pairs] = Byte(r.keyCode);
    payload[kKeyMapPairs + pairs] = Byte(r.macroValue);
    ++pairs;
  }
  return payload;
}
