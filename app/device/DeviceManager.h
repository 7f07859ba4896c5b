// The process-wide list of opened keyboard command interfaces and the four
// transfers through which every keyboard command leaves the program.
//
// Thread use: filters are added once at start; CloseAll/OpenAll run on the
// worker while the user-interface and audio threads may transfer at any time.
// A transfer holds the list lock (shared) and its entry's lock only for the
// HID call itself, never across its pacing sleep, so CloseAll waits at most for
// one HID call and never frees a handle that a transfer is using. Calls on one
// handle are serialised by the entry's lock.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

#include "platform/HidAccess.h"

// Which devices may be opened: a vendor/product pair and a pattern that must
// occur in the (upper-cased) interface name; an empty pattern matches all.
struct DeviceIdFilter {
  int vendorId = 0;
  int productId = 0;
  std::wstring name;         // always registered empty
  std::wstring pathPattern;  // "VID_%04X&PID_%04X"
};

// One opened command interface, as the manager lists it. The open handle
// itself stays inside the manager.
struct DeviceEntry {
  int index = 0;
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  std::string path;            // as the HID layer reports it
  std::wstring interfaceName;  // what the filters matched
  std::wstring manufacturer;
  std::wstring product;
  std::wstring spareText;      // always empty
  int releaseNumber = 0;
};

class DeviceManager {
 public:
  // Report sizes: commands are 64 bytes; output writes get a report id in front.
  static constexpr size_t kReportSize = 64;
  static constexpr uint16_t kCommandUsagePage = 0xFF01;
  static constexpr uint16_t kCommandUsage = 1;
  // Pause before each paced report, and before a retry.
  static constexpr int kPacingMs = 32;

  // The singleton. Created on first call with the hidapi backend, unless
  // UseHidAccess gave another one before; destroyed at process exit (closing
  // everything). Thread-safe.
  static DeviceManager& Instance();
  // Sets the HID layer that Instance() will be built on (for the simulated
  // keyboards). Only effective before the first Instance() call; returns
  // false afterwards.
  static bool UseHidAccess(std::shared_ptr<platform::HidAccess> access);

  // A manager of its own on the given HID layer (tests and tools).
  explicit DeviceManager(std::shared_ptr<platform::HidAccess> access);
  ~DeviceManager();
  DeviceManager(const DeviceManager&) = delete;
  DeviceManager& operator=(const DeviceManager&) = delete;

  void AddFilter(int vendorId, int productId, const std::wstring& name, const std::wstring& pathPattern);

  // Enumerates and opens every command collection (usage page 0xFF01, usage 1)
  // that a filter admits, appending entries; a node is opened once even when
  // it lists the collection twice. Does not empty the list first.
  void OpenAll();
  // If opened: clears opened, closes and frees every entry, empties the list.
  void CloseAll();
  // Transfers are refused while opened is false.
  void SetOpened(bool opened);
  bool IsOpened() const;

  // Position of the first entry with this pair, or -1.
  int IndexOf(int vendorId, int productId) const;
  int Count() const;
  // A copy of entry i's identity (no handle); false when i is out of range.
  bool EntryInfo(int index, DeviceEntry& out) const;

  // Waits 32 ms, then sends the 64 bytes as a feature report (byte 0 = report
  // id). Always returns false: callers never learn the outcome.
  bool SendFeature(const uint8_t* data, int deviceIndex);
  // As SendFeature without the wait; true when the report was sent.
  bool SendFeatureNoWait(const uint8_t* data, int deviceIndex);
  // Writes report id 0 + the 64 bytes; when that fails, waits 32 ms and writes
  // once more. True when the last write succeeded.
  bool WriteOutput(const uint8_t* data, int deviceIndex);
  // Requests 07 02 by feature read (32 ms wait first); a reply whose byte 0 is
  // not 7 is requested once more. out = byte 1 * 256 + byte 2 of the last
  // reply, left unchanged when a read fails. Always returns false.
  bool ReadFirmwareVersion(int deviceIndex, int& out);

 private:
  struct OpenedDevice {
    DeviceEntry entry;
    std::mutex callMutex;                         // serialises calls on handle
    std::unique_ptr<platform::HidDevice> handle;  // null once closed
  };

  bool FilterAdmits(const platform::HidCollectionInfo& info) const;  // caller holds listMutex_
  // Runs call(handle) under the entry's lock when the common guard passes;
  // false when it does not.
  template <typename Call>
  bool WithHandle(int deviceIndex, Call&& call);
  bool GuardPasses(int deviceIndex) const;
  bool GetFeature(int deviceIndex, uint8_t* buffer, bool& read);

  std::shared_ptr<platform::HidAccess> access_;
  mutable std::shared_mutex listMutex_;  // guards opened_, devices_, filters_
  bool opened_ = false;
  std::vector<std::shared_ptr<OpenedDevice>> devices_;
  std::vector<DeviceIdFilter> filters_;
};
