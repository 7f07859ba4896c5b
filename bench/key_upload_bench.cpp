// A full key-table upload (task 6) on the simulated keyboard. Its floor is the
// protocol's own pacing: 21 reports 32 ms apart plus the 50 ms pause, 722 ms.
#include <benchmark/benchmark.h>

#include "app/device/KeyboardProtocol.h"
#include "app/device/SimulatedHidBus.h"

namespace {

class BenchTable : public KeyTableSource {
 public:
  std::vector<UploadKeyRecord> KeyAssignments(int, int) override {
    std::vector<UploadKeyRecord> r;
    for (int k = 0; k < 6; ++k) r.push_back({0x10 + k, 3, k + 1});
    for (int k = 0; k < 6; ++k) r.push_back({0x20 + k, 7, k + 1});
    for (int k = 0; k < 12; ++k) r.push_back({0x30 + k, 2, 0x04 + k});
    return r;
  }
  std::optional<int> MacroPlayTimes(int) override { return 3; }
  std::vector<UploadMacroStep> MacroSteps(int) override {
    std::vector<UploadMacroStep> s;
    for (int i = 0; i < 15; ++i) {
      s.push_back({2, 65 + i, 50});
      s.push_back({3, 65 + i, 50});
    }
    return s;
  }
};

void BM_KeyTableUpload(benchmark::State& state) {
  auto bus = std::make_shared<SimulatedHidBus>();
  auto kb = bus->Attach({0x24AE, 0x4076, DeviceFamily::First});
  DeviceManager manager(bus);
  manager.AddFilter(0x24AE, 0x4076, L"", L"VID_24AE&PID_4076");
  manager.OpenAll();
  manager.SetOpened(true);
  BenchTable table;
  KeyboardProtocol protocol(manager, 0);
  for (auto _ : state) {
    protocol.UploadKeyAssignments(table, 1, 0);
    kb->ClearReports();
  }
  state.counters["floor_ms"] = 21 * DeviceManager::kPacingMs + KeyboardProtocol::kBetweenTablesMs;
}

}  // namespace

BENCHMARK(BM_KeyTableUpload)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
