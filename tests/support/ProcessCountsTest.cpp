// Each counter sees what it counts come and go: a leak test built on a
// counter that always reads the same could never fail.
#include <gtest/gtest.h>

#include <thread>
#include <utility>

#include "foundation/KSHandle.h"
#include "platform/KSGdiObject.h"
#include "support/ProcessCounts.h"

namespace {

// Holds five events, five brushes, a window and a thread while it looks at
// the counts (also as another process sees them, into *outOutside), then
// gives them all back.
ProcessCounts CountsWhileHolding(ProcessCounts* outOutside = nullptr) {
  KSHandle events[5];
  for (KSHandle& event : events) {
    event.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  }
  KSGdiObj<HBRUSH> brushes[5];
  for (KSGdiObj<HBRUSH>& brush : brushes) {
    brush.Reset(CreateSolidBrush(RGB(1, 2, 3)));
  }
  HWND wind = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                              nullptr);
  KSHandle stop(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::thread waiter([&stop] { WaitForSingleObject(stop.Get(), INFINITE); });
  ProcessCounts during = ProcessCounts::Take();
  if (outOutside != nullptr) {
    *outOutside = ProcessCounts::TakeOf(GetCurrentProcess());
  }
  if (wind != nullptr) {
    DestroyWindow(wind);
  }
  SetEvent(stop.Get());
  waiter.join();
  return during;
}

}  // namespace

TEST(ProcessCountsTest, EveryCounterMovesWithWhatItCounts) {
  // The first window, thread and drawing objects make some objects of the
  // system's own that stay (a cold wine makes some of them only on a second
  // use); warm-up rounds take them out of the count.
  CountsWhileHolding();
  CountsWhileHolding();
  ProcessCounts before = SettleTo(ProcessCounts::Take(), 0, 0);
  ASSERT_GE(before.mKernelHandles, 0);
  ASSERT_GE(before.mGdiObjects, 0);
  ASSERT_GE(before.mThreads, 1);

  ProcessCounts beforeOutside = ProcessCounts::TakeOf(GetCurrentProcess());
  ASSERT_GE(beforeOutside.mGdiObjects, 0);
  ASSERT_GT(PrivateKBOf(GetCurrentProcess()), 0);

  ProcessCounts outside = {};
  ProcessCounts during = CountsWhileHolding(&outside);
  using Pair = std::pair<ProcessCounts, ProcessCounts>;
  for (const auto& [now, then] : {Pair(during, before), Pair(outside, beforeOutside)}) {
    EXPECT_GE(now.mKernelHandles, then.mKernelHandles + 6);
    EXPECT_GE(now.mGdiObjects, then.mGdiObjects + 5);
    EXPECT_GE(now.mUserObjects, then.mUserObjects + 1);
    EXPECT_GE(now.mThreads, then.mThreads + 1);
  }

  // Now and then wine keeps one handle of its own a while longer.
  ProcessCounts after = SettleTo(before, 1, 2000);
  EXPECT_LE(after.mKernelHandles, before.mKernelHandles + 1);
  EXPECT_LE(after.mGdiObjects, before.mGdiObjects);
  EXPECT_LE(after.mUserObjects, before.mUserObjects);
  EXPECT_LE(after.mThreads, before.mThreads);
}
