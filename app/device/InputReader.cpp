#include "app/device/InputReader.h"

#include <algorithm>
#include <array>
#include <chrono>

#include "platform/HidInterfaceName.h"

namespace {
constexpr uint8_t kKeyEventReportId = 0x05;
}

bool DecodeKeyEventInput(const uint8_t* report, int length, int& actionId) {
  if (length < 1 || report[0] != kKeyEventReportId) return false;
  actionId = length > 2 ? report[2] : 0;
  return true;
}

InputReader::InputReader(std::shared_ptr<platform::HidAccess> access, KeyEventSink& sink, int vendorId,
                         int productId, int deviceType)
    : access_(std::move(access)), sink_(sink), vid_(vendorId), pid_(productId), type_(deviceType) {}

InputReader::~InputReader() { Stop(); }

void InputReader::StopThread() {
  running_ = false;
  if (thread_.joinable()) thread_.join();
  input_.reset();
}

void InputReader::Stop() { StopThread(); }

void InputReader::RestartReader() {
  running_ = false;
  if (starting_.exchange(true)) return;
  StopThread();
  if (access_) {
    for (const platform::HidCollectionInfo& info : access_->Enumerate()) {
      uint16_t vid = 0, pid = 0;
      if (!platform::ParseInterfaceIds(info.interfaceName, vid, pid) || vid != vid_ || pid != pid_) continue;
      if (info.usagePage != kInputUsagePage || info.usage != kInputUsage) continue;
      input_ = access_->Open(info.path);
      if (input_) break;
    }
  }
  if (input_) {
    running_ = true;
    thread_ = std::thread([this] { Run(); });
  }
  starting_ = false;
}

int InputReader::ReadReport(uint8_t* buffer) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kReadWaitMs);
  while (running_) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return 0;
    const int n = input_->ReadTimeout(buffer, kReportBytes, static_cast<int>(std::min<long long>(left.count(), kStopCheckMs)));
    if (n != 0) return n;
  }
  return 0;
}

void InputReader::Run() {
  while (running_) {
    std::array<uint8_t, kReportBytes> buffer{};
    const int n = ReadReport(buffer.data());
    int actionId = 0;
    if (n > 0 && DecodeKeyEventInput(buffer.data(), n, actionId)) sink_.PostKeyEventInput(type_, actionId);
    std::this_thread::sleep_for(std::chrono::milliseconds(kPauseMs));
  }
}
