#include "app/device/SimulatedKeyboard.h"

#include <algorithm>
#include <cstdio>

#include "app/device/SimulationLog.h"
#include "platform/HidInterfaceName.h"

namespace {

// Input reports a handle keeps before dropping the oldest, as hidraw does.
constexpr size_t kInputQueueLimit = 64;
constexpr uint8_t kFeatureId = 0x07;
constexpr uint8_t kFirmwareRequest = 0x02;

std::vector<uint8_t> BuildDescriptor(DeviceFamily family) {
  std::vector<uint8_t> d = {
      // Consumer control first, as hidapi would name the node by it.
      0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x15, 0x00, 0x26, 0xFF, 0x03, 0x19, 0x00,
      0x2A, 0xFF, 0x03, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00, 0xC0,
      // Vendor command collection: feature report 7, 63 data bytes.
      0x06, 0x01, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x07, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75,
      0x08, 0x95, 0x3F, 0x09, 0x01, 0xB1, 0x02};
  if (family == DeviceFamily::Second) {
    // 64-byte output report for the second family's commands.
    d.insert(d.end(), {0x95, 0x40, 0x09, 0x02, 0x91, 0x02});
  }
  d.insert(d.end(), {0xC0,
                     // Vendor input collection: input report 5, 3 data bytes.
                     0x06, 0xFF, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x05, 0x15, 0x00, 0x26, 0xFF,
                     0x00, 0x75, 0x08, 0x95, 0x03, 0x09, 0x01, 0x81, 0x02, 0xC0});
  return d;
}

const char* KindName(SimulatedKeyboard::ReportKind kind) {
  switch (kind) {
    case SimulatedKeyboard::ReportKind::Feature: return "feature";
    case SimulatedKeyboard::ReportKind::Output: return "output";
    case SimulatedKeyboard::ReportKind::Get: return "get";
  }
  return "?";
}

}  // namespace

// One open of the node. Dead once the keyboard is unplugged.
class SimulatedKeyboard::Handle final : public platform::HidDevice {
 public:
  Handle(std::shared_ptr<SimulatedKeyboard> kb, unsigned generation, std::shared_ptr<InputQueue> queue)
      : owner_(std::move(kb)), kb_(*owner_), generation_(generation), queue_(std::move(queue)) {}
  ~Handle() override {
    std::lock_guard lock(kb_.mutex_);
    --kb_.openHandles_;
  }

  int SendFeatureReport(const uint8_t* data, size_t length) override {
    std::lock_guard lock(kb_.mutex_);
    const bool ok = kb_.AliveLocked(generation_) && length > 0 && !TakeReject(kb_.rejectSends_);
    kb_.RecordLocked(ReportKind::Feature, {data, data + length}, ok);
    return ok ? static_cast<int>(length) : -1;
  }

  int GetFeatureReport(uint8_t* buffer, size_t length) override {
    std::lock_guard lock(kb_.mutex_);
    const bool ok = kb_.AliveLocked(generation_) && length >= 3 && !TakeReject(kb_.rejectReads_);
    kb_.RecordLocked(ReportKind::Get, {buffer, buffer + length}, ok);
    if (!ok) return -1;
    const bool firmware = buffer[0] == kFeatureId && buffer[1] == kFirmwareRequest;
    std::fill(buffer, buffer + length, uint8_t{0});
    buffer[0] = kFeatureId;
    if (firmware) {
      if (!kb_.replyIds_.empty()) {
        buffer[0] = kb_.replyIds_.front();
        kb_.replyIds_.pop_front();
      }
      buffer[1] = static_cast<uint8_t>(kb_.version_ >> 8);
      buffer[2] = static_cast<uint8_t>(kb_.version_ & 0xFF);
    }
    return static_cast<int>(length);
  }

  int Write(const uint8_t* data, size_t length) override {
    std::lock_guard lock(kb_.mutex_);
    const bool ok = kb_.AliveLocked(generation_) && length > 0 && !TakeReject(kb_.rejectWrites_);
    // Report id 0 means "no id": the keyboard sees only the payload.
    std::vector<uint8_t> bytes = length > 0 && data[0] == 0 ? std::vector<uint8_t>(data + 1, data + length)
                                                            : std::vector<uint8_t>(data, data + length);
    kb_.RecordLocked(ReportKind::Output, std::move(bytes), ok);
    return ok ? static_cast<int>(length) : -1;
  }

  int ReadTimeout(uint8_t* buffer, size_t length, int timeoutMs) override {
    std::unique_lock lock(kb_.mutex_);
    const auto ready = [&] { return !kb_.AliveLocked(generation_) || !queue_->reports.empty(); };
    if (timeoutMs < 0) {
      kb_.changed_.wait(lock, ready);
    } else if (!kb_.changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready)) {
      return 0;
    }
    if (!kb_.AliveLocked(generation_)) return -1;
    const std::vector<uint8_t> report = std::move(queue_->reports.front());
    queue_->reports.pop_front();
    const size_t n = std::min(length, report.size());
    std::copy_n(report.begin(), n, buffer);
    return static_cast<int>(n);
  }

  std::wstring ProductString() override { return kb_.spec_.product; }
  std::wstring ManufacturerString() override { return kb_.spec_.manufacturer; }

 private:
  const std::shared_ptr<SimulatedKeyboard> owner_;  // a handle may outlive the bus
  SimulatedKeyboard& kb_;
  const unsigned generation_;
  const std::shared_ptr<InputQueue> queue_;
};

