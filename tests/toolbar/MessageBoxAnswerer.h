// Answers the message boxes this process shows, from a thread of its own, the
// way a person at the screen would: it waits for each box, notes its text and
// clicks one of its buttons. Needs a display (the tests run under Xvfb).
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class MessageBoxAnswerer {
 public:
  // inAnswers are the buttons (IDYES, IDNO, IDOK...) to click, one per box in
  // the order the boxes appear. Boxes beyond them get No, else OK, so that a
  // box the test did not expect fails the test instead of hanging it.
  explicit MessageBoxAnswerer(std::vector<int> inAnswers = {});
  ~MessageBoxAnswerer();
  MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
  MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

  // The texts of the boxes answered so far, in order.
  std::vector<std::string> Texts() const;

 private:
  void Run();
  void Answer(HWND inBox);

  std::vector<int> mAnswers;
  size_t mNextAnswer;
  std::vector<std::string> mTexts;
  mutable std::mutex mLock;
  std::atomic<bool> mStop;
  std::thread mThread;
};
