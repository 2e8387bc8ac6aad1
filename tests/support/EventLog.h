// What a handler or listener heard, recorded from any thread for a test to
// wait on. Every event type has an mMsg member to tell the kinds apart.
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

template <typename Event>
class EventLog {
 public:
  void Add(const Event& inEvent) {
    std::lock_guard<std::mutex> hold(mMutex);
    mEvents.push_back(inEvent);
    mChanged.notify_all();
  }

  std::vector<Event> Events() {
    std::lock_guard<std::mutex> hold(mMutex);
    return mEvents;
  }

  template <typename Msg>
  std::vector<Event> Events(const Msg& inMsg) {
    std::vector<Event> all = Events();
    all.erase(
        std::remove_if(all.begin(), all.end(), [&](const Event& e) { return !(e.mMsg == inMsg); }),
        all.end());
    return all;
  }

  template <typename Msg>
  size_t Count(const Msg& inMsg) {
    return Events(inMsg).size();
  }

  void Clear() {
    std::lock_guard<std::mutex> hold(mMutex);
    mEvents.clear();
  }

  // Waits until inDone holds for the events so far, at most inTimeoutMS.
  // inNudge, when given, runs every 100 ms while waiting (outside the lock:
  // it may add events itself).
  bool WaitUntil(const std::function<bool(const std::vector<Event>&)>& inDone,
                 int inTimeoutMS = 10000, const std::function<void()>& inNudge = nullptr) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(inTimeoutMS);
    std::unique_lock<std::mutex> hold(mMutex);
    while (!inDone(mEvents)) {
      auto now = std::chrono::steady_clock::now();
      if (now >= deadline) {
        return false;
      }
      auto step = inNudge ? std::min(deadline, now + std::chrono::milliseconds(100)) : deadline;
      if (!mChanged.wait_until(hold, step, [&] { return inDone(mEvents); }) && inNudge) {
        hold.unlock();
        inNudge();
        hold.lock();
      }
    }
    return true;
  }

  template <typename Msg>
  bool WaitForCount(const Msg& inMsg, size_t inCount, int inTimeoutMS = 10000,
                    const std::function<void()>& inNudge = nullptr) {
    return WaitUntil(
        [&](const std::vector<Event>& inEvents) {
          return std::count_if(inEvents.begin(), inEvents.end(), [&](const Event& inEvent) {
                   return inEvent.mMsg == inMsg;
                 }) >= std::ptrdiff_t(inCount);
        },
        inTimeoutMS, inNudge);
  }

 private:
  std::mutex mMutex;
  std::condition_variable mChanged;
  std::vector<Event> mEvents;
};

// Polls inDone every inStepMS until it holds, at most inTimeoutMS.
inline bool PollUntil(const std::function<bool()>& inDone, int inTimeoutMS = 10000,
                      int inStepMS = 5) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(inTimeoutMS);
  while (!inDone()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(inStepMS));
  }
  return true;
}
