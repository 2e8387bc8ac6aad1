#include "BenchStats.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <numeric>

double BenchNowMicros() {
  static LARGE_INTEGER sFrequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return double(now.QuadPart) * 1e6 / double(sFrequency.QuadPart);
}

BenchSummary Summarize(std::vector<double>* ioSamples) {
  BenchSummary summary = {0, 0, 0, 0, 0};
  if (ioSamples->empty()) {
    return summary;
  }
  std::sort(ioSamples->begin(), ioSamples->end());
  size_t n = ioSamples->size();
  summary.mMin = ioSamples->front();
  summary.mMax = ioSamples->back();
  summary.mMedian =
      n % 2 == 1 ? (*ioSamples)[n / 2] : ((*ioSamples)[n / 2 - 1] + (*ioSamples)[n / 2]) / 2;
  // The nearest-rank 99th percentile.
  size_t rank = (n * 99 + 99) / 100;
  summary.mP99 = (*ioSamples)[rank - 1];
  summary.mMean = std::accumulate(ioSamples->begin(), ioSamples->end(), 0.0) / double(n);
  return summary;
}

void PrintSummaryRow(const char* inWhat, const char* inResult, const char* inTarget, bool inMet) {
  // scripts/bench.sh collects these lines from every benchmark's output.
  std::printf("summary: | %s | %s | %s | %s |\n", inWhat, inResult,
              inTarget != nullptr ? inTarget : "none",
              inTarget == nullptr ? ""
              : inMet             ? "met"
                                  : "missed");
  std::fflush(stdout);
}
