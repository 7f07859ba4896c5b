#include "app/device/DeviceManager.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cwctype>
#include <set>
#include <thread>

#include "platform/HidapiAccess.h"

namespace {

std::mutex g_instanceMutex;
std::shared_ptr<platform::HidAccess> g_pendingAccess;  // guarded by g_instanceMutex
bool g_instanceBuilt = false;                          // guarded by g_instanceMutex

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::wstring Upper(std::wstring s) {
  for (auto& c : s) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return s;
}

}  // namespace

DeviceManager& DeviceManager::Instance() {
  // Built on first use; the static's own initialisation is thread-safe.
  static DeviceManager instance([] {
    std::lock_guard lock(g_instanceMutex);
    g_instanceBuilt = true;
    std::shared_ptr<platform::HidAccess> access = std::move(g_pendingAccess);
    if (!access) access = std::make_shared<platform::HidapiAccess>();
    return access;
  }());
  return instance;
}

bool DeviceManager::UseHidAccess(std::shared_ptr<platform::HidAccess> access) {
  std::lock_guard lock(g_instanceMutex);
  if (g_instanceBuilt) return false;
  g_pendingAccess = std::move(access);
  return true;
}

DeviceManager::DeviceManager(std::shared_ptr<platform::HidAccess> access) : access_(std::move(access)) {}

DeviceManager::~DeviceManager() {
  // At exit everything still open is closed before the HID layer goes.
  CloseAll();
  for (auto& d : devices_) {
    std::lock_guard g(d->callMutex);
    d->handle.reset();
  }
}

void DeviceManager::AddFilter(int vendorId, int productId, const std::wstring& name,
                              const std::wstring& pathPattern) {
  std::unique_lock lock(listMutex_);
  filters_.push_back({vendorId, productId, name, pathPattern});
}

bool DeviceManager::FilterAdmits(const platform::HidCollectionInfo& info) const {
  const auto it = std::find_if(filters_.begin(), filters_.end(), [&](const DeviceIdFilter& f) {
    return f.vendorId == info.vendorId && f.productId == info.productId;
  });
  if (it == filters_.end()) return false;
  // Only the first filter of the pair decides, as in the description files.
  return Upper(info.interfaceName).find(it->pathPattern) != std::wstring::npos;
}

void DeviceManager::OpenAll() {
  if (!access_) return;
  // Enumerating can take a while; the transfers of the other threads go on.
  const std::vector<platform::HidCollectionInfo> all = access_->Enumerate();
  std::vector<const platform::HidCollectionInfo*> wanted;
  {
    std::shared_lock lock(listMutex_);
    std::set<std::string> paths;
    for (const auto& d : devices_) paths.insert(d->entry.path);
    for (const auto& info : all) {
      if (!FilterAdmits(info)) continue;
      if (info.usagePage != kCommandUsagePage || info.usage != kCommandUsage) continue;
      // A node listing the collection twice is still one interface.
      if (!paths.insert(info.path).second) continue;
      wanted.push_back(&info);
    }
  }
  for (const platform::HidCollectionInfo* info : wanted) {
    std::unique_ptr<platform::HidDevice> handle = access_->Open(info->path);
    if (!handle) continue;
    auto dev = std::make_shared<OpenedDevice>();
    dev->entry.vendorId = info->vendorId;
    dev->entry.productId = info->productId;
    dev->entry.path = info->path;
    dev->entry.interfaceName = info->interfaceName;
    dev->entry.product = handle->ProductString();
    dev->entry.manufacturer = handle->ManufacturerString();
    dev->entry.releaseNumber = info->releaseNumber;
    dev->handle = std::move(handle);
    std::unique_lock lock(listMutex_);
    dev->entry.index = static_cast<int>(devices_.size());
    devices_.push_back(std::move(dev));
  }
}

void DeviceManager::CloseAll() {
  std::vector<std::shared_ptr<OpenedDevice>> closing;
  {
    std::unique_lock lock(listMutex_);
    if (!opened_) return;
    opened_ = false;
    closing.swap(devices_);
  }
  // A transfer that picked an entry before the swap finishes its one call
  // first; later ones find the handle gone.
  for (auto& d : closing) {
    std::lock_guard g(d->callMutex);
    d->handle.reset();
  }
}

