// Listens to one keyboard model's vendor input collection (usage page 0xFFFF,
// usage 1) and hands the action id of every input report with id 5 to the
// main window.
//
// States: idle (no handle) -> RestartReader finds and opens the collection ->
// running (reader thread in its loop) -> RestartReader or Stop clears running,
// joins the thread, closes the handle -> idle again. RestartReader and Stop
// belong to one thread (the user-interface thread); they return only after the
// reader thread has ended, within about 100 ms, so no thread is left behind.
#pragma once

#include <atomic>
#include <memory>
#include <thread>

#include "platform/HidAccess.h"

// Receives decoded input reports. Called on the reader's thread: an
// implementation posts the call on to the user-interface thread.
class KeyEventSink {
 public:
  virtual ~KeyEventSink() = default;
  // deviceType: the model's type (wParam); actionId: report byte 2 (lParam).
  virtual void PostKeyEventInput(int deviceType, int actionId) = 0;
};

// Decodes a KeyEventInput report: true with byte 2 when byte 0 is id 5
// (missing bytes read as 0).
bool DecodeKeyEventInput(const uint8_t* report, int length, int& actionId);

class InputReader {
 public:
  static constexpr uint16_t kInputUsagePage = 0xFFFF;
  static constexpr uint16_t kInputUsage = 1;
  static constexpr size_t kReportBytes = 4;
  // Longest wait for one report, the pause after each read, and how often a
  // waiting read looks whether it should stop.
  static constexpr int kReadWaitMs = 3000;
  static constexpr int kPauseMs = 10;
  static constexpr int kStopCheckMs = 100;

  InputReader(std::shared_ptr<platform::HidAccess> access, KeyEventSink& sink, int vendorId, int productId,
              int deviceType);
  ~InputReader();  // Stop
  InputReader(const InputReader&) = delete;
  InputReader& operator=(const InputReader&) = delete;

  // Stops a running reader, then looks for the model's input collection
  // (matched by the ids in its interface name) and, when it opens, starts
  // the reader thread on it. Without one the reader stays idle.
  void RestartReader();
  // Stops the reader thread and closes the handle.
  void Stop();
  // True while a reader thread runs on an open handle.
  bool IsRunning() const { return running_; }
  int VendorId() const { return vid_; }
  int ProductId() const { return pid_; }
  int DeviceType() const { return type_; }

 private:
  void Run();
  // One read of at most kReadWaitMs, in slices so that a stop is seen soon.
  int ReadReport(uint8_t* buffer);
  void StopThread();

  const std::shared_ptr<platform::HidAccess> access_;
  KeyEventSink& sink_;
  const int vid_;
  const int pid_;
  const int type_;
  std::atomic<bool> running_{false};
  std::atomic<bool> starting_{false};
  std::unique_ptr<platform::HidDevice> input_;  // used by the reader thread while it runs
  std::thread thread_;
};
