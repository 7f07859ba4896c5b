// Byte layout of every keyboard command. Each builder returns the complete
// 64-byte report, zero except for the bytes it sets; nothing here sends.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/device/KeyCodes.h"
#include "app/device/KeyTableSource.h"

using CommandReport = std::array<uint8_t, 64>;

// Type below 200: feature reports with id 7. 200 and above: output reports
// starting BB AA 99 88.
enum class DeviceFamily { First, Second };
DeviceFamily FamilyOfType(int deviceType);

// Capacity of the keyboard's tables.
inline constexpr size_t kMacroBlockSize = 64;
inline constexpr size_t kMacroBlocks = 12;
inline constexpr size_t kMacroEventsPerBlock = 30;
inline constexpr size_t kMacroPayloadSize = kMacroBlockSize * kMacroBlocks;  // 768
inline constexpr size_t kKeyMapPairs = 12;
inline constexpr size_t kKeyMapPayloadSize = 48;
inline constexpr size_t kPayloadPerReport = 48;  // 8 sub-frames of 2 marker + 6 data bytes
inline constexpr size_t kMacroDataReports = kMacroPayloadSize / kPayloadPerReport;  // 16

// Assignment types with a special place on the wire.
inline constexpr int kAssignDefault = 0;
inline constexpr int kAssignMacro = 3;
inline constexpr int kAssignShortcut = 7;

// Mode on the wire is the stored mode - 1. The first family carries the
// user-light slot (or 0 for none) in byte 8.
CommandReport SetLightModeFrame(DeviceFamily family, int mode, int brightness, int speed,
                                std::optional<int> slot);
CommandReport UserLightBeginFrame(int slot);
CommandReport UserLightKeyFrame(int keyCode, bool lit);
CommandReport UserLightEndFrame(int slot);
// Level above 255 is sent as 255 (below 0 as 0).
CommandReport MusicLevelFrame(int musicMode, int level);
CommandReport MacroBeginFrame();
CommandReport MacroEndFrame();
CommandReport KeyMapBeginFrame();
CommandReport KeyMapEndFrame();
CommandReport FirstFamilyResetFrame();
// Second family: the request (six AA) and the frame that follows it (six 00).
CommandReport SecondFamilyResetFrame(bool request);

// Report `reportIndex` of a long transfer: 8 sub-frames, each the marker
// (07 88 macro data, 07 99 key-map data) and 6 payload bytes from
// payload[48 * reportIndex + 6 * g]. Bytes past the payload's end are zero.
CommandReport PackSubFrames(uint8_t marker, const uint8_t* payload, size_t payloadSize, size_t reportIndex);
inline constexpr uint8_t kMacroMarker = 0x88;
inline constexpr uint8_t kKeyMapMarker = 0x99;

// Macro blocks (type 3 first, then type 7, each in record order) back to back.
// A layer with more than 12 such keys sends the first 12; a macro with more
// than 30 events is cut to fit, releasing at its end every key the kept part
// left pressed, so a cut macro never leaves a key held down.
std::array<uint8_t, kMacroPayloadSize> BuildMacroPayload(const std::vector<UploadKeyRecord>& records,
                                                         KeyTableSource& source);
// Wire events of one macro, at most 30.
std::vector<MacroWireEvent> MacroEvents(const std::vector<UploadMacroStep>& steps);
// Key codes in bytes 0-11, values in 12-23 for records of other types, in
// order; past 12 pairs the rest is not sent.
std::array<uint8_t, kKeyMapPayloadSize> BuildKeyMapPayload(const std::vector<UploadKeyRecord>& records);