void DeviceManager::SetOpened(bool opened) {
  std::unique_lock lock(listMutex_);
  opened_ = opened;
}

bool DeviceManager::IsOpened() const {
  std::shared_lock lock(listMutex_);
  return opened_;
}

int DeviceManager::IndexOf(int vendorId, int productId) const {
  std::shared_lock lock(listMutex_);
  for (size_t i = 0; i < devices_.size(); ++i) {
    if (devices_[i]->entry.vendorId == vendorId && devices_[i]->entry.productId == productId) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

int DeviceManager::Count() const {
  std::shared_lock lock(listMutex_);
  return static_cast<int>(devices_.size());
}

bool DeviceManager::EntryInfo(int index, DeviceEntry& out) const {
  std::shared_lock lock(listMutex_);
  if (index < 0 || index >= static_cast<int>(devices_.size())) return false;
  out = devices_[static_cast<size_t>(index)]->entry;
  return true;
}

bool DeviceManager::GuardPasses(int deviceIndex) const {
  std::shared_lock lock(listMutex_);
  return opened_ && deviceIndex >= 0 && deviceIndex < static_cast<int>(devices_.size()) &&
         devices_[static_cast<size_t>(deviceIndex)];
}

template <typename Call>
bool DeviceManager::WithHandle(int deviceIndex, Call&& call) {
  std::shared_ptr<OpenedDevice> dev;
  {
    std::shared_lock lock(listMutex_);
    if (!opened_ || deviceIndex < 0 || deviceIndex >= static_cast<int>(devices_.size())) return false;
    dev = devices_[static_cast<size_t>(deviceIndex)];
  }
  if (!dev) return false;
  std::lock_guard g(dev->callMutex);
  if (!dev->handle) return false;
  return call(*dev->handle);
}

bool DeviceManager::SendFeature(const uint8_t* data, int deviceIndex) {
  if (!GuardPasses(deviceIndex)) return false;
  Pause(kPacingMs);
  std::array<uint8_t, kReportSize + 1> buffer{};
  std::copy_n(data, kReportSize, buffer.begin());
  WithHandle(deviceIndex, [&](platform::HidDevice& h) { return h.SendFeatureReport(buffer.data(), kReportSize) > 0; });
  return false;
}

bool DeviceManager::SendFeatureNoWait(const uint8_t* data, int deviceIndex) {
  std::array<uint8_t, kReportSize + 1> buffer{};
  std::copy_n(data, kReportSize, buffer.begin());
  return WithHandle(deviceIndex,
                    [&](platform::HidDevice& h) { return h.SendFeatureReport(buffer.data(), kReportSize) > 0; });
}

bool DeviceManager::WriteOutput(const uint8_t* data, int deviceIndex) {
  if (!GuardPasses(deviceIndex)) return false;
  std::array<uint8_t, kReportSize + 1> buffer{};
  const auto write = [&] {
    buffer[0] = 0;
    std::copy_n(data, kReportSize, buffer.begin() + 1);
    return WithHandle(deviceIndex, [&](platform::HidDevice& h) { return h.Write(buffer.data(), buffer.size()) > 0; });
  };
  if (write()) return true;
  Pause(kPacingMs);
  return write();
}

bool DeviceManager::GetFeature(int deviceIndex, uint8_t* buffer, bool& read) {
  read = WithHandle(deviceIndex, [&](platform::HidDevice& h) { return h.GetFeatureReport(buffer, kReportSize) > 0; });
  return read;
}

bool DeviceManager::ReadFirmwareVersion(int deviceIndex, int& out) {
  if (!GuardPasses(deviceIndex)) return false;
  std::array<uint8_t, kReportSize> request{};
  request[0] = 0x07;
  request[1] = 0x02;
  std::array<uint8_t, kReportSize> buffer{};
  Pause(kPacingMs);
  buffer = request;
  bool read = false;
  if (!GetFeature(deviceIndex, buffer.data(), read)) return false;
  if (buffer[0] != 0x07) {
    Pause(kPacingMs);
    buffer = request;
    // A failed second read would leave the request itself in the buffer and
    // report version 0x0200; keep out as it was then.
    if (!GetFeature(deviceIndex, buffer.data(), read)) return false;
  }
  out = buffer[1] * 256 + buffer[2];
  return false;
}
