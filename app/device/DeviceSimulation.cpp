#include "app/device/DeviceSimulation.h"

#include "app/device/DeviceManager.h"

std::vector<std::shared_ptr<SimulatedKeyboard>> AttachSimulatedKeyboards(SimulatedHidBus& bus,
                                                                         const std::vector<PresenceModel>& models) {
  std::vector<std::shared_ptr<SimulatedKeyboard>> out;
  for (const PresenceModel& m : models) {
    SimulatedKeyboardSpec spec;
    spec.vendorId = static_cast<uint16_t>(m.vid);
    spec.productId = static_cast<uint16_t>(m.pid);
    spec.family = FamilyOfType(m.type);
    spec.product = m.name.empty() ? spec.product : m.name + L" (simulated)";
    out.push_back(bus.Attach(spec));
  }
  return out;
}

std::shared_ptr<SimulatedHidBus> StartDeviceSimulation(const std::vector<PresenceModel>& models) {
  auto bus = SimulatedHidBus::FromEnvironment();
  if (!DeviceManager::UseHidAccess(bus)) return nullptr;
  AttachSimulatedKeyboards(*bus, models);
  return bus;
}
