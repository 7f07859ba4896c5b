// What the key-table uploads read: the key assignments of one key profile and
// Fn layer, and the macros they use. The profile database fills it; the
// device link knows nothing of how the rows are stored.
#pragma once

#include <optional>
#include <vector>

// One key assignment, as far as the keyboard is concerned.
struct UploadKeyRecord {
  int keyCode = 0;     // physical key
  int macroType = 0;   // 0 default, 3 macro, 7 shortcut, others remapped
  int macroValue = 0;  // macro id, shortcut number or the value sent
};

// One recorded macro step.
struct UploadMacroStep {
  int kind = 0;        // 2 key pressed, 3 key released; others are not sent
  int virtualKey = 0;  // Windows virtual-key code or the program's own key code
  int delayMs = 0;     // pause after the step
};

// Called from the worker thread during an upload.
class KeyTableSource {
 public:
  virtual ~KeyTableSource() = default;
  // Assignments of the profile and layer, in database order.
  virtual std::vector<UploadKeyRecord> KeyAssignments(int keyProfile, int fnLayer) = 0;
  // play_times of the macro; nullopt when there is no such macro.
  virtual std::optional<int> MacroPlayTimes(int macroId) = 0;
  // The macro's steps in record_index order (empty for an unknown macro).
  virtual std::vector<UploadMacroStep> MacroSteps(int macroId) = 0;
};
