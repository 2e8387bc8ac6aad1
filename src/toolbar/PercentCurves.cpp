#include "toolbar/PercentCurves.h"

#include <cmath>

namespace {

// Above 50 percent s = 2q is raised to this power, so that s = 2 gives 12.
const double kResponseExponent = 3.5849625;

double Fraction(long inPct) {
  return double(inPct) / 100.0;
}

}  // namespace

double DurationFromPercent(long inPct) {
  return 1.0 + 80.0 * std::pow(Fraction(inPct) + 0.35, 3.4);
}

double SpawnIntervalFromPercent(long inPct) {
  return 2.0 + 500.0 * std::pow(1.0 - Fraction(inPct), 2.3);
}

double SlideShowFactorFromPercent(long inPct) {
  return std::pow(2.0 * (1.0 - Fraction(inPct)), 4.0) + 0.05;
}

float ResponseScaleFromPercent(long inPct) {
  float scale = float(2.0 * Fraction(inPct));
  if (scale < 1.0f) {
    return scale;
  }
  return float(std::pow(double(scale), kResponseExponent));
}

double FrameRateFromPercent(long inPct) {
  double centered = 2.0 * (Fraction(inPct) - 0.5);
  return 5.0 + 56.0 * (0.5 + 0.5 * std::pow(centered, 3.0));
}
