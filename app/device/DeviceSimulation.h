// `keystrel --simulate`: one simulated keyboard per configured model, in place
// of the real HID stack, so the program can be tried without hardware.
#pragma once

#include <memory>
#include <vector>

#include "app/device/DevicePresence.h"
#include "app/device/SimulatedHidBus.h"

// Attaches one keyboard per model (family from its type) to bus, in order.
std::vector<std::shared_ptr<SimulatedKeyboard>> AttachSimulatedKeyboards(SimulatedHidBus& bus,
                                                                         const std::vector<PresenceModel>& models);

// Builds the bus (logging to KEYSTREL_SIM_LOG when set), attaches the models'
// keyboards and makes the bus the HID layer of DeviceManager::Instance().
// Call before anything uses the DeviceManager; null when it already has been
// used. The caller keeps the bus: it is also the HID layer for the input
// readers and the presence source in place of the udev monitor.
std::shared_ptr<SimulatedHidBus> StartDeviceSimulation(const std::vector<PresenceModel>& models);
