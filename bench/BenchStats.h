// Timing and summaries for the benchmarks.
#pragma once

#include <vector>

// Microseconds from a steady high-resolution clock.
double BenchNowMicros();

struct BenchSummary {
  double mMin;
  double mMedian;
  double mP99;
  double mMax;
  double mMean;
};

// Summarises samples (microseconds); the samples are sorted in place.
BenchSummary Summarize(std::vector<double>* ioSamples);

// One row of the summary table that make bench prints after all the
// benchmarks: what was measured, the result as a ratio (or a figure) against
// its yardstick, the target (null: none), and whether the target was met.
void PrintSummaryRow(const char* inWhat, const char* inResult, const char* inTarget, bool inMet);
