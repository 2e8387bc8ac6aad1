// Curves that turn a slider percentage (normally 0 to 100) into the number an
// engine preference expects. The shapes give fine control near the default of
// 50 percent and a wide range towards the ends.
#pragma once

// Mean seconds a particle or image/video runs: 1 + 80 (q + 0.35)^3.4.
double DurationFromPercent(long inPct);

// Mean seconds between particles or images/videos: 2 + 500 (1 - q)^2.3.
double SpawnIntervalFromPercent(long inPct);

// Factor on the slide-show interval of wave shapes, color maps and flow
// fields: (2 (1 - q))^4 + 0.05.
double SlideShowFactorFromPercent(long inPct);

// Audio response scale: linear up to 1 at 50 percent, then a power curve
// reaching 12 at 100 percent. Computed in single precision.
float ResponseScaleFromPercent(long inPct);

// Desired frame rate: an odd cube around 33 fps at 50 percent, from 5 to 61.
double FrameRateFromPercent(long inPct);
