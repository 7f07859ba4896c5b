// Periodic timers that tick on a thread of their own (the animation timer). Each
// timer id has one thread; OnMTimer runs on it. Ids are process-wide (GetTarnTimer).
#pragma once

#include <korinui/Types.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class RKTimer {
 public:
  RKTimer() = default;
  virtual ~RKTimer();  // derived classes must call KillTimer() in their destructors
  RKTimer(const RKTimer&) = delete;
  RKTimer& operator=(const RKTimer&) = delete;

  virtual void OnMTimer(UINT id, CString name) {}
  virtual void OnMTimer(UINT id) = 0;

  // Starts a periodic timer of `ms`; returns its id, 0 on failure. `appTimer` marks
  // timers whose name is passed to OnMTimer(id, name) as well.
  UINT SetTimer(UINT ms, CString name, int appTimer = 0);
  // Stops one timer and waits for its thread; returns the number left.
  int KillTimer(UINT id);
  int KillTimer(const CString& name);
  void KillTimer();  // all
  CString GetTimerName(UINT id);
  BOOL IsAppTimer(UINT id);
  BOOL GetTimerIsRun(UINT id);
  BOOL GetTimerIsRun(const CString& name);
  static RKTimer* GetTarnTimer(UINT id);

  static inline UINT m_uAccuracy = 1;

 private:
  struct Entry;
  static void TimerCallProc(Entry* entry);
  std::mutex lock_;
  std::vector<std::shared_ptr<Entry>> timers_;
};
