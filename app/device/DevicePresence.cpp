#include "app/device/DevicePresence.h"

#include <cwchar>
#include <cwctype>
#include <tuple>

namespace {

std::wstring Upper(std::wstring s) {
  for (auto& c : s) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return s;
}

std::wstring Hex4(int v) {
  wchar_t buf[16];
  std::swprintf(buf, 16, L"%04X", static_cast<unsigned>(v & 0xFFFF));
  return buf;
}

}  // namespace

std::wstring ModelIdPattern(int vid, int pid) { return L"VID_" + Hex4(vid) + L"&PID_" + Hex4(pid); }

DevicePresence::DevicePresence(DeviceManager& manager, std::vector<PresenceModel> models, DeviceTaskSink& tasks,
                               DeviceStateSink& selector, std::function<void()> restartReaders)
    : manager_(manager),
      tasks_(tasks),
      selector_(selector),
      restartReaders_(std::move(restartReaders)),
      models_(std::move(models)) {}

void DevicePresence::RegisterFilters(DeviceManager& manager, const std::vector<PresenceModel>& models) {
  for (const PresenceModel& m : models) manager.AddFilter(m.vid, m.pid, L"", m.idPattern);
}

bool DevicePresence::ReopenDevices() {
  manager_.CloseAll();
  manager_.OpenAll();
  manager_.SetOpened(true);
  const int primaryIndex = manager_.IndexOf(kPrimaryVid, kPrimaryPid);
  std::vector<std::tuple<int, int, bool>> shown;
  bool connected = false;
  {
    std::lock_guard lock(mutex_);
    for (PresenceModel& m : models_) {
      m.deviceIndex = manager_.IndexOf(m.vid, m.pid);
      m.present = m.deviceIndex != -1;
      bool displayed = m.present;
      if (m.vid == kSecondaryVid && m.pid == kSecondaryPid) displayed = m.present && primaryIndex == -1;
      shown.emplace_back(m.vid, m.pid, displayed);
    }
    connected_ = connected = manager_.Count() > 0;
  }
  for (const auto& [vid, pid, displayed] : shown) selector_.SetDeviceState(vid, pid, displayed);
  return connected;
}

void DevicePresence::OnDeviceChange(platform::HidPresenceEvent event, const std::wstring& interfaceName) {
  const std::wstring name = Upper(interfaceName);
  int task = 0;
  {
    std::lock_guard lock(mutex_);
    for (PresenceModel& m : models_) {
      if (event == platform::HidPresenceEvent::Arrival) {
        if (name.find(m.idPattern) == std::wstring::npos) continue;
        lastEvent_ = PresenceEventKind::Arrival;
        task = kTaskArrival;
      } else {
        if (!m.present || name.find(Hex4(m.vid)) == std::wstring::npos ||
            name.find(Hex4(m.pid)) == std::wstring::npos) {
          continue;
        }
        m.present = false;
        lastEvent_ = PresenceEventKind::Removal;
        task = kTaskRemoval;
      }
      lastType_ = m.type;
      break;
    }
  }
  if (task == 0) return;
  tasks_.QueueTask(task);
  if (restartReaders_) restartReaders_();
}

bool DevicePresence::Connected() const {
  std::lock_guard lock(mutex_);
  return connected_;
}

PresenceEventKind DevicePresence::LastPresenceEvent() const {
  std::lock_guard lock(mutex_);
  return lastEvent_;
}

int DevicePresence::LastPresenceType() const {
  std::lock_guard lock(mutex_);
  return lastType_;
}

void DevicePresence::ClearLastPresenceEvent() {
  std::lock_guard lock(mutex_);
  lastEvent_ = PresenceEventKind::None;
}

std::vector<PresenceModel> DevicePresence::Models() const {
  std::lock_guard lock(mutex_);
  return models_;
}
