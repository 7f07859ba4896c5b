#include "app/device/SimulationLog.h"

SimulationLog::SimulationLog(const std::string& path) {
  if (!path.empty()) file_ = std::fopen(path.c_str(), "a");
}

SimulationLog::~SimulationLog() {
  if (file_) std::fclose(file_);
}

std::string SimulationLog::FormatLine(long long ms, const char* kind, const std::vector<uint8_t>& bytes) {
  std::string line = std::to_string(ms) + " " + kind;
  static const char kHex[] = "0123456789ABCDEF";
  for (uint8_t b : bytes) {
    line.push_back(' ');
    line.push_back(kHex[b >> 4]);
    line.push_back(kHex[b & 0xF]);
  }
  return line;
}

void SimulationLog::Append(std::chrono::steady_clock::time_point at, const char* kind,
                           const std::vector<uint8_t>& bytes) {
  std::lock_guard lock(mutex_);
  if (!file_) return;
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(at - start_).count();
  const std::string line = FormatLine(static_cast<long long>(ms), kind, bytes) + "\n";
  // A full disk only loses log lines; the keyboard keeps working.
  if (std::fputs(line.c_str(), file_) >= 0) std::fflush(file_);
}
