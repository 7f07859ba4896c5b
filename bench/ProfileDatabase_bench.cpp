// Cost of the profile database's writes in WAL mode with synchronous NORMAL:
// one slot of per-key lighting (one batch), one key assignment (delete and
// insert in one transaction) and one macro with its events.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/data/ProfileDatabase.h"
#include "korinui/TextCodec.h"

namespace {

class BenchDatabase {
 public:
  BenchDatabase() {
    std::string pattern = (std::filesystem::temp_directory_path() / "keystrel-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    folder_ = pattern + "/";
    std::filesystem::create_directories(folder_ + "db");
    ok_ = db_.OpenDatabase(korinui::Utf8ToWide(folder_), L"ORVA 100_V4");
  }
  ~BenchDatabase() {
    db_.CloseDatabase();
    std::error_code error;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, error);
  }
  bool ok() const { return ok_; }
  ProfileDatabase& db() { return db_; }

 private:
  std::string folder_;
  ProfileDatabase db_;
  bool ok_ = false;
};

void BM_KeyLightSlot(benchmark::State& state) {
  BenchDatabase bench;
  if (!bench.ok()) return state.SkipWithError("no database");
  std::vector<KeyLightRow> slot;
  for (int key = 0; key < 104; ++key) slot.push_back({0, 1, 128, key + 4, 0xFFFF00});
  for (auto _ : state) {
    bench.db().DeleteKeyLights(128);
    bench.db().AddKeyLights(slot);
  }
}
BENCHMARK(BM_KeyLightSlot)->Unit(benchmark::kMillisecond);

void BM_SaveKeyAssignment(benchmark::State& state) {
  BenchDatabase bench;
  if (!bench.ok()) return state.SkipWithError("no database");
  KeyAssignmentRow row;
  row.profile = 1;
  row.key_code = 4;
  row.macro_type = 2;
  int value = 0;
  for (auto _ : state) {
    row.macro_value = 1 + value++ % 200;
    benchmark::DoNotOptimize(bench.db().SaveKeyAssignment(row));
  }
}
BENCHMARK(BM_SaveKeyAssignment)->Unit(benchmark::kMicrosecond);

void BM_MacroWithEvents(benchmark::State& state) {
  BenchDatabase bench;
  if (!bench.ok()) return state.SkipWithError("no database");
  for (auto _ : state) {
    const int id = bench.db().AddMacro(L"Macro");
    std::vector<MacroEventRow> events;
    for (int i = 0; i < 200; ++i) events.push_back({0, id, 2 + i % 2, i, L"A", 65, 10});
    bench.db().AddMacroEvents(events);
  }
}
BENCHMARK(BM_MacroWithEvents)->Unit(benchmark::kMillisecond);

}  // namespace
