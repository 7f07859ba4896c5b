#include <korinui/RKTimer.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>

struct RKTimer::Entry {
  UINT id = 0;
  CString name;
  int appTimer = 0;
  UINT ms = 10;
  RKTimer* owner = nullptr;
  std::mutex m;
  std::condition_variable cv;
  bool stop = false;
  std::thread thread;
};

namespace {
std::mutex g_registryLock;
std::map<UINT, RKTimer*>& Registry() {
  static auto* r = new std::map<UINT, RKTimer*>();
  return *r;
}
std::atomic<UINT> g_nextId{1};
}  // namespace

RKTimer::~RKTimer() { KillTimer(); }

void RKTimer::TimerCallProc(Entry* e) {
  using clock = std::chrono::steady_clock;
  auto next = clock::now() + std::chrono::milliseconds(e->ms);
  std::unique_lock<std::mutex> lk(e->m);
  while (!e->stop) {
    if (e->cv.wait_until(lk, next, [e] { return e->stop; })) break;
    next += std::chrono::milliseconds(e->ms);
    auto now = clock::now();
    if (next < now) next = now + std::chrono::milliseconds(e->ms);  // never catch up in bursts
    lk.unlock();
    e->owner->OnMTimer(e->id);
    if (e->appTimer) e->owner->OnMTimer(e->id, e->name);
    lk.lock();
  }
}

UINT RKTimer::SetTimer(UINT ms, CString name, int appTimer) {
  auto e = std::make_shared<Entry>();
  e->id = g_nextId++;
  e->name = std::move(name);
  e->appTimer = appTimer;
  e->ms = std::max(ms, m_uAccuracy);
  e->owner = this;
  {
    std::lock_guard<std::mutex> g(g_registryLock);
    Registry()[e->id] = this;
  }
  try {
    e->thread = std::thread(&RKTimer::TimerCallProc, e.get());
  } catch (...) {
    std::lock_guard<std::mutex> g(g_registryLock);
    Registry().erase(e->id);
    return 0;
  }
  std::lock_guard<std::mutex> g(lock_);
  timers_.push_back(e);
  return e->id;
}

int RKTimer::KillTimer(UINT id) {
  std::shared_ptr<Entry> e;
  int left;
  {
    std::lock_guard<std::mutex> g(lock_);
    auto it = std::find_if(timers_.begin(), timers_.end(), [id](auto& t) { return t->id == id; });
    if (it != timers_.end()) {
      e = *it;
      timers_.erase(it);
    }
    left = static_cast<int>(timers_.size());
  }
  if (e) {
    {
      std::lock_guard<std::mutex> lk(e->m);
      e->stop = true;
    }
    e->cv.notify_all();
    if (e->thread.joinable()) e->thread.join();
    std::lock_guard<std::mutex> g(g_registryLock);
    Registry().erase(id);
  }
  return left;
}

int RKTimer::KillTimer(const CString& name) {
  std::vector<UINT> ids;
  {
    std::lock_guard<std::mutex> g(lock_);
    for (auto& t : timers_)
      if (t->name == name) ids.push_back(t->id);
  }
  int left = 0;
  for (UINT id : ids) left = KillTimer(id);
  return left;
}

void RKTimer::KillTimer() {
  std::vector<UINT> ids;
  {
    std::lock_guard<std::mutex> g(lock_);
    for (auto& t : timers_) ids.push_back(t->id);
  }
  for (UINT id : ids) KillTimer(id);
}

CString RKTimer::GetTimerName(UINT id) {
  std::lock_guard<std::mutex> g(lock_);
  for (auto& t : timers_)
    if (t->id == id) return t->name;
  return {};
}
BOOL RKTimer::IsAppTimer(UINT id) {
  std::lock_guard<std::mutex> g(lock_);
  for (auto& t : timers_)
    if (t->id == id) return t->appTimer != 0;
  return 0;
}
BOOL RKTimer::GetTimerIsRun(UINT id) {
  std::lock_guard<std::mutex> g(lock_);
  for (auto& t : timers_)
    if (t->id == id) return 1;
  return 0;
}
BOOL RKTimer::GetTimerIsRun(const CString& name) {
  std::lock_guard<std::mutex> g(lock_);
  for (auto& t : timers_)
    if (t->name == name) return 1;
  return 0;
}
RKTimer* RKTimer::GetTarnTimer(UINT id) {
  std::lock_guard<std::mutex> g(g_registryLock);
  auto it = Registry().find(id);
  return it == Registry().end() ? nullptr : it->second;
}
