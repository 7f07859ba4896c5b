// The simulated keyboards' report log: one line per report received,
//   <ms since start> <feature|output|get> <bytes in hexadecimal>
// appended to a file (KEYSTREL_SIM_LOG when the bus is built from the
// environment). Safe to use from any thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

class SimulationLog {
 public:
  // An empty path logs nothing. A file that cannot be opened logs nothing.
  explicit SimulationLog(const std::string& path);
  ~SimulationLog();
  SimulationLog(const SimulationLog&) = delete;
  SimulationLog& operator=(const SimulationLog&) = delete;

  std::chrono::steady_clock::time_point Start() const { return start_; }
  void Append(std::chrono::steady_clock::time_point at, const char* kind, const std::vector<uint8_t>& bytes);

  // The line Append writes, without the newline.
  static std::string FormatLine(long long ms, const char* kind, const std::vector<uint8_t>& bytes);

 private:
  const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::mutex mutex_;
  std::FILE* file_ = nullptr;
};