SimulatedKeyboard::SimulatedKeyboard(const SimulatedKeyboardSpec& spec, std::shared_ptr<SimulationLog> log)
    : spec_(spec), descriptor_(BuildDescriptor(spec.family)), log_(std::move(log)), version_(spec.firmwareVersion) {}

bool SimulatedKeyboard::IsPlugged() const {
  std::lock_guard lock(mutex_);
  return plugged_;
}

std::string SimulatedKeyboard::Path() const {
  std::lock_guard lock(mutex_);
  return "/sim/hidraw" + std::to_string(node_);
}

std::string SimulatedKeyboard::Devpath() const {
  std::lock_guard lock(mutex_);
  char buf[96];
  std::snprintf(buf, sizeof buf, "/devices/virtual/misc/uhid/0003:%04X:%04X.%04X/hidraw/hidraw%d", spec_.vendorId,
                spec_.productId, static_cast<unsigned>(instance_ & 0xFFFF), node_);
  return buf;
}

std::wstring SimulatedKeyboard::InterfaceName() const { return platform::InterfaceNameFromDevpath(Devpath()); }

void SimulatedKeyboard::SetFirmwareVersion(uint16_t version) {
  std::lock_guard lock(mutex_);
  version_ = version;
}

void SimulatedKeyboard::QueueFirmwareReplyId(uint8_t reportId) {
  std::lock_guard lock(mutex_);
  replyIds_.push_back(reportId);
}

void SimulatedKeyboard::RejectFeatureSends(int count, int after) {
  std::lock_guard lock(mutex_);
  rejectSends_ = {after, count};
}

void SimulatedKeyboard::RejectOutputWrites(int count, int after) {
  std::lock_guard lock(mutex_);
  rejectWrites_ = {after, count};
}

void SimulatedKeyboard::RejectFeatureReads(int count, int after) {
  std::lock_guard lock(mutex_);
  rejectReads_ = {after, count};
}

bool SimulatedKeyboard::SendInputReport(uint8_t actionId) { return SendInput({0x05, 0x00, actionId, 0x00}); }

bool SimulatedKeyboard::SendInput(const std::vector<uint8_t>& report) {
  std::lock_guard lock(mutex_);
  if (!plugged_) return false;
  for (auto it = queues_.begin(); it != queues_.end();) {
    if (auto q = it->lock()) {
      if (q->reports.size() == kInputQueueLimit) q->reports.pop_front();
      q->reports.push_back(report);
      ++it;
    } else {
      it = queues_.erase(it);
    }
  }
  changed_.notify_all();
  return true;
}

std::vector<SimulatedKeyboard::Report> SimulatedKeyboard::Reports() const {
  std::lock_guard lock(mutex_);
  return reports_;
}

void SimulatedKeyboard::ClearReports() {
  std::lock_guard lock(mutex_);
  reports_.clear();
}

bool SimulatedKeyboard::WaitForReports(size_t count, int timeoutMs) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return reports_.size() >= count; });
}

int SimulatedKeyboard::OpenHandleCount() const {
  std::lock_guard lock(mutex_);
  return openHandles_;
}

bool SimulatedKeyboard::PlugAs(int node, int instance) {
  std::lock_guard lock(mutex_);
  if (plugged_) return false;
  plugged_ = true;
  node_ = node;
  instance_ = instance;
  return true;
}

bool SimulatedKeyboard::Unplug() {
  std::lock_guard lock(mutex_);
  if (!plugged_) return false;
  plugged_ = false;
  ++generation_;
  changed_.notify_all();
  return true;
}

std::unique_ptr<platform::HidDevice> SimulatedKeyboard::OpenHandle() {
  std::lock_guard lock(mutex_);
  if (!plugged_) return nullptr;
  auto queue = std::make_shared<InputQueue>();
  queues_.push_back(queue);
  ++openHandles_;
  return std::make_unique<Handle>(shared_from_this(), generation_, std::move(queue));
}

bool SimulatedKeyboard::TakeReject(RejectRule& rule) {
  if (rule.after > 0) {
    --rule.after;
    return false;
  }
  if (rule.count == kAlways) return true;
  if (rule.count <= 0) return false;
  --rule.count;
  return true;
}

void SimulatedKeyboard::RecordLocked(ReportKind kind, std::vector<uint8_t> bytes, bool accepted) {
  Report r{kind, std::chrono::steady_clock::now(), std::move(bytes), accepted};
  if (log_) log_->Append(r.at, KindName(kind), r.bytes);
  reports_.push_back(std::move(r));
  changed_.notify_all();
}
