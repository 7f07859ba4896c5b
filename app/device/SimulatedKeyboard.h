// A keyboard of either family that lives in the program: one HID node with
// the vendor command collection (0xFF01/1) and the vendor input collection
// (0xFFFF/1), behind a consumer-control collection as on real hardware. It
// keeps every report it receives with a timestamp, answers the firmware
// request, sends input reports on demand, and can refuse transfers. Plugging
// and unplugging go through its SimulatedHidBus. All calls are thread-safe.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/device/CommandFrames.h"
#include "platform/HidAccess.h"

class SimulationLog;

struct SimulatedKeyboardSpec {
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  DeviceFamily family = DeviceFamily::First;
  uint16_t firmwareVersion = 0x0100;
  std::wstring product = L"Simulated keyboard";
  std::wstring manufacturer = L"Keystrel";
};

class SimulatedKeyboard : public std::enable_shared_from_this<SimulatedKeyboard> {
 public:
  enum class ReportKind { Feature, Output, Get };
  struct Report {
    ReportKind kind;
    std::chrono::steady_clock::time_point at;
    // Feature: all bytes (byte 0 the report id). Output: the payload after
    // report id 0. Get: the request as it came in.
    std::vector<uint8_t> bytes;
    bool accepted;
  };
  // Count for the Reject calls: every transfer until told otherwise.
  static constexpr int kAlways = -1;

  SimulatedKeyboard(const SimulatedKeyboardSpec& spec, std::shared_ptr<SimulationLog> log);
  SimulatedKeyboard(const SimulatedKeyboard&) = delete;
  SimulatedKeyboard& operator=(const SimulatedKeyboard&) = delete;

  const SimulatedKeyboardSpec& Spec() const { return spec_; }
  const std::vector<uint8_t>& ReportDescriptor() const { return descriptor_; }
  bool IsPlugged() const;
  std::string Path() const;            // "/sim/hidrawN"; changes with every plug
  std::wstring InterfaceName() const;  // built like a real node's
  std::string Devpath() const;

  void SetFirmwareVersion(uint16_t version);
  // The next firmware reply carries this report id instead of 7 (one per call).
  void QueueFirmwareReplyId(uint8_t reportId);
  // Let `after` transfers of that kind pass, then refuse `count` of them
  // (kAlways: all from then on; 0: none).
  void RejectFeatureSends(int count, int after = 0);
  void RejectOutputWrites(int count, int after = 0);
  void RejectFeatureReads(int count, int after = 0);

  // Input report 05 00 <actionId> 00 to every open handle. False when unplugged.
  bool SendInputReport(uint8_t actionId);
  bool SendInput(const std::vector<uint8_t>& report);

  std::vector<Report> Reports() const;
  void ClearReports();
  // Waits until at least `count` reports were received; false on timeout.
  bool WaitForReports(size_t count, int timeoutMs) const;
  int OpenHandleCount() const;

 private:
  friend class SimulatedHidBus;
  class Handle;
  struct InputQueue {
    std::deque<std::vector<uint8_t>> reports;
  };

  // Bus side.
  // Each returns false when the keyboard already was in that state.
  bool PlugAs(int node, int instance);
  bool Unplug();
  std::unique_ptr<platform::HidDevice> OpenHandle();

  // Handle side (lock held by the caller where named *Locked).
  bool AliveLocked(unsigned generation) const { return plugged_ && generation == generation_; }
  struct RejectRule {
    int after = 0;
    int count = 0;
  };
  static bool TakeReject(RejectRule& rule);
  void RecordLocked(ReportKind kind, std::vector<uint8_t> bytes, bool accepted);

  const SimulatedKeyboardSpec spec_;
  const std::vector<uint8_t> descriptor_;
  const std::shared_ptr<SimulationLog> log_;

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;  // reports recorded, input queued, unplugged
  bool plugged_ = false;
  unsigned generation_ = 0;  // bumped on unplug: older handles are dead
  int node_ = 0;
  int instance_ = 0;
  uint16_t version_;
  std::deque<uint8_t> replyIds_;
  RejectRule rejectSends_;
  RejectRule rejectWrites_;
  RejectRule rejectReads_;
  std::vector<Report> reports_;
  std::vector<std::weak_ptr<InputQueue>> queues_;
  int openHandles_ = 0;
};
