// Answers the message boxes this process shows, from a thread of its own, as
// a person at the screen would: it notes each box's text and clicks a button.
// Needs a display (the tests run under Xvfb).
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class MessageBoxAnswerer {
 public:
  // inAnswers: the button (IDYES, IDNO...) to click in each box, in order.
  // Later boxes get No, else OK, so an unexpected box fails a test rather
  // than hanging it.
  explicit MessageBoxAnswerer(std::vector<int> inAnswers = {});
  ~MessageBoxAnswerer();

  // The texts of the boxes answered so far.
  std::vector<std::string> Texts() const;

 private:
  void Run();

  std::vector<int> mAnswers;
  std::vector<std::string> mTexts;
  mutable std::mutex mLock;
  std::atomic<bool> mStop;
  std::thread mThread;
};
