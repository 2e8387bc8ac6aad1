// Timing and summaries for the benchmarks.
#pragma once

#include <vector>

// Microseconds from a steady high-resolution clock.
double BenchNowMicros();

struct BenchSummary {
  double mMedian;
  double mP99;
  double mMean;
};

// Summarises samples (microseconds); the samples are sorted in place.
BenchSummary Summarize(std::vector<double>* ioSamples);
