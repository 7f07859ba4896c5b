#include "app/device/SimulatedHidBus.h"

#include <cstdlib>

#include "platform/HidReportDescriptor.h"

SimulatedHidBus::SimulatedHidBus(const std::string& logPath) : log_(std::make_shared<SimulationLog>(logPath)) {}

std::shared_ptr<SimulatedHidBus> SimulatedHidBus::FromEnvironment() {
  const char* path = std::getenv("KEYSTREL_SIM_LOG");
  return std::make_shared<SimulatedHidBus>(path ? path : "");
}

std::shared_ptr<SimulatedKeyboard> SimulatedHidBus::Attach(const SimulatedKeyboardSpec& spec) {
  auto kb = std::make_shared<SimulatedKeyboard>(spec, log_);
  {
    std::lock_guard lock(mutex_);
    keyboards_.push_back(kb);
  }
  Plug(*kb);
  return kb;
}

void SimulatedHidBus::Plug(SimulatedKeyboard& keyboard) {
  {
    std::lock_guard lock(mutex_);
    if (!keyboard.PlugAs(nextNode_, nextNode_ + 1)) return;
    ++nextNode_;
  }
  Raise(platform::HidPresenceEvent::Arrival, keyboard.InterfaceName());
}

void SimulatedHidBus::Unplug(SimulatedKeyboard& keyboard) {
  if (!keyboard.Unplug()) return;
  Raise(platform::HidPresenceEvent::Removal, keyboard.InterfaceName());
}

std::vector<platform::HidCollectionInfo> SimulatedHidBus::Enumerate() {
  std::vector<std::shared_ptr<SimulatedKeyboard>> keyboards;
  {
    std::lock_guard lock(mutex_);
    keyboards = keyboards_;
  }
  std::vector<platform::HidCollectionInfo> out;
  for (const auto& kb : keyboards) {
    if (!kb->IsPlugged()) continue;
    platform::HidCollectionInfo base;
    base.path = kb->Path();
    base.interfaceName = kb->InterfaceName();
    base.vendorId = kb->Spec().vendorId;
    base.productId = kb->Spec().productId;
    base.releaseNumber = 0x0100;
    for (const platform::HidUsagePair& c : platform::ParseTopLevelCollections(kb->ReportDescriptor())) {
      platform::HidCollectionInfo info = base;
      info.usagePage = c.usagePage;
      info.usage = c.usage;
      out.push_back(std::move(info));
    }
  }
  return out;
}

std::unique_ptr<platform::HidDevice> SimulatedHidBus::Open(const std::string& path) {
  std::vector<std::shared_ptr<SimulatedKeyboard>> keyboards;
  {
    std::lock_guard lock(mutex_);
    keyboards = keyboards_;
  }
  for (const auto& kb : keyboards) {
    if (kb->IsPlugged() && kb->Path() == path) return kb->OpenHandle();
  }
  return nullptr;
}

bool SimulatedHidBus::Start(platform::HidPresenceCallback callback) {
  std::lock_guard lock(callbackMutex_);
  if (callback_ || !callback) return false;
  callback_ = std::move(callback);
  return true;
}

void SimulatedHidBus::Stop() {
  std::lock_guard lock(callbackMutex_);
  callback_ = nullptr;
}

void SimulatedHidBus::Raise(platform::HidPresenceEvent event, const std::wstring& name) {
  std::lock_guard lock(callbackMutex_);
  if (callback_) callback_(event, name);
}
